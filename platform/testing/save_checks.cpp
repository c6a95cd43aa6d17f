#include "platform/save_checks.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <fcntl.h>
#include <csignal>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform::testing {

namespace fs = std::filesystem;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void spit(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

namespace {

// Names in the folder that look like a left-behind temporary file.
std::vector<std::string> leftovers(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(".~", 0) == 0 ||
        (name.size() > 5 && name.compare(name.size() - 5, 5, ".~tmp") == 0 &&
         name.find("planted") == std::string::npos))
      names.push_back(name);
  }
  return names;
}

std::string failureText(const std::function<void(const std::string&)>& save,
                        const std::string& path) {
  try {
    save(path);
  } catch (const std::exception& e) {
    return e.what();
  }
  return {};
}

}  // namespace

void ExpectSafeSaves(const std::string& folderName, const std::string& extension,
                     const std::function<void(const std::string& path)>& save) {
  const fs::path folder(folderName);
  const auto at = [&](const std::string& stem) { return (folder / (stem + extension)).string(); };

  // A plain save gives the bytes every later save is compared with.
  save(at("first"));
  const std::string bytes = slurp(at("first"));
  ASSERT_FALSE(bytes.empty());

  {
    SCOPED_TRACE("a user's file and a link at the old temporary name survive");
    const std::string target = at("planted");
    spit(target + ".~tmp", "the user's own file");
    spit(folder / "notes.txt", "notes");
    const std::string linked = at("planted2");
    fs::create_symlink(folder / "notes.txt", linked + ".~tmp");
    save(target);
    save(linked);
    EXPECT_EQ(slurp(target), bytes);
    EXPECT_EQ(slurp(target + ".~tmp"), "the user's own file");
    EXPECT_EQ(slurp(linked), bytes);
    EXPECT_TRUE(fs::is_symlink(linked + ".~tmp"));
    EXPECT_FALSE(fs::is_symlink(linked));
    EXPECT_EQ(slurp(folder / "notes.txt"), "notes");
  }
  {
    SCOPED_TRACE("a save through a link updates the file it names");
    fs::create_directories(folder / "real");
    const fs::path real = folder / "real" / ("lib" + extension);
    spit(real, "old contents");
    ::chmod(real.c_str(), 0640);
    const std::string link = at("link");
    fs::create_symlink(real, link);
    save(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(slurp(real), bytes);
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(leftovers(folder / "real").empty());
  }
  {
    SCOPED_TRACE("a dangling link is an error naming it");
    const std::string link = at("dangling");
    fs::create_symlink(folder / "nowhere" / "gone.bin", link);
    const std::string message = failureText(save, link);
    EXPECT_NE(message.find(link), std::string::npos) << message;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
  }
  {
    SCOPED_TRACE("a read-only target is refused with the message and kept");
    const std::string target = at("readonly");
    spit(target, "old contents");
    ::chmod(target.c_str(), 0444);
    const std::string message = failureText(save, target);
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_NE(message.find(target), std::string::npos) << message;
    EXPECT_EQ(slurp(target), "old contents");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
  }
  {
    SCOPED_TRACE("a name of 255 bytes saves");
    const std::string target = (folder / (std::string(255 - extension.size(), 'n') + extension)).string();
    save(target);
    EXPECT_EQ(slurp(target), bytes);
  }
  {
    SCOPED_TRACE("a failed write keeps the old file");
    const std::string target = at("limited");
    spit(target, "old contents");
    // Files of this process may not grow past a few bytes: the write fails
    // with an error instead of a signal.
    const auto previous = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    struct rlimit small = limit;
    small.rlim_cur = 4;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string message = failureText(save, target);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, previous);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(slurp(target), "old contents");
  }
  EXPECT_EQ(leftovers(folder), std::vector<std::string>{});
}

void ExpectHostileInputsRefused(const std::string& folderName,
                                const std::function<bool(const std::string& path)>& load) {
  const fs::path folder(folderName);
  const fs::path sub = folder / "a-folder";
  fs::create_directories(sub);
  const fs::path fifo = folder / "a-fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const fs::path huge = folder / "huge";
  const fs::path line = folder / "one-line";
  for (const auto& [path, size] : {std::pair{huge, std::int64_t(64) << 30},
                                   std::pair{line, std::int64_t(500) << 20}}) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0) << path;
    ::close(fd);
  }
  for (const fs::path& path : {sub, fs::path("/dev/zero"), fifo, huge, line}) {
    SCOPED_TRACE(path.string());
    bool loaded = true;
    try {
      loaded = load(path.string());
    } catch (const std::exception&) {
      loaded = false;
    }
    EXPECT_FALSE(loaded);
  }
}

}  // namespace platform::testing

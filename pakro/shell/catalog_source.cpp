#include "pakro/shell/catalog_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

#include "platform/text_file.h"

namespace pakro {

namespace {

bool IsSection(std::string_view line) { return !line.empty() && line[0] == '&'; }
bool SecondIs(std::string_view line, char c) { return line.size() >= 2 && line[1] == c; }

struct TypeName {
  const char* code;
  const char* text;
};
constexpr TypeName kTypeNames[] = {
    {"001", "Diode  "},          {"011", "Zener  "},         {"012", " LED    "},
    {"053", " Varicap "},        {"064", " Schottky "},      {"002", " NPN   "},
    {"003", " PNP   "},          {"008", "NJFET"},           {"009", "PJFET"},
    {"004", "NMOS-Ehn. mode"},   {"005", "PMOS-Enh. mode"},  {"006", "NMOS-Depl. mode "},
    {"007", "PMOS-Depl. mode"},  {"050", "Magnetic Core "},
};

std::string ErrnoText(int error) { return std::strerror(error); }

}  // namespace

std::string CatalogCodeOf(std::string_view line) {
  if (!IsSection(line)) return "XXX";
  return std::string(line.substr(1, 3));
}

std::string CatalogTypeName(std::string_view code) {
  for (const TypeName& t : kTypeNames)
    if (code == t.code) return t.text;
  return std::string(code);
}

bool CatalogAccepts(int kind, std::string_view code) {
  auto any = [code](std::initializer_list<std::string_view> codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  };
  switch (kind) {
    case 1: return any({"001", "011", "012", "053"});
    case 2:
    case 3: return any({"002", "003"});
    case 4:
    case 5: return any({"008", "009"});
    case 6: return any({"004", "006"});
    case 7: return any({"005", "007"});
    case 8: return code == "050";
    default: return false;
  }
}

bool ModelFitsCatalog(std::string_view model, std::string_view code) {
  if (model == "Standard") return code != "070";
  if (model == "SPICE-BJT" || model == "Spice_Level-3" || model == "Jiles-Atherton") return true;
  if (model == "Schichman-Hodges") return code != "004" && code != "005" && code != "006" && code != "007";
  return false;
}

std::string ModelNameOf(std::string_view line) {
  if (line.size() <= 2) return {};
  const std::string_view rest = line.substr(2);
  return std::string(rest.substr(0, rest.find(' ')));
}

std::vector<CatalogChoice> ScanCatalogs(const SourceLines& lines) {
  std::vector<CatalogChoice> choices;
  std::size_t i = 1;
  while (i < lines.size()) {
    if (!IsSection(lines[i])) {
      ++i;
      continue;
    }
    const std::string code = CatalogCodeOf(lines[i]);
    const std::string head = " No. " + code + " : " + CatalogTypeName(code) + "   Catalog";
    std::size_t j = i + 1;
    for (; j < lines.size(); ++j) {
      const std::string& line = lines[j];
      if (!line.empty() && line[0] == '#') {
        const std::string model = ModelNameOf(line);
        if (ModelFitsCatalog(model, code)) {
          choices.push_back({head + " " + model + " model", code});
        }
      }
      if (SecondIs(line, '&')) break;
    }
    i = j + 1;
  }
  return choices;
}

std::vector<std::string> CatalogComponents(const SourceLines& lines, std::string_view code) {
  std::vector<std::string> names;
  bool inCatalog = false;
  for (const std::string& line : lines) {
    if (IsSection(line)) {
      inCatalog = CatalogCodeOf(line) == code;
      continue;
    }
    if (!inCatalog) continue;
    if (!line.empty() && line[0] == '$') names.push_back(line.substr(std::min<std::size_t>(2, line.size())));
    if (SecondIs(line, '#')) inCatalog = false;
  }
  return names;
}

SourceLines DeleteBlocks(const SourceLines& lines, std::string_view code,
                         const std::vector<std::string>& names) {
  SourceLines kept;
  kept.reserve(lines.size());
  bool inCatalog = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (IsSection(line)) inCatalog = CatalogCodeOf(line) == code;
    const bool doomed = inCatalog && line.size() > 2 && line.compare(0, 2, "$ ") == 0 &&
                        std::find(names.begin(), names.end(), line.substr(2)) != names.end();
    if (!doomed) {
      kept.push_back(line);
      continue;
    }
    std::size_t end = i + 1;
    while (end < lines.size() && lines[end] != ".E") {
      const std::string& next = lines[end];
      if ((!next.empty() && next[0] == '$') || IsSection(next)) break;
      ++end;
    }
    if (end >= lines.size() || lines[end] != ".E")
      throw CatalogSourceError("The block of the component " + line.substr(2) + " (line " +
                               std::to_string(i + 1) +
                               ") has no end line \".E\"; the catalog source was not changed.");
    i = end;
  }
  return kept;
}

std::size_t InsertionLine(const SourceLines& lines, std::string_view code) {
  std::size_t i = 0;
  while (i < lines.size() && CatalogCodeOf(lines[i]) != code) ++i;
  if (i >= lines.size())
    throw CatalogSourceError("The catalog " + std::string(code) +
                             " is not in the catalog source; nothing was changed.");
  for (++i; i < lines.size() && !IsSection(lines[i]); ++i)
    if (SecondIs(lines[i], 'M')) return i;
  throw CatalogSourceError("The catalog " + std::string(code) +
                           " has no line where new components go; nothing was changed.");
}

SourceLines InsertBlocks(const SourceLines& lines, std::string_view code, const SourceLines& blocks) {
  const std::size_t at = InsertionLine(lines, code) + 1;
  SourceLines out;
  out.reserve(lines.size() + blocks.size());
  out.insert(out.end(), lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(at));
  out.insert(out.end(), blocks.begin(), blocks.end());
  out.insert(out.end(), lines.begin() + static_cast<std::ptrdiff_t>(at), lines.end());
  return out;
}

std::string BackupNameOf(const std::string& path) {
  return path.substr(0, path.size() >= 3 ? path.size() - 3 : 0) + "BAK";
}

SourceLines ReadCatalogSource(const std::string& path) { return platform::readLines(path); }

namespace {

// A file descriptor that is closed when it goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int Close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

int WriteAll(int fd, const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int LinkFile(const std::string& from, const std::string& to) {
  return ::link(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int SyncFile(int fd) { return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno; }

int RenameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Creates a new file of a name not yet taken in `directory`; never opens
// what a link points to.
int CreateExclusive(const std::string& path, unsigned mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
}

int CreateUnique(const std::string& directory, const std::string& stem, mode_t mode, std::string& name,
                 const ReplaceSteps& steps) {
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp",
                  static_cast<unsigned long long>(random() & 0xffffffffffffULL));
    name = directory + stem + suffix;
    const int fd = steps.create(name, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Copies the file `from` to the new file `to` (which must not exist).
int CopyFile(const std::string& from, const std::string& to, mode_t mode, const ReplaceSteps& steps) {
  Fd in(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (in.get() < 0) return errno;
  Fd out(steps.create(to, mode));
  if (out.get() < 0) return errno;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::unlink(to.c_str());
      return error;
    }
    if (n == 0) break;
    if (const int error = steps.write(out.get(), buffer, static_cast<std::size_t>(n))) {
      ::unlink(to.c_str());
      return error;
    }
  }
  if (const int error = steps.sync(out.get())) {
    ::unlink(to.c_str());
    return error;
  }
  if (const int error = out.Close()) {
    ::unlink(to.c_str());
    return error;
  }
  return 0;
}

}  // namespace

void ReplaceCatalogSource(const std::string& path, const SourceLines& lines, const ReplaceSteps& given) {
  ReplaceSteps steps = given;
  if (!steps.create) steps.create = CreateExclusive;
  if (!steps.write) steps.write = WriteAll;
  if (!steps.rename) steps.rename = RenameFile;
  if (!steps.sync) steps.sync = SyncFile;
  if (!steps.link) steps.link = LinkFile;
  const std::string backup = BackupNameOf(path);
  auto fail = [&](const std::string& what, int error) {
    throw CatalogSourceError(what + " (" + ErrnoText(error) + "); " + path + " was not changed.");
  };
  if (backup == path)
    throw CatalogSourceError("The backup of " + path + " would have its own name; " + path +
                             " was not changed.");
  struct stat target {};
  if (::lstat(path.c_str(), &target) != 0) fail("Cannot find " + path, errno);
  if (!S_ISREG(target.st_mode))
    throw CatalogSourceError(path + " is no plain file; it was not changed.");

  // 1. The new content, complete on disk beside the target.
  std::string temp;
  Fd out(CreateUnique(DirectoryOf(path), NameOf(path), target.st_mode & 07777, temp, steps));
  if (out.get() < 0) fail("Cannot create a work file in the folder of " + path, errno);
  auto dropTemp = [&](const std::string& what, int error) {
    out.Close();
    ::unlink(temp.c_str());
    fail(what, error);
  };
  (void)::fchmod(out.get(), target.st_mode & 07777);
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += "\r\n";
    if (bytes.size() >= 65536) {
      if (const int error = steps.write(out.get(), bytes.data(), bytes.size()))
        dropTemp("Cannot write the work file " + temp, error);
      bytes.clear();
    }
  }
  if (!bytes.empty())
    if (const int error = steps.write(out.get(), bytes.data(), bytes.size()))
      dropTemp("Cannot write the work file " + temp, error);
  if (const int error = steps.sync(out.get())) dropTemp("Cannot write the work file " + temp, error);
  if (const int error = out.Close()) dropTemp("Cannot write the work file " + temp, error);

  // 2. The backup: what the target holds now.
  struct stat old {};
  if (::lstat(backup.c_str(), &old) == 0) {
    if (S_ISDIR(old.st_mode)) {
      ::unlink(temp.c_str());
      throw CatalogSourceError("The backup " + backup + " is a folder; " + path + " was not changed.");
    }
    if (::unlink(backup.c_str()) != 0) {
      const int error = errno;
      ::unlink(temp.c_str());
      fail("Cannot remove the old backup " + backup, error);
    }
  }
  if (steps.link(path, backup) != 0) {
    if (const int error = CopyFile(path, backup, target.st_mode & 07777, steps)) {
      ::unlink(temp.c_str());
      fail("Cannot make the backup " + backup, error);
    }
  }

  // 3. The new content takes the target's place.
  if (const int error = steps.rename(temp, path)) {
    ::unlink(temp.c_str());
    fail("Cannot replace " + path + " by the work file", error);
  }
}

}  // namespace pakro

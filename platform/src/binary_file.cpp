#include "platform/binary_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string errorText(int error) { return std::strerror(error); }

// The folder part of a path ("." for a bare name), with its trailing slash.
std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

// The permissions a newly created file gets: 0666 less the creation mask.
// The mask is read, not set, so other threads never see it change.
::mode_t newFileMode() {
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status))
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return 0666 & ~::mode_t(mask);
  }
  const ::mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

// A name beside `path` that no file has yet: its folder, then ".~" and a
// part that differs from call to call. Short, so it fits whatever the
// target's name length.
std::string freshName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const auto now = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
  std::uint64_t x = now ^ (std::uint64_t(::getpid()) << 32) ^ (counter++ * 0x9E3779B97F4A7C15ull);
  static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = folderOf(path) + ".~";
  for (int i = 0; i < 10; ++i) {
    x = x * 6364136223846793005ull + 1442695040888963407ull;
    name += digits[(x >> 33) % 36];
  }
  return name;
}

bool writeAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    const ::ssize_t done = ::write(fd, p, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (done == 0) {
      errno = EIO;
      return false;
    }
    p += done;
    n -= std::size_t(done);
  }
  return true;
}

constexpr std::size_t kBufferBytes = 64 * 1024;

}  // namespace

FileError::FileError(const std::string& path, const std::string& what)
    : std::runtime_error(what + ": " + path), path_(path) {}

// --- reading ---------------------------------------------------------------------

RegularFileReader::RegularFileReader(const std::string& path) : path_(path) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) throw FileError(path, "Cannot open file (" + errorText(errno) + ")");
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    throw FileError(path, "Not a regular file");
  }
  ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
  size_ = std::uint64_t(st.st_size);
}

RegularFileReader::~RegularFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

int RegularFileReader::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

std::size_t RegularFileReader::read(void* into, std::size_t n) {
  auto* p = static_cast<char*>(into);
  std::size_t got = 0;
  while (got < n) {
    const ::ssize_t done = ::read(fd_, p + got, n - got);
    if (done < 0) {
      if (errno == EINTR) continue;
      throw FileError(path_, "Read error (" + errorText(errno) + ")");
    }
    if (done == 0) break;
    got += std::size_t(done);
  }
  return got;
}

std::string RegularFileReader::readRest(std::size_t limit) {
  std::string bytes;
  appendRest(bytes, limit);
  return bytes;
}

void RegularFileReader::appendRest(std::string& bytes, std::size_t limit) {
  const ::off_t at = ::lseek(fd_, 0, SEEK_CUR);
  const std::uint64_t left = at >= 0 && std::uint64_t(at) < size_ ? size_ - std::uint64_t(at) : 0;
  if (left > limit) throw FileError(path_, "File too large");
  const std::size_t start = bytes.size();
  bytes.resize(start + std::size_t(left));
  std::size_t have = read(bytes.data() + start, std::size_t(left));
  bytes.resize(start + have);
  // The file may have grown since it was opened: read on in bounded pieces.
  // A one-byte probe comes first, so the bytes read are not copied again
  // when it did not grow.
  constexpr std::size_t kPiece = 1 << 20;
  for (;;) {
    char probe;
    if (have >= limit) {
      if (read(&probe, 1) != 0) throw FileError(path_, "File too large");
      break;
    }
    if (read(&probe, 1) == 0) break;
    bytes += probe;
    ++have;
    const std::size_t piece = std::min(kPiece, limit - have);
    bytes.resize(start + have + piece);
    const std::size_t got = read(bytes.data() + start + have, piece);
    have += got;
    bytes.resize(start + have);
    if (got < piece) break;
  }
}

std::string readRegularFile(const std::string& path, std::size_t limit) {
  return RegularFileReader(path).readRest(limit);
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// --- writing ---------------------------------------------------------------------

BinaryFileWriter::BinaryFileWriter(const std::string& path) : path_(path), target_(path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // The file the user opened is the one the link names: replace that one
    // and keep the link.
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
      throw FileError(path, "The link points to no file (" + errorText(errno) + ")");
    target_ = resolved;
    std::free(resolved);
  }
  ::mode_t mode = 0;
  if (::stat(target_.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) throw FileError(path, "Cannot create file (not a regular file)");
    // Write permission is asked of the file itself, also of a user whom the
    // system would let write anything: a read-only file stays as it is.
    if ((st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0)
      throw FileError(path, "Cannot create file (" + errorText(EACCES) + ")");
    mode = st.st_mode & 07777;
  } else {
    mode = newFileMode();
  }
  // O_EXCL makes the name ours: an existing file or link of that name,
  // dangling or not, makes the open fail, and then another name is tried.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temp_ = freshName(target_);
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0 && errno != EEXIST)
      throw FileError(path, "Cannot create file (" + errorText(errno) + ")");
  }
  if (fd_ < 0) throw FileError(path, "Cannot create file (" + errorText(EEXIST) + ")");
  if (::fchmod(fd_, mode) != 0) fail("Cannot create file", errno);
}

BinaryFileWriter::~BinaryFileWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  } else if (finished_) {
    ::unlink(temp_.c_str());  // finished but never put in place
  }
}

void BinaryFileWriter::fail(const std::string& what, int error) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  finished_ = false;
  ::unlink(temp_.c_str());
  throw FileError(path_, what + " (" + errorText(error) + ")");
}

void BinaryFileWriter::flushBuffer() {
  if (!buffer_.empty() && !writeAll(fd_, buffer_.data(), buffer_.size())) fail("Write error", errno);
  buffer_.clear();
}

void BinaryFileWriter::write(const void* bytes, std::size_t n) {
  if (fd_ < 0) throw FileError(path_, "File already closed");
  const auto* p = static_cast<const char*>(bytes);
  if (buffer_.size() + n <= kBufferBytes) {
    buffer_.append(p, n);
    return;
  }
  flushBuffer();
  if (n >= kBufferBytes) {
    if (!writeAll(fd_, p, n)) fail("Write error", errno);
  } else {
    buffer_.append(p, n);
  }
}

void BinaryFileWriter::finish() {
  if (fd_ < 0) throw FileError(path_, "File already closed");
  flushBuffer();
  if (::fsync(fd_) != 0 && errno != EINVAL) fail("Write error", errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temp_.c_str());
    throw FileError(path_, "Write error (" + errorText(error) + ")");
  }
  finished_ = true;
}

void BinaryFileWriter::commit() {
  if (!finished_) finish();
  finished_ = false;
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp_.c_str());
    throw FileError(path_, "Cannot replace file (" + errorText(error) + ")");
  }
  // The new name is durable once the folder is.
  const int folder = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    (void)::fsync(folder);
    ::close(folder);
  }
}

// --- backup ----------------------------------------------------------------------

FileBackup::FileBackup(const std::string& target) : target_(target) {
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0) {
    if (errno == ENOENT) return;
    throw FileError(target, "Cannot keep a backup of the file (" + errorText(errno) + ")");
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = freshName(target);
    if (::link(target.c_str(), name.c_str()) == 0) {
      backup_ = name;
      return;
    }
    if (errno != EEXIST)
      throw FileError(target, "Cannot keep a backup of the file (" + errorText(errno) + ")");
  }
  throw FileError(target, "Cannot keep a backup of the file (" + errorText(EEXIST) + ")");
}

FileBackup::~FileBackup() {
  if (!done_ && !backup_.empty()) ::unlink(backup_.c_str());
}

void FileBackup::restore() {
  done_ = true;
  if (backup_.empty()) {
    if (::unlink(target_.c_str()) != 0 && errno != ENOENT)
      throw FileError(target_, "Cannot remove file (" + errorText(errno) + ")");
    return;
  }
  if (::rename(backup_.c_str(), target_.c_str()) != 0) {
    // The old contents stay under the backup's name rather than being lost.
    throw FileError(target_, "Cannot restore file, its old contents are kept in " + backup_ +
                                 " (" + errorText(errno) + ")");
  }
}

}  // namespace platform

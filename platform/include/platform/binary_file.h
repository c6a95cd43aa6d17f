#pragma once
// Files as bytes: reading regular files with a bound on how much is taken,
// and writing a file all or nothing.
//
// A written file appears only when it is complete. BinaryFileWriter fills a
// temporary file beside the target (created exclusively under a fresh name,
// never through a link), flushes and syncs it and renames it over the target
// on commit; the replaced file keeps its permissions. A target that is a
// symbolic link stands for the file it names: that file is replaced and the
// link stays. A read-only target is refused before anything is written.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// An input/output failure: the file could not be opened, read or written.
class FileError : public std::runtime_error {
 public:
  FileError(const std::string& path, const std::string& what);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A regular file open for reading. Anything else (a folder, a device, a
// FIFO, a socket) is refused at once, without waiting for a writer or
// reading a byte.
class RegularFileReader {
 public:
  explicit RegularFileReader(const std::string& path);  // throws FileError
  ~RegularFileReader();
  RegularFileReader(const RegularFileReader&) = delete;
  RegularFileReader& operator=(const RegularFileReader&) = delete;

  // The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  // Reads up to n bytes; fewer only at the end of the file, 0 there.
  std::size_t read(void* into, std::size_t n);
  // Reads the rest of the file in bounded pieces; a file holding more than
  // `limit` bytes from here is refused without reading it all.
  std::string readRest(std::size_t limit);
  // The same, appended to `bytes` (the limit counts the rest only).
  void appendRest(std::string& bytes, std::size_t limit);
  // Hands the open descriptor over (the caller closes it).
  int release();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// The whole of a regular file of at most `limit` bytes.
std::string readRegularFile(const std::string& path, std::size_t limit);

// Writes a binary file all or nothing.
class BinaryFileWriter {
 public:
  explicit BinaryFileWriter(const std::string& path);  // throws FileError
  ~BinaryFileWriter();  // an uncommitted file is discarded, the target untouched
  BinaryFileWriter(const BinaryFileWriter&) = delete;
  BinaryFileWriter& operator=(const BinaryFileWriter&) = delete;

  void write(const void* bytes, std::size_t n);
  void write(std::string_view bytes) { write(bytes.data(), bytes.size()); }
  // Flushes, syncs and closes the temporary file, so that what was written
  // is complete on disk; the target is not touched yet. A failure discards
  // the temporary file and raises FileError.
  void finish();
  // Finishes the file if that was not done, and puts it in place of the target.
  void commit();
  // The name the writer was given.
  const std::string& path() const { return path_; }
  // The file that commit replaces: the path, or the file its link names.
  const std::string& target() const { return target_; }

 private:
  void flushBuffer();
  [[noreturn]] void fail(const std::string& what, int error);
  std::string path_;
  std::string target_;
  std::string temp_;
  std::string buffer_;
  int fd_ = -1;
  bool finished_ = false;
};

// Keeps the file a commit is about to replace under a second name in the
// same folder (a hard link: nothing is read), so that it can be put back.
// A target that does not exist yet is removed again by restore. Refuses
// (FileError) when no second name can be made, before anything is replaced.
class FileBackup {
 public:
  explicit FileBackup(const std::string& target);
  ~FileBackup();  // drops the backup when not restored
  FileBackup(const FileBackup&) = delete;
  FileBackup& operator=(const FileBackup&) = delete;
  // Puts the kept file back in place of the target (or removes the target
  // when there was none). Raises FileError when that fails.
  void restore();

 private:
  std::string target_;
  std::string backup_;  // empty when the target did not exist
  bool done_ = false;
};

bool fileExists(const std::string& path);

}  // namespace platform

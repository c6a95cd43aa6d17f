#include "platform/text_file.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
std::string errnoText() { return std::strerror(errno); }
}  // namespace

FileError::FileError(const std::string& path, const std::string& what)
    : std::runtime_error(what + ": " + path), path_(path) {}

LineReader::LineReader(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) throw FileError(path, "Cannot open file (" + errnoText() + ")");
}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::readLine(std::string& line) {
  line.clear();
  int c = std::getc(file_);
  if (c == EOF) {
    if (std::ferror(file_)) throw FileError(path_, "Read error");
    return false;
  }
  while (c != EOF && c != '\n') {
    line += char(c);
    c = std::getc(file_);
  }
  if (std::ferror(file_)) throw FileError(path_, "Read error");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  ++line_;
  return true;
}

std::string LineReader::requireLine() {
  std::string line;
  if (!readLine(line))
    throw FileError(path_, "Read beyond end of file after line " + std::to_string(line_));
  return line;
}

bool LineReader::atEnd() {
  const int c = std::getc(file_);
  if (c == EOF) {
    if (std::ferror(file_)) throw FileError(path_, "Read error");
    return true;
  }
  std::ungetc(c, file_);
  return false;
}

TextFileWriter::TextFileWriter(const std::string& path) : path_(path) {
  temp_ = path + ".~tmp";
  file_ = std::fopen(temp_.c_str(), "wb");
  if (!file_) throw FileError(path, "Cannot create file (" + errnoText() + ")");
  // The file that replaces the target keeps the target's permissions: a
  // private file must not come back readable by all. Only a plain file of
  // our own is changed, never what a link in its place points to.
  struct stat target {}, temp {}, opened {};
  if (::stat(path.c_str(), &target) == 0 && S_ISREG(target.st_mode) &&
      ::lstat(temp_.c_str(), &temp) == 0 && S_ISREG(temp.st_mode) &&
      ::fstat(fileno(file_), &opened) == 0 && opened.st_dev == temp.st_dev &&
      opened.st_ino == temp.st_ino)
    (void)::fchmod(fileno(file_), target.st_mode & 07777);
}

TextFileWriter::~TextFileWriter() {
  if (file_) {
    std::fclose(file_);
    std::remove(temp_.c_str());
  } else if (finished_) {
    std::remove(temp_.c_str());  // finished but never put in place
  }
}

void TextFileWriter::fail(const std::string& what) {
  const std::string reason = what + " (" + errnoText() + ")";
  std::fclose(file_);
  file_ = nullptr;
  std::remove(temp_.c_str());
  throw FileError(path_, reason);
}

void TextFileWriter::write(std::string_view bytes) {
  if (!file_) throw FileError(path_, "File already closed");
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
    fail("Write error");
}

void TextFileWriter::writeLine(std::string_view bytes) {
  write(bytes);
  write("\r\n");
}

void TextFileWriter::finish() {
  if (!file_) throw FileError(path_, "File already closed");
  if (std::fflush(file_) != 0) fail("Write error");
  if (::fsync(fileno(file_)) != 0 && errno != EINVAL) fail("Write error");
  if (std::fclose(file_) != 0) {
    file_ = nullptr;
    std::remove(temp_.c_str());
    throw FileError(path_, "Write error (" + errnoText() + ")");
  }
  file_ = nullptr;
  finished_ = true;
}

void TextFileWriter::commit() {
  if (!finished_) finish();
  finished_ = false;
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    const std::string reason = errnoText();
    std::remove(temp_.c_str());
    throw FileError(path_, "Cannot replace file (" + reason + ")");
  }
}

std::vector<std::string> readLines(const std::string& path) {
  LineReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (reader.readLine(line)) lines.push_back(line);
  return lines;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
  TextFileWriter writer(path);
  for (const auto& line : lines) writer.writeLine(line);
  writer.commit();
}

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace platform

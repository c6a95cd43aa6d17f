#include "platform/text_file.h"

#include <cerrno>
#include <cstring>

namespace platform {

LineReader::LineReader(const std::string& path) : path_(path) {
  RegularFileReader file(path);
  file_ = ::fdopen(file.release(), "rb");
  if (!file_) throw FileError(path, "Cannot open file (" + std::string(std::strerror(errno)) + ")");
}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::readLine(std::string& line) {
  line.clear();
  int c = getc_unlocked(file_);
  if (c == EOF) {
    if (std::ferror(file_)) throw FileError(path_, "Read error");
    return false;
  }
  while (c != EOF && c != '\n') {
    // One byte of slack for the CR of a CR LF line end.
    if (line.size() > kMaxLineBytes)
      throw FileError(path_, "Line " + std::to_string(line_ + 1) + " is too long");
    line += char(c);
    c = getc_unlocked(file_);
  }
  if (std::ferror(file_)) throw FileError(path_, "Read error");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.size() > kMaxLineBytes)
    throw FileError(path_, "Line " + std::to_string(line_ + 1) + " is too long");
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

}  // namespace platform

#pragma once
// Line-oriented text files in the legacy 8-bit code page. Lines are kept as
// raw bytes; reading accepts LF and CR LF line ends, writing always uses
// CR LF. Reading takes regular files only and refuses a line far longer than
// any the suite's formats hold. A written file appears only when it is
// complete (see BinaryFileWriter).
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/binary_file.h"

namespace platform {

// Reads a text file line by line and knows which line it is on.
class LineReader {
 public:
  // Longest line accepted, in bytes without the line end.
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;

  explicit LineReader(const std::string& path);  // throws FileError
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Reads the next line without its line end. Returns false at the end of
  // the file (a last line without a line end is still returned). A line
  // longer than kMaxLineBytes is a FileError.
  bool readLine(std::string& line);
  // Like readLine, but reaching the end of the file is an error.
  std::string requireLine();
  bool atEnd();  // a read error is a FileError, not the end
  // Number of the line last read, counting from 1; 0 before the first.
  int lineNumber() const { return line_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::FILE* file_ = nullptr;
  int line_ = 0;
};

// Writes a text file with CR LF line ends, all or nothing.
class TextFileWriter {
 public:
  explicit TextFileWriter(const std::string& path) : file_(path) {}  // throws FileError

  void write(std::string_view bytes) { file_.write(bytes); }
  void writeLine(std::string_view bytes = {}) {
    file_.write(bytes);
    file_.write("\r\n");
  }
  // See BinaryFileWriter.
  void finish() { file_.finish(); }
  void commit() { file_.commit(); }
  const std::string& path() const { return file_.path(); }
  const std::string& target() const { return file_.target(); }

 private:
  BinaryFileWriter file_;
};

std::vector<std::string> readLines(const std::string& path);
void writeLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace platform

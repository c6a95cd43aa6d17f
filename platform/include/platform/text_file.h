#pragma once
// Line-oriented text files in the legacy 8-bit code page. Lines are kept as
// raw bytes; reading accepts LF and CR LF line ends, writing always uses
// CR LF. A written file appears only when it is complete: the writer fills a
// temporary file beside the target and renames it over the target on commit;
// a replaced file keeps its permissions.
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An input/output failure: the file could not be opened, read or written.
class FileError : public std::runtime_error {
 public:
  FileError(const std::string& path, const std::string& what);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Reads a text file line by line and knows which line it is on.
class LineReader {
 public:
  explicit LineReader(const std::string& path);  // throws FileError
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Reads the next line without its line end. Returns false at the end of
  // the file (a last line without a line end is still returned).
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
  explicit TextFileWriter(const std::string& path);  // throws FileError
  ~TextFileWriter();  // an uncommitted file is discarded, the target untouched
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  void write(std::string_view bytes);
  void writeLine(std::string_view bytes = {});
  // Flushes and closes the temporary file, so that what was written is
  // complete on disk; the target is not touched yet. A failure discards the
  // temporary file and raises FileError.
  void finish();
  // Finishes the file if that was not done, and puts it in place of the target.
  void commit();
  const std::string& path() const { return path_; }

 private:
  void fail(const std::string& what);
  std::string path_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  bool finished_ = false;
};

std::vector<std::string> readLines(const std::string& path);
void writeLines(const std::string& path, const std::vector<std::string>& lines);
bool fileExists(const std::string& path);

}  // namespace platform

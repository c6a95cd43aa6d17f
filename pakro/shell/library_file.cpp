#include "pakro/shell/library_file.h"

#include "pakro/shell/frame_state.h"
#include "platform/binary_file.h"
#include "platform/text_file.h"

namespace pakro {

std::string withoutLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

int ReadHeaderInteger(std::string_view line) {
  return ReadLeadingInteger(line.size() > 10 ? line.substr(10) : std::string_view(), " \t").value_or(0);
}

std::string TypeLine(int kind) { return "Type    : " + std::to_string(kind); }
std::string VersionLine(int version) { return "Version : " + std::to_string(version); }

LibraryFile::LibraryFile(const std::string& path) : path_(path) {
  // The file is read whole, and its lines are views of it. Only a regular
  // file of a size a library can have is taken: a folder, a device, a FIFO
  // or a huge file is refused before it is read.
  bytes_ = platform::readRegularFile(path, kMaxLibraryBytes);
  open_ = true;
}

LibraryFile::~LibraryFile() = default;

bool LibraryFile::ReadLine(std::string_view& line) {
  if (next_ >= bytes_.size()) return false;
  const std::size_t end = bytes_.find('\n', next_);
  const std::size_t stop = end == std::string::npos ? bytes_.size() : end;
  line = std::string_view(bytes_).substr(next_, stop - next_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() > platform::LineReader::kMaxLineBytes)
    throw platform::FileError(path_, "Line " + std::to_string(line_ + 1) + " is too long");
  next_ = end == std::string::npos ? bytes_.size() : end + 1;
  ++line_;
  return true;
}

const LibraryHeader& LibraryFile::ReadHeader() {
  if (!open_) Fail("the file is closed.");
  std::string_view lines[3];
  for (auto& line : lines)
    if (!ReadLine(line))
      throw LibraryError(path_ + " is not a library file: its header ends after " + std::to_string(line_) +
                         " of its 3 lines.");
  header_.title = std::string(lines[0]);
  header_.kind = ReadHeaderInteger(lines[1]);
  header_.version = ReadHeaderInteger(lines[2]);
  headerRead_ = true;
  return header_;
}

const LibraryHeader& LibraryFile::ReadLibraryHeader() {
  ReadHeader();
  if (!isDeviceKind(header_.kind))
    throw LibraryError(path_ + " is no library of the parameter extractor: its type " +
                       std::to_string(header_.kind) + " names no device kind.");
  CheckVersion();
  return header_;
}

void LibraryFile::CheckVersion() const {
  // Versions 1 and 2 are read; what a kind makes of each is the kind's.
  if (header_.version != 1 && header_.version != 2)
    throw LibraryError(path_ + " is of the library version " + std::to_string(header_.version) +
                       ", which this program cannot read.");
}

void LibraryFile::Close() {
  open_ = false;
  line_ = 0;
  next_ = 0;
  std::string().swap(bytes_);
}

void LibraryFile::BeginRecord() { recordHasText_ = false; }

std::string_view LibraryFile::NextLine() {
  if (!open_) Fail("the file is closed.");
  std::string_view line;
  if (!ReadLine(line)) {
    if (!recordHasText_) throw NoMoreRecords{};
    Fail("the file ends inside a record.");
  }
  if (!line.empty()) recordHasText_ = true;
  return line;
}

int LibraryFile::LineNumber() const { return open_ ? line_ : 0; }

void LibraryFile::Fail(const std::string& what) const {
  throw LibraryError(path_ + ", line " + std::to_string(LineNumber()) + ": " + what);
}

}  // namespace pakro

#include "library_file.h"

#include "frame_state.h"
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

LibraryFile::LibraryFile(const std::string& path)
    : path_(path), reader_(std::make_unique<platform::LineReader>(path)) {}

LibraryFile::~LibraryFile() = default;

const LibraryHeader& LibraryFile::ReadHeader() {
  if (!reader_) Fail("the file is closed.");
  std::string lines[3];
  for (auto& line : lines)
    if (!reader_->readLine(line))
      throw LibraryError(path_ + " is not a library file: its header ends after " +
                         std::to_string(reader_->lineNumber()) + " of its 3 lines.");
  header_.title = lines[0];
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

void LibraryFile::Close() { reader_.reset(); }

void LibraryFile::BeginRecord() { recordHasText_ = false; }

std::string LibraryFile::NextLine() {
  if (!reader_) Fail("the file is closed.");
  std::string line;
  if (!reader_->readLine(line)) {
    if (!recordHasText_) throw NoMoreRecords{};
    Fail("the file ends inside a record.");
  }
  if (!line.empty()) recordHasText_ = true;
  return line;
}

int LibraryFile::LineNumber() const { return reader_ ? reader_->lineNumber() : 0; }

void LibraryFile::Fail(const std::string& what) const {
  throw LibraryError(path_ + ", line " + std::to_string(LineNumber()) + ": " + what);
}

}  // namespace pakro

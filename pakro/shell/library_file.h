#pragma once
// The frame that library (.LBR) and defaults (.DEF) files share: three header
// lines - the title, "Type    : " with the device kind, "Version : " with the
// format version - and then the records, one value per line.
//
// A LibraryFile is the open file being read: the frame reads its header, the
// device list of the kind that the header names goes on reading the records
// from the same file and closes it.
#include <stdexcept>
#include <string>
#include <string_view>

namespace pakro {

// A library or defaults file that cannot be taken: it is cut short, damaged,
// of another kind or of an unknown version. The message is meant for the
// user; nothing was replaced when it is raised.
class LibraryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LibraryHeader {
  std::string title;  // line 1, never interpreted
  int kind = 0;       // line 2: the device kind code
  int version = 0;    // line 3: the format version
};

// Reads the integer of a header line: the first ten characters are dropped,
// then leading blanks are skipped, an optional sign is taken and digits are
// read up to the first character that is not one. No digits give 0; text
// after the number is ignored. Values beyond the integer range are held at
// its limits.
int ReadHeaderInteger(std::string_view line);

// The text with its CR and LF characters removed: a text field is one line.
std::string withoutLineBreaks(std::string_view text);

// The header lines as written: "Type    : " + kind, "Version : " + version.
std::string TypeLine(int kind);
std::string VersionLine(int version);

class LibraryFile {
 public:
  // The largest file taken as a library: ten thousand transistors take
  // about 14 MB.
  static constexpr std::size_t kMaxLibraryBytes = std::size_t(256) << 20;

  // Opens and reads the file; throws platform::FileError.
  explicit LibraryFile(const std::string& path);
  ~LibraryFile();
  LibraryFile(const LibraryFile&) = delete;
  LibraryFile& operator=(const LibraryFile&) = delete;

  const std::string& path() const { return path_; }

  // Reads the three header lines. A file that ends before its third line is
  // no library file and is refused (LibraryError).
  const LibraryHeader& ReadHeader();
  // Reads the header of a library to be opened: a file whose type names no
  // device kind, or whose version this program cannot read, is refused too.
  const LibraryHeader& ReadLibraryHeader();
  // Refuses (LibraryError) a file whose header, read before, is of a
  // version this program cannot read.
  void CheckVersion() const;
  bool HeaderRead() const { return headerRead_; }
  const LibraryHeader& Header() const { return header_; }

  bool IsOpen() const { return open_; }
  void Close();

  // --- record reading, used by the record readers ---------------------------
  // A record begins; the file knows from here whether the record has met
  // anything but empty lines.
  void BeginRecord();
  // The next line of the current record. At the end of the file this raises
  // NoMoreRecords when the record has held only empty lines so far (the file
  // simply ends, perhaps after some empty lines), and a LibraryError for a
  // record cut short. The text stays valid until the file is closed.
  std::string_view NextLine();
  // Number of the line last read, from 1.
  int LineNumber() const;
  // A LibraryError naming this file and the line last read.
  [[noreturn]] void Fail(const std::string& what) const;

  // Raised by NextLine when the file holds no further record.
  struct NoMoreRecords {};

 private:
  std::string path_;
  // Reads the next line without its line end (LF or CR LF); false at the
  // end of the file.
  bool ReadLine(std::string_view& line);
  std::string bytes_;  // the whole file
  std::size_t next_ = 0;
  int line_ = 0;
  bool open_ = false;
  LibraryHeader header_;
  bool headerRead_ = false;
  bool recordHasText_ = false;
};

}  // namespace pakro

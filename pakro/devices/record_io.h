#pragma once
// The line kinds that every library record is made of, and the two visitors
// that read and write them. Each device kind describes the line order of its
// record once, as a function template that visits its fields in file order:
//
//   template <class Io, class R> void Lines(Io& io, R& r) {
//     io.Text(r.Name); io.Curve(r.VDID); io.Value(r.Spare1Text, r.Spare1);
//     io.Number(r.IS); io.Computed(r.Computed); ...
//   }
//
// Reading runs it with a RecordReader, writing with a RecordWriter, so the
// reader and the writer of a kind cannot disagree about the order.
#include <cstddef>
#include <string>
#include <string_view>

#include "pakro/shell/graph.h"
#include "pakro/shell/library_file.h"
#include "pakro/shell/number_text.h"
#include "platform/text_file.h"
#include "pakro/shell/short_string.h"

namespace pakro {

// Significant digits of every number in a library or defaults file.
constexpr int LibraryPrecision = 6;

// A number line as written: the general format at precision 6, "." as the
// decimal point.
std::string LibraryNumber(long double value);
// The number a line stands for: TextToFloat's value, whatever its code says
// (0 for a line that is no number).
double LineValue(std::string_view line);

class RecordReader {
 public:
  // Begins one record of the file.
  explicit RecordReader(LibraryFile& file) : file_(file) { file_.BeginRecord(); }

  // Text line: the whole line, cut to the field's capacity.
  template <std::size_t N>
  void Text(ShortString<N>& field) {
    Assign(field, file_.NextLine());
  }
  void Text(std::string& field) { Assign(field, file_.NextLine()); }
  // Value line: the line is the text (cut) and its value the number.
  template <std::size_t N, class Num>
  void Value(ShortString<N>& text, Num& number) {
    const std::string_view line = file_.NextLine();
    number = LineValue(line);
    Assign(text, line);
  }
  // The curve parameter of a curve, a value line of the curve's own text.
  void CurveParam(TGraph& curve) { Value(curve.CurveParamText, curve.CurveParam); }
  // Number line, stored whatever the line holds.
  template <class Num>
  void Number(Num& number) {
    number = LineValue(file_.NextLine());
  }
  // Curve block: "<", x and y lines per point, ">".
  void Curve(TGraph& curve);
  // Computed line: true exactly for "Computed".
  void Computed(bool& computed) { computed = file_.NextLine() == "Computed"; }
  // A field that this layout does not hold: it is set to zero.
  template <class T>
  void Zero(T& field) {
    field = T();
  }

 private:
  // The field takes the line without the CR characters it may hold.
  template <class Field>
  static void Assign(Field& field, std::string_view line) {
    if (line.find('\r') == std::string_view::npos)
      field = line;
    else
      field = withoutLineBreaks(line);
  }
  LibraryFile& file_;
};

// Gathers the lines of a record and writes them at Flush, which ends every
// record's writing.
class RecordWriter {
 public:
  explicit RecordWriter(platform::TextFileWriter& out) : out_(out) {}
  void Flush();

  template <std::size_t N>
  void Text(const ShortString<N>& field) {
    Line(field.str());
  }
  void Text(const std::string& field) { Line(field); }
  // A value line holds the text as typed; the number is not written.
  template <std::size_t N, class Num>
  void Value(const ShortString<N>& text, const Num&) {
    Line(text.str());
  }
  void CurveParam(const TGraph& curve) { Line(curve.CurveParamText.str()); }
  template <class Num>
  void Number(const Num& number) {
    NumberLine(number);
  }
  void Curve(const TGraph& curve);
  void Computed(bool computed) { Put(computed ? "Computed" : "Not computed"); }
  template <class T>
  void Zero(const T&) {}

 private:
  // A text line; a line break inside the text would split the record.
  void Line(std::string_view text);
  // A line as it is.
  void Put(std::string_view text) {
    buffer_.append(text);
    buffer_.append("\r\n");
  }
  void NumberLine(long double value);
  void NumberLine(double value);
  platform::TextFileWriter& out_;
  std::string buffer_;
};

}  // namespace pakro

#include "pakro/devices/record_io.h"

#include <algorithm>

namespace pakro {

std::string LibraryNumber(long double value) {
  char text[FloatTextCapacity];
  return std::string(text, FloatToChars(text, LibraryPrecision, value));
}

double LineValue(std::string_view line) {
  double value = 0;
  int code = 0;
  TextToFloat(line, value, code);
  return value;
}

void RecordReader::Curve(TGraph& curve) {
  if (file_.NextLine() != "<") file_.Fail("a curve was expected here (a line \"<\").");
  curve.XNonPositive = false;
  curve.YNonPositive = false;
  const int capacity = static_cast<int>(curve.X.size());
  int count = 0;
  for (;;) {
    const std::string_view x = file_.NextLine();
    if (x == ">") break;
    const std::string_view y = file_.NextLine();
    if (y == ">") file_.Fail("a point of the curve lacks its second value.");
    // Points beyond the curve's capacity are passed over.
    if (count < capacity) {
      double value = 0;
      int code = 0;
      // A line that is no number leaves its coordinate as it was.
      if (TextToFloat(x, value, code)) {
        curve.X[count] = value;
        if (value <= 0) curve.XNonPositive = true;
      }
      if (TextToFloat(y, value, code)) {
        curve.Y[count] = value;
        if (value <= 0) curve.YNonPositive = true;
      }
      ++count;
    }
  }
  curve.Count = count;
}

void RecordWriter::Flush() {
  out_.write(buffer_);
  buffer_.clear();
}

namespace {

// A number's text is far shorter than the room FloatToChars is given, so the
// line end goes into the same room and the line is appended at once.
template <class Num>
void AppendNumberLine(std::string& buffer, Num value) {
  char text[FloatTextCapacity];
  const std::size_t n = FloatToChars(text, LibraryPrecision, value);
  static_assert(FloatTextCapacity >= 26 + 2, "the longest number text and CR LF");
  text[n] = '\r';
  text[n + 1] = '\n';
  buffer.append(text, n + 2);
}

}  // namespace

void RecordWriter::NumberLine(long double value) { AppendNumberLine(buffer_, value); }
void RecordWriter::NumberLine(double value) { AppendNumberLine(buffer_, value); }

void RecordWriter::Curve(const TGraph& curve) {
  Put("<");
  const int count = std::clamp(curve.Count, 0, static_cast<int>(curve.X.size()));
  for (int i = 0; i < count; ++i) {
    NumberLine(curve.X[i]);
    NumberLine(curve.Y[i]);
  }
  Put(">");
}

void RecordWriter::Line(std::string_view text) {
  if (text.find_first_of("\r\n") == std::string_view::npos)
    Put(text);
  else
    Put(withoutLineBreaks(text));
}

}  // namespace pakro

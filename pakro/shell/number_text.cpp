#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace pakro {

std::string CommaToPoint(std::string_view text) {
  std::string result(text);
  if (auto pos = result.find(','); pos != std::string::npos) result[pos] = '.';
  return result;
}

namespace {

// The value's magnitude as 18 significant decimal digits, correctly
// rounded, and the number of digits before the decimal point.
struct DecimalDigits {
  char digits[20];
  int count = 0;
  int exponent = 0;
};

void ToDecimalDigits(long double magnitude, DecimalDigits& result) {
  char buffer[64];
  const double narrow = static_cast<double>(magnitude);
  // A value that a double holds exactly has the same decimal expansion as
  // that double, whose conversion is far quicker.
  auto [end, ec] = static_cast<long double>(narrow) == magnitude
                       ? std::to_chars(buffer, buffer + sizeof buffer, narrow, std::chars_format::scientific, 17)
                       : std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 17);
  (void)ec;
  const char* p = buffer;
  result.count = 0;
  for (; p != end && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9' && result.count < static_cast<int>(sizeof result.digits)) result.digits[result.count++] = *p;
  result.exponent = 0;
  if (p != end) {
    ++p;
    const bool negative = p != end && *p == '-';
    if (p != end && (*p == '-' || *p == '+')) ++p;
    int e = 0;
    for (; p != end; ++p) e = e * 10 + (*p - '0');
    result.exponent = (negative ? -e : e) + 1;
  }
}

// Appends text to out at pos.
void Put(char* out, std::size_t& pos, const char* text, std::size_t n) {
  std::memcpy(out + pos, text, n);
  pos += n;
}

}  // namespace

std::size_t FloatToChars(char (&out)[FloatTextCapacity], int precision, long double value) {
  std::size_t pos = 0;
  if (std::isnan(value)) {
    Put(out, pos, "NAN", 3);
    return pos;
  }
  if (std::isinf(value)) {
    if (value < 0) out[pos++] = '-';
    Put(out, pos, "INF", 3);
    return pos;
  }
  if (value == 0) {
    out[pos++] = '0';
    return pos;
  }
  precision = std::clamp(precision, 1, 18);

  DecimalDigits d;
  ToDecimalDigits(std::fabs(value), d);
  char* digits = d.digits;
  int count = d.count;
  int e = d.exponent;
  if (count > precision) {
    const bool up = digits[precision] >= '5';
    count = precision;
    if (up) {
      int i = precision - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i < 0) {
        digits[0] = '1';
        count = 1;
        ++e;
      } else {
        ++digits[i];
      }
    }
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  if (value < 0) out[pos++] = '-';
  if (e >= -3 && e <= precision) {
    if (e > 0) {
      Put(out, pos, digits, static_cast<std::size_t>(std::min(count, e)));
      for (int i = count; i < e; ++i) out[pos++] = '0';
      if (count > e) {
        out[pos++] = '.';
        Put(out, pos, digits + e, static_cast<std::size_t>(count - e));
      }
    } else {
      Put(out, pos, "0.", 2);
      for (int i = 0; i < -e; ++i) out[pos++] = '0';
      Put(out, pos, digits, static_cast<std::size_t>(count));
    }
  } else {
    out[pos++] = digits[0];
    if (count > 1) {
      out[pos++] = '.';
      Put(out, pos, digits + 1, static_cast<std::size_t>(count - 1));
    }
    out[pos++] = 'E';
    auto [end, ec] = std::to_chars(out + pos, out + FloatTextCapacity, e - 1);
    (void)ec;
    pos = static_cast<std::size_t>(end - out);
  }
  return pos;
}

std::string FloatToText(FloatFormat /*format*/, int precision, int /*digits*/, long double value) {
  char out[FloatTextCapacity];
  return std::string(out, FloatToChars(out, precision, value));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One reading of the text; returns the code.
int ReadNumber(std::string_view t, double& value) {
  value = 0;
  const std::size_t n = t.size();
  auto failAt = [n](std::size_t i) { return static_cast<int>(std::min(i, n) + 1); };

  std::size_t i = 0;
  while (i < n && (t[i] == ' ' || t[i] == '\t')) ++i;
  bool negative = false;
  if (i < n && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  const std::size_t wholeStart = i;
  while (i < n && IsDigit(t[i])) ++i;
  const std::string_view whole = t.substr(wholeStart, i - wholeStart);
  std::string_view fraction;
  if (i < n && t[i] == '.') {
    const std::size_t fractionStart = ++i;
    while (i < n && IsDigit(t[i])) ++i;
    fraction = t.substr(fractionStart, i - fractionStart);
  }
  if (whole.empty() && fraction.empty()) return failAt(i);
  std::string_view exponent;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    const std::size_t exponentStart = ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    const std::size_t firstDigit = i;
    while (i < n && IsDigit(t[i])) ++i;
    if (i == firstDigit) return failAt(i);
    exponent = t.substr(exponentStart, i - exponentStart);
  }
  if (i < n) return failAt(i);

  // The number as from_chars reads it: the sign if negative, then the
  // mantissa and exponent as written.
  double parsed = 0;
  char buffer[128];
  std::string canonical;
  const char* first = nullptr;
  const char* last = nullptr;
  const std::size_t length = (negative ? 1 : 0) + whole.size() + 1 + fraction.size() + 2 + exponent.size() + 2;
  if (length <= sizeof buffer) {
    std::size_t pos = 0;
    if (negative) buffer[pos++] = '-';
    if (whole.empty()) buffer[pos++] = '0';
    std::memcpy(buffer + pos, whole.data(), whole.size());
    pos += whole.size();
    buffer[pos++] = '.';
    if (fraction.empty()) buffer[pos++] = '0';
    std::memcpy(buffer + pos, fraction.data(), fraction.size());
    pos += fraction.size();
    if (!exponent.empty()) {
      buffer[pos++] = 'e';
      std::memcpy(buffer + pos, exponent.data(), exponent.size());
      pos += exponent.size();
    }
    first = buffer;
    last = buffer + pos;
  } else {
    canonical = negative ? "-" : "";
    canonical += std::string(whole.empty() ? "0" : whole) + "." + std::string(fraction.empty() ? "0" : fraction);
    if (!exponent.empty()) canonical += "e" + std::string(exponent);
    first = canonical.data();
    last = canonical.data() + canonical.size();
  }
  auto [end, ec] = std::from_chars(first, last, parsed);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Too large, or too small to be anything but zero: find out which from
    // the position of the first significant digit and the exponent.
    std::size_t firstSignificant = whole.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos) {
      const std::size_t inFraction = fraction.find_first_not_of('0');
      firstSignificant = inFraction == std::string_view::npos ? std::string::npos : whole.size() + inFraction;
    }
    long long magnitude = static_cast<long long>(whole.size()) - static_cast<long long>(firstSignificant);
    long long power = 0;
    for (char c : exponent)
      if (IsDigit(c)) power = std::min(power * 10 + (c - '0'), 1'000'000'000LL);
    if (!exponent.empty() && exponent[0] == '-') power = -power;
    if (magnitude + power > 0) return failAt(n);
    parsed = negative ? -0.0 : 0.0;
  } else if (ec != std::errc()) {
    return failAt(n);
  }
  value = parsed;
  return 0;
}

}  // namespace

bool TextToFloat(std::string_view text, double& value, int& code) {
  code = ReadNumber(text, value);
  if (code != 0 && text.find(',') != std::string_view::npos) code = ReadNumber(CommaToPoint(text), value);
  return code == 0;
}

namespace {

template <typename Better>
double ScanArray(std::span<const double> values, int n, Better better) {
  if (values.empty()) return 0;
  const std::size_t count = n <= 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), values.size());
  double result = values[0];
  for (std::size_t i = 0; i < count; ++i) better(result, values[i]);
  return result;
}

}  // namespace

double MinOfArray(std::span<const double> values, int n) {
  return ScanArray(values, n, [](double& r, double v) { if (v < r) r = v; });
}

double MaxOfArray(std::span<const double> values, int n) {
  return ScanArray(values, n, [](double& r, double v) { if (v > r) r = v; });
}

double MaxAbsOfArray(std::span<const double> values, int n) {
  return ScanArray(values, n, [](double& r, double v) { if (std::fabs(v) > r) r = std::fabs(v); });
}

}  // namespace pakro

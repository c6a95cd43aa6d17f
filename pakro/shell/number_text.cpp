#include "pakro/shell/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
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

// The powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1E0,  1E1,  1E2,  1E3,  1E4,  1E5,  1E6,  1E7,  1E8,  1E9,  1E10, 1E11,
                                   1E12, 1E13, 1E14, 1E15, 1E16, 1E17, 1E18, 1E19, 1E20, 1E21, 1E22};
constexpr int kMaxExactPower = 22;

// The digits that rounding the 18-digit expansion of a double magnitude
// half up at `precision` digits gives, found with one scaling by a power of
// ten. The scaled value is off by far less than the margin kept around the
// point halfway between two results, and any value that comes near it, or
// near the bounds of the digit count, is left to the exact conversion
// (false). Outside that margin the 18-digit rounding cannot move the result.
bool QuickRoundedDigits(double magnitude, int precision, char* digits, int& count, int& exponent) {
  if (precision > 8 || !(magnitude >= 1E-300 && magnitude <= 1E300)) return false;
  // Digits before the point, from the binary exponent (78913 / 2^18 is just
  // below log10 2); corrected below.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
  int e = ((binaryExponent * 78913) >> 18) + 1;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int k = precision - e;
    if (k < -kMaxExactPower || k > kMaxExactPower) return false;
    const double scaled = k >= 0 ? magnitude * kPowersOfTen[k] : magnitude / kPowersOfTen[-k];
    const double low = kPowersOfTen[precision - 1], high = kPowersOfTen[precision];
    constexpr double margin = 1E-6;
    if (scaled < low * (1 - margin)) {
      --e;
      continue;
    }
    if (scaled >= high * (1 + margin)) {
      ++e;
      continue;
    }
    if (scaled < low * (1 + margin) || scaled >= high * (1 - margin)) return false;
    const double whole = static_cast<double>(static_cast<std::uint64_t>(scaled));
    const double rest = scaled - whole;
    if (std::fabs(rest - 0.5) < margin) return false;
    auto n = static_cast<std::uint64_t>(whole) + (rest > 0.5 ? 1 : 0);
    if (n == static_cast<std::uint64_t>(high)) {
      digits[0] = '1';
      count = 1;
      exponent = e + 1;
      return true;
    }
    // Two digits at a time.
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    int i = precision;
    for (; i >= 2; i -= 2) {
      const auto pair = static_cast<std::size_t>(n % 100) * 2;
      n /= 100;
      digits[i - 2] = kPairs[pair];
      digits[i - 1] = kPairs[pair + 1];
    }
    if (i == 1) digits[0] = static_cast<char>('0' + n % 10);
    count = precision;
    exponent = e;
    return true;
  }
  return false;
}

// Appends text to out at pos.
void Put(char* out, std::size_t& pos, const char* text, std::size_t n) {
  std::memcpy(out + pos, text, n);
  pos += n;
}

}  // namespace

namespace {

// The text of a finite nonzero value from its digits, rounded half up at
// the precision here, and the number of digits before the point.
std::size_t Layout(char (&out)[FloatTextCapacity], int precision, bool negative, char* digits, int count, int e) {
  std::size_t pos = 0;
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

  if (negative) out[pos++] = '-';
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

// The texts of the values that have no digits; 0 for the others.
std::size_t SpecialText(char (&out)[FloatTextCapacity], long double value) {
  std::size_t pos = 0;
  if (std::isnan(value)) {
    Put(out, pos, "NAN", 3);
  } else if (std::isinf(value)) {
    if (value < 0) out[pos++] = '-';
    Put(out, pos, "INF", 3);
  } else if (value == 0) {
    out[pos++] = '0';
  }
  return pos;
}

}  // namespace

std::size_t FloatToChars(char (&out)[FloatTextCapacity], int precision, long double value) {
  if (const std::size_t special = SpecialText(out, value)) return special;
  precision = std::clamp(precision, 1, 18);
  DecimalDigits d;
  int count = 0;
  int e = 0;
  const long double magnitude = std::fabs(value);
  const double narrow = static_cast<double>(magnitude);
  if (static_cast<long double>(narrow) != magnitude || !QuickRoundedDigits(narrow, precision, d.digits, count, e)) {
    ToDecimalDigits(magnitude, d);
    count = d.count;
    e = d.exponent;
  }
  return Layout(out, precision, value < 0, d.digits, count, e);
}

std::size_t FloatToChars(char (&out)[FloatTextCapacity], int precision, double value) {
  const double magnitude = std::fabs(value);
  char digits[20];
  int count = 0;
  int e = 0;
  const int p = std::clamp(precision, 1, 18);
  // NaN fails the first test, infinity the quick digits.
  if (magnitude > 0 && QuickRoundedDigits(magnitude, p, digits, count, e))
    return Layout(out, p, value < 0, digits, count, e);
  return FloatToChars(out, precision, static_cast<long double>(value));
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

  // A mantissa of at most 15 digits scaled by at most 22 decimal places is
  // one exact double times or divided by another, a single correctly
  // rounded operation: the value that from_chars gives.
  if (whole.size() + fraction.size() <= 15 && exponent.size() <= 3) {
    std::uint64_t mantissa = 0;
    for (char c : whole) mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
    for (char c : fraction) mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
    int power = 0;
    for (char c : exponent)
      if (IsDigit(c)) power = power * 10 + (c - '0');
    if (!exponent.empty() && exponent[0] == '-') power = -power;
    power -= static_cast<int>(fraction.size());
    if (power >= -kMaxExactPower && power <= kMaxExactPower) {
      const double m = static_cast<double>(mantissa);
      double quick = power >= 0 ? m * kPowersOfTen[power] : m / kPowersOfTen[-power];
      if (negative) quick = -quick;
      value = quick;
      return 0;
    }
  }

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
    auto append = [&](std::string_view part) {
      for (char c : part) buffer[pos++] = c;
    };
    if (negative) append("-");
    append(whole.empty() ? "0" : whole);
    append(".");
    append(fraction.empty() ? "0" : fraction);
    if (!exponent.empty()) {
      append("e");
      append(exponent);
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

#include "number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace pakro {

std::string CommaToPoint(std::string_view text) {
  std::string result(text);
  if (auto pos = result.find(','); pos != std::string::npos) result[pos] = '.';
  return result;
}

namespace {

// The value's magnitude as 18 significant decimal digits and the number of
// digits before the decimal point.
struct DecimalDigits {
  std::string digits;
  int exponent = 0;
};

DecimalDigits ToDecimalDigits(long double magnitude) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                 std::chars_format::scientific, 17);
  DecimalDigits result;
  const char* p = buffer;
  for (; p != end && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') result.digits += *p;
  if (p != end) result.exponent = std::atoi(std::string(p + 1, static_cast<const char*>(end)).c_str()) + 1;
  (void)ec;
  return result;
}

}  // namespace

std::string FloatToText(FloatFormat /*format*/, int precision, int /*digits*/, long double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  precision = std::clamp(precision, 1, 18);

  DecimalDigits d = ToDecimalDigits(std::fabs(value));
  std::string& digits = d.digits;
  int e = d.exponent;
  if (static_cast<int>(digits.size()) > precision) {
    const bool up = digits[precision] >= '5';
    digits.resize(precision);
    if (up) {
      int i = precision - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i < 0) {
        digits = "1";
        ++e;
      } else {
        ++digits[i];
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (e >= -3 && e <= precision) {
    if (e > 0) {
      out += digits.substr(0, std::min(count, e));
      if (count < e) out.append(e - count, '0');
      if (count > e) out += "." + digits.substr(e);
    } else {
      out += "0." + std::string(-e, '0') + digits;
    }
  } else {
    out += digits[0];
    if (count > 1) out += "." + digits.substr(1);
    out += "E";
    out += std::to_string(e - 1);
  }
  return out;
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
  std::string whole, fraction;
  while (i < n && IsDigit(t[i])) whole += t[i++];
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && IsDigit(t[i])) fraction += t[i++];
  }
  if (whole.empty() && fraction.empty()) return failAt(i);
  std::string exponent;
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) exponent += t[i++];
    const std::size_t firstDigit = i;
    while (i < n && IsDigit(t[i])) exponent += t[i++];
    if (i == firstDigit) return failAt(i);
  }
  if (i < n) return failAt(i);

  std::string canonical = negative ? "-" : "";
  canonical += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
  if (!exponent.empty()) canonical += "e" + exponent;
  double parsed = 0;
  auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), parsed);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Too large, or too small to be anything but zero: find out which from
    // the position of the first significant digit and the exponent.
    const std::string mantissa = whole + fraction;
    const std::size_t first = mantissa.find_first_not_of('0');
    long long magnitude = static_cast<long long>(whole.size()) - static_cast<long long>(first);
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

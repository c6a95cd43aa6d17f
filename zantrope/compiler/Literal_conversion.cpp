#include "compiler/Literal_conversion.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace zantrope {

namespace {

int digit_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// Reads digits with single underscores between them from `text` at `pos`;
// the digits (underscores dropped) go to `digits`. False when no digit
// starts there or an underscore is not between two digits.
bool read_digits(std::string_view text, std::size_t& pos, bool extended, std::string& digits) {
  const auto is_digit = [extended](char c) {
    return extended ? digit_value(c) < 16 : (c >= '0' && c <= '9');
  };
  if (pos >= text.size() || !is_digit(text[pos])) return false;
  digits += text[pos++];
  while (pos < text.size()) {
    if (text[pos] == '_') {
      if (pos + 1 >= text.size() || !is_digit(text[pos + 1])) return false;
      ++pos;
    }
    if (!is_digit(text[pos])) break;
    digits += text[pos++];
  }
  return true;
}

t_abstract_value failed(std::string why, bool is_real) {
  t_abstract_value v;
  v.is_real = is_real;
  v.error = std::move(why);
  return v;
}

constexpr std::int64_t kIntegerMax = std::numeric_limits<std::int32_t>::max();

// digits (already checked against the base) times base^exponent as an
// integer no larger than kIntegerMax; false on overflow.
bool integer_value(const std::string& digits, int base, std::int64_t exponent,
                   std::int64_t& value) {
  value = 0;
  for (char c : digits) {
    value = value * base + digit_value(c);
    if (value > kIntegerMax) return false;
  }
  for (std::int64_t i = 0; i < exponent && value != 0; ++i) {
    value *= base;
    if (value > kIntegerMax) return false;
  }
  return true;
}

}  // namespace

t_abstract_value convert_abstract_literal(std::string_view text) {
  const bool is_real = text.find('.') != std::string_view::npos;
  std::size_t pos = 0;
  std::string first;
  if (!read_digits(text, pos, false, first)) return failed("malformed abstract literal", is_real);

  int base = 10;
  std::string whole = first;
  std::string fraction;
  bool based = false;
  if (pos < text.size() && (text[pos] == '#' || text[pos] == ':')) {
    based = true;
    const char delimiter = text[pos++];
    std::int64_t b = 0;
    for (char c : first) {
      b = b * 10 + (c - '0');
      if (b > 16) break;
    }
    if (b < 2 || b > 16) return failed("base of a based literal must be 2 to 16", is_real);
    base = int(b);
    whole.clear();
    if (!read_digits(text, pos, true, whole)) return failed("malformed based literal", is_real);
    if (pos < text.size() && text[pos] == '.') {
      ++pos;
      if (!read_digits(text, pos, true, fraction))
        return failed("malformed based literal", is_real);
    }
    if (pos >= text.size() || text[pos] != delimiter)
      return failed("malformed based literal", is_real);
    ++pos;
    for (char c : whole + fraction)
      if (digit_value(c) >= base)
        return failed(std::string("digit '") + c + "' not allowed in base " +
                          std::to_string(base),
                      is_real);
  } else if (pos < text.size() && text[pos] == '.') {
    ++pos;
    if (!read_digits(text, pos, false, fraction))
      return failed("malformed abstract literal", is_real);
  }

  std::int64_t exponent = 0;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    std::string digits;
    if (!read_digits(text, pos, false, digits)) return failed("malformed exponent", is_real);
    for (char c : digits) {
      exponent = exponent * 10 + (c - '0');
      if (exponent > 100000) break;  // far beyond any representable value
    }
    if (negative) exponent = -exponent;
  }
  if (pos != text.size()) return failed("malformed abstract literal", is_real);
  t_abstract_value v;
  v.is_real = is_real;
  if (!is_real) {
    if (exponent < 0) return failed("negative exponent in an integer literal", false);
    std::int64_t value = 0;
    if (!integer_value(whole, base, exponent, value))
      return failed("integer literal out of range", false);
    v.integer = std::int32_t(value);
    return v;
  }

  double real = 0.0;
  if (!based) {
    // Decimal: the standard conversion rounds correctly and ignores the locale.
    std::string clean = whole + "." + fraction + "e" + std::to_string(exponent);
    const auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), real,
                                           std::chars_format::scientific);
    if (ec != std::errc() || end != clean.data() + clean.size() || !std::isfinite(real))
      return failed("real literal out of range", true);
  } else {
    long double mantissa = 0;
    for (char c : whole + fraction) mantissa = mantissa * base + digit_value(c);
    const long double scaled =
        mantissa * std::pow((long double)base, (long double)(exponent - std::int64_t(fraction.size())));
    if (!std::isfinite(scaled) || scaled > std::numeric_limits<double>::max())
      return failed("real literal out of range", true);
    real = double(scaled);
  }
  v.real = real;
  return v;
}

namespace {
struct t_time_unit {
  std::string_view name;
  std::int64_t femtoseconds;
};
constexpr std::array<t_time_unit, 8> kTimeUnitFactors = {{
    {"fs", 1},
    {"ps", 1'000},
    {"ns", 1'000'000},
    {"us", 1'000'000'000},
    {"ms", 1'000'000'000'000},
    {"sec", 1'000'000'000'000'000},
    {"min", 60'000'000'000'000'000},
    {"hr", 3'600'000'000'000'000'000},
}};

t_physical_value physical_failed() {
  t_physical_value v;
  v.error = "physical literal out of range";
  return v;
}
}  // namespace

std::optional<std::int64_t> time_unit_factor(std::string_view unit) {
  std::string lower(unit);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  for (const t_time_unit& u : kTimeUnitFactors)
    if (u.name == lower) return u.femtoseconds;
  return std::nullopt;
}

t_physical_value convert_physical_integer(std::int64_t number, std::string_view unit) {
  const std::int64_t factor = time_unit_factor(unit).value_or(1);
  t_physical_value v;
  if (__builtin_mul_overflow(number, factor, &v.femtoseconds)) return physical_failed();
  v.scaled = double(v.femtoseconds);
  return v;
}

namespace {
// digits x 10^scale x factor truncated toward zero, from the text of a
// decimal literal; false when the text is not one or the digits are too
// many for an exact product.
bool exact_decimal_product(std::string_view text, std::int64_t factor, std::int64_t& out) {
  std::string digits;
  std::size_t pos = 0;
  std::int64_t scale = 0;
  bool in_fraction = false;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c >= '0' && c <= '9') {
      digits += c;
      if (in_fraction) --scale;
    } else if (c == '.' && !in_fraction) {
      in_fraction = true;
    } else if (c != '_') {
      break;
    }
  }
  if (pos < text.size()) {
    if (text[pos] != 'e' && text[pos] != 'E') return false;
    std::int64_t exponent = 0;
    bool negative = false;
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    for (; pos < text.size(); ++pos) {
      if (text[pos] == '_') continue;
      if (text[pos] < '0' || text[pos] > '9') return false;
      exponent = exponent * 10 + (text[pos] - '0');
      if (exponent > 1000) return false;
    }
    scale += negative ? -exponent : exponent;
  }
  while (digits.size() > 1 && digits[0] == '0') digits.erase(0, 1);
  // Below 10^19 digits times a factor below 2^62 stay far inside 128 bits.
  if (digits.empty() || digits.size() > 19) return false;
  __int128 value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  value *= factor;
  const __int128 limit = std::numeric_limits<std::int64_t>::max();
  for (; scale > 0; --scale) {
    value *= 10;
    if (value > limit) return false;
  }
  for (; scale < 0 && value != 0; ++scale) value /= 10;
  if (value > limit) return false;
  out = std::int64_t(value);
  return true;
}
}  // namespace

t_physical_value convert_physical_real(double number, std::string_view unit,
                                       std::string_view text) {
  const std::int64_t factor = time_unit_factor(unit).value_or(1);
  if (!text.empty() && std::isfinite(number)) {
    t_physical_value v;
    if (exact_decimal_product(text, factor, v.femtoseconds)) {
      v.scaled = double(v.femtoseconds);
      return v;
    }
  }
  // The product is formed in long double so that values like 1.5 us come
  // out exact, then truncated toward zero.
  const long double scaled = (long double)number * (long double)factor;
  // 2^63 is the first value beyond the count.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9223372036854775808.0L)
    return physical_failed();
  t_physical_value v;
  v.scaled = double(scaled);
  v.femtoseconds = std::int64_t(scaled);
  return v;
}

}  // namespace zantrope

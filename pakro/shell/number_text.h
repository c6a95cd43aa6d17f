#pragma once
// How every number of the parameter extractor is written and read: always
// with "." as the decimal point, whatever the locale; a "," is accepted on
// input. Also the three array scans the curves and the fits use.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace pakro {

// The number formats FloatToText knows. Every caller writes the general
// format.
enum class FloatFormat { General };

// The text with its first "," replaced by "."; nothing else is touched.
std::string CommaToPoint(std::string_view text);

// The value in the general format at the given number of significant digits
// (1 to 18; values outside are taken as the nearest of these): fixed
// notation when the decimal exponent e (digits before the point) satisfies
// -3 <= e <= precision, otherwise d.dddE[-]x. The value is taken to 18
// significant digits first and that digit string is rounded half up, so
// 1.125 at precision 3 is "1.13". Zero (also negative zero) is "0". The
// digits argument has no effect in the general format.
std::string FloatToText(FloatFormat format, int precision, int digits, long double value);

// Room for any text of FloatToChars.
constexpr std::size_t FloatTextCapacity = 40;
// FloatToText's text in the general format, written to out without the
// terminating zero; returns its length.
std::size_t FloatToChars(char (&out)[FloatTextCapacity], int precision, long double value);
// The same text for a double, quicker.
std::size_t FloatToChars(char (&out)[FloatTextCapacity], int precision, double value);

// Reads a decimal number: leading blanks, an optional sign, digits with an
// optional "." (at least one digit before or after it: ".5" and "5." are
// numbers), an optional exponent "E"/"e" with an optional sign and at least
// one digit; the whole text must be consumed. code is 0 on success,
// otherwise the 1-based position of the first character that does not fit,
// or length + 1 when the text ends before the number is complete (the empty
// text gives 1) or the number is too large for a double. On failure the
// value is 0. A text that fails and holds a "," is read once more with its
// first "," turned into "."; that second reading gives the results.
// Returns code == 0.
bool TextToFloat(std::string_view text, double& value, int& code);

// The smallest, largest and largest absolute value of the first n values.
// The result starts as the first element as stored (sign included), so for
// n <= 0 it is that element. n beyond the array counts as the whole array;
// an empty array gives 0.
double MinOfArray(std::span<const double> values, int n);
double MaxOfArray(std::span<const double> values, int n);
double MaxAbsOfArray(std::span<const double> values, int n);

}  // namespace pakro

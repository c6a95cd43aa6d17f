#include "pakro/shell/frame_state.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pakro {

std::uint8_t CurrentType = kNoDeviceKind;
std::string ExeDir;
std::string HelpFile;
std::uint8_t NewMode = kNewModeUnset;
std::uint8_t CheckFailed = 0;

void resetFrameState() {
  CurrentType = kNoDeviceKind;
  ExeDir.clear();
  HelpFile.clear();
  NewMode = kNewModeUnset;
  CheckFailed = 0;
}

std::optional<int> ReadLeadingInteger(std::string_view text, std::string_view blanks) {
  std::size_t i = 0;
  while (i < text.size() && blanks.find(text[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::size_t digits = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  if (i == digits) return std::nullopt;
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int mulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  long long quotient = product / c;
  const long long remainder = product % c;
  // Round half away from zero: compare twice the remainder with the divisor.
  if (std::llabs(remainder) * 2 >= std::llabs(static_cast<long long>(c)))
    quotient += ((product < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(quotient);
}

}  // namespace pakro

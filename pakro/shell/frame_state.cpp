#include "frame_state.h"

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

#include <gtest/gtest.h>

#include "frame_state.h"

namespace pakro {
namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  struct Case {
    int a, b, c, expected;
  };
  const Case cases[] = {
      {62, 120, 96, 78},     // 77.5
      {-62, 120, 96, -78},   // -77.5
      {63, 120, 96, 79},     // 78.75
      {21, 120, 96, 26},     // 26.25
      {7, 1, 2, 4},          // 3.5
      {7, -1, 2, -4},        // -3.5
      {5, 1, 3, 2},          // 1.67
      {0, 120, 96, 0},
      {5, 1, 0, -1},         // no divisor
      {2000000000, 3, 4, 1500000000},  // the product needs 64 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(DeviceKind, CodesOneToEightAreKinds) {
  for (int code = -1; code <= 10; ++code)
    EXPECT_EQ(isDeviceKind(code), code >= 1 && code <= 8) << code;
}

}  // namespace
}  // namespace pakro

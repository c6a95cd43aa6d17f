#pragma once
// Building expected object-stream bytes by hand.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace zantrope::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes u32(std::uint32_t n) {
  return {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)};
}

inline Bytes u16(std::uint16_t n) { return {std::uint8_t(n), std::uint8_t(n >> 8)}; }

// A stream string: n = characters + 1, the characters, a zero byte.
inline Bytes str(const std::string& s) {
  Bytes out = u32(std::uint32_t(s.size() + 1));
  out.insert(out.end(), s.begin(), s.end());
  out.push_back(0);
  return out;
}

inline Bytes f64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, 8);
  Bytes out;
  for (int i = 0; i < 8; ++i) out.push_back(std::uint8_t(bits >> (8 * i)));
  return out;
}

}  // namespace zantrope::testing

#pragma once
// Byte fixtures written field by field from the file format, independent of
// the code that reads and writes it.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace wendro::testing {

class Bytes {
 public:
  Bytes& U8(int v) {
    b_ += char(std::uint8_t(v));
    return *this;
  }
  Bytes& I16(int v) {
    const auto u = std::uint16_t(v);
    return U8(u & 0xFF).U8(u >> 8);
  }
  Bytes& I32(std::int64_t v) {
    const auto u = std::uint32_t(v);
    return U8(u & 0xFF).U8((u >> 8) & 0xFF).U8((u >> 16) & 0xFF).U8(u >> 24);
  }
  Bytes& F64(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    return I32(std::int64_t(u & 0xFFFFFFFF)).I32(std::int64_t(u >> 32));
  }
  Bytes& Raw(std::string_view s) {
    b_ += s;
    return *this;
  }
  Bytes& Raw(const Bytes& other) { return Raw(other.str()); }
  Bytes& Zeros(int n) { return Raw(std::string(std::size_t(n), '\0')); }
  // Stream string: length byte n + 1, the characters, NUL.
  Bytes& Str(std::string_view s) { return U8(int(s.size()) + 1).Raw(s).U8(0); }
  // Short string of an item: length byte n, the characters, NUL.
  Bytes& Short(std::string_view s) { return U8(int(s.size())).Raw(s).U8(0); }
  Bytes& Rect(int l, int t, int r, int b) { return I16(l).I16(t).I16(r).I16(b); }
  Bytes& Point(int x, int y) { return I16(x).I16(y); }
  Bytes& Cap(int kind, int size, int colour) { return U8(kind).I16(size).I32(colour); }

  Bytes& Magic() { return Raw(std::string_view("OBSS\x1A\x01\x00", 7)).I32(0); }
  Bytes& Header(int type, int version, std::int64_t size) {
    return I16(type).I16(version).I32(size);
  }
  Bytes& Record(int type, int version, const Bytes& body) {
    return Header(type, version, std::int64_t(body.size())).Raw(body);
  }
  Bytes& End() { return Header(255, 0, 0); }
  Bytes& Item(int type, int version, const Bytes& payload) {
    return I32(type).I32(version).I32(std::int64_t(payload.size())).Raw(payload);
  }

  std::size_t size() const { return b_.size(); }
  const std::string& str() const { return b_; }

 private:
  std::string b_;
};

}  // namespace wendro::testing

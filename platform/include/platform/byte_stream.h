#pragma once
// Bytes in the little-endian layout of the suite's binary files: fixed-width
// integer and IEEE float codecs over raw buffers, and a byte stream held in
// memory. A read that needs more bytes than the stream holds raises
// StreamError, the one error of every byte reader.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform {

// --- little-endian field codecs ------------------------------------------------

inline std::uint16_t LoadU16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline std::int16_t LoadI16(const std::uint8_t* p) { return std::int16_t(LoadU16(p)); }
inline std::uint32_t LoadU32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}
inline std::int32_t LoadI32(const std::uint8_t* p) { return std::int32_t(LoadU32(p)); }
inline std::uint64_t LoadU64(const std::uint8_t* p) {
  return std::uint64_t(LoadU32(p)) | (std::uint64_t(LoadU32(p + 4)) << 32);
}
inline double LoadF64(const std::uint8_t* p) {
  const std::uint64_t bits = LoadU64(p);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
  p[0] = std::uint8_t(v);
  p[1] = std::uint8_t(v >> 8);
}
inline void StoreI16(std::uint8_t* p, std::int16_t v) { StoreU16(p, std::uint16_t(v)); }
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(v >> (8 * i));
}
inline void StoreI32(std::uint8_t* p, std::int32_t v) { StoreU32(p, std::uint32_t(v)); }
inline void StoreU64(std::uint8_t* p, std::uint64_t v) {
  StoreU32(p, std::uint32_t(v));
  StoreU32(p + 4, std::uint32_t(v >> 32));
}
inline void StoreF64(std::uint8_t* p, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  StoreU64(p, bits);
}

// --- the memory stream -----------------------------------------------------------

// A byte stream that cannot give the bytes asked of it: a read past the end
// of the bytes at hand, or a stream whose file cannot be opened or written.
class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A growable byte buffer with one position for reading and writing. Writing
// past the end extends the buffer (a gap after a seek beyond the end reads as
// zeros); reading past it raises StreamError and leaves the position where
// it was.
class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : data_(std::move(bytes)) {}

  void read(void* into, std::size_t n) {
    require(n);
    if (n) std::memcpy(into, data_.data() + pos_, n);
    pos_ += n;
  }
  void write(const void* from, std::size_t n) {
    if (n == 0) return;
    if (pos_ == data_.size()) {
      data_.append(static_cast<const char*>(from), n);
    } else {
      if (pos_ + n > data_.size()) data_.resize(pos_ + n);
      std::memcpy(data_.data() + pos_, from, n);
    }
    pos_ += n;
  }
  // Raises StreamError when fewer than n bytes remain after the position.
  void require(std::uint64_t n, std::string_view what = "read") const {
    if (n > remaining())
      throw StreamError("Stream read error: " + std::string(what) + " needs " +
                           std::to_string(n) + " bytes, " + std::to_string(remaining()) +
                           " remain");
  }

  std::uint8_t readU8() {
    std::uint8_t b;
    read(&b, 1);
    return b;
  }
  std::uint16_t readU16() { return LoadU16(take<2>()); }
  std::uint32_t readU32() { return LoadU32(take<4>()); }
  std::int32_t readI32() { return std::int32_t(readU32()); }
  double readF64() { return LoadF64(take<8>()); }
  void writeU8(std::uint8_t v) { write(&v, 1); }
  void writeU16(std::uint16_t v) { std::uint8_t b[2]; StoreU16(b, v); write(b, 2); }
  void writeU32(std::uint32_t v) { std::uint8_t b[4]; StoreU32(b, v); write(b, 4); }
  void writeI32(std::int32_t v) { writeU32(std::uint32_t(v)); }
  void writeF64(double v) { std::uint8_t b[8]; StoreF64(b, v); write(b, 8); }

  std::size_t position() const { return pos_; }
  std::size_t size() const { return data_.size(); }
  std::uint64_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
  void seek(std::size_t pos) { pos_ = pos; }
  const std::string& bytes() const { return data_; }
  std::string takeBytes() {
    pos_ = 0;
    return std::move(data_);
  }

 private:
  template <std::size_t N>
  const std::uint8_t* take() {
    require(N);
    const auto* p = reinterpret_cast<const std::uint8_t*>(data_.data() + pos_);
    pos_ += N;
    return p;
  }
  std::string data_;
  std::size_t pos_ = 0;
};

}  // namespace platform

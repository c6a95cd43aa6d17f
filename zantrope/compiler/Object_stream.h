#pragma once
// Byte streams (in memory and on file) and the stream-string encoding of the
// object stream. All numbers are little-endian. A read that needs more bytes
// than the stream holds throws stream_error.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_stream.h"

namespace platform {
class BinaryFileWriter;
}

namespace zantrope {

using stream_error = platform::StreamError;

class t_stream {
 public:
  virtual ~t_stream() = default;
  // Reads exactly n bytes or throws stream_error.
  virtual void read_bytes(void* into, std::size_t n) = 0;
  virtual void write_bytes(const void* from, std::size_t n) = 0;
  // Bytes between the position and the end.
  virtual std::uint64_t remaining() const = 0;

  std::uint8_t read_u8();
  std::uint16_t read_u16();
  std::uint32_t read_u32();
  std::int32_t read_i32() { return std::int32_t(read_u32()); }
  double read_f64();
  void write_u8(std::uint8_t v) { write_bytes(&v, 1); }
  void write_u16(std::uint16_t v);
  void write_u32(std::uint32_t v);
  void write_i32(std::int32_t v) { write_u32(std::uint32_t(v)); }
  void write_f64(double v);
  // Throws stream_error when fewer than n bytes remain.
  void require(std::uint64_t n, const char* what) const;
};

class t_memory_stream final : public t_stream {
 public:
  t_memory_stream() = default;
  explicit t_memory_stream(const std::vector<std::uint8_t>& bytes)
      : data_(std::string(bytes.begin(), bytes.end())) {}
  void read_bytes(void* into, std::size_t n) override { data_.read(into, n); }
  void write_bytes(const void* from, std::size_t n) override { data_.write(from, n); }
  std::uint64_t remaining() const override { return data_.remaining(); }
  std::vector<std::uint8_t> bytes() const {
    return std::vector<std::uint8_t>(data_.bytes().begin(), data_.bytes().end());
  }
  std::string take_bytes() { return data_.takeBytes(); }
  std::size_t size() const { return data_.size(); }
  std::size_t position() const { return data_.position(); }
  void seek(std::size_t pos) { data_.seek(pos < data_.size() ? pos : data_.size()); }

 private:
  platform::MemoryStream data_;
};

// A file read from its start, or a file created whole: a created file
// takes the place of the target only when close succeeds; a stream given up
// before that leaves the target as it was. A file is read whole when it is
// opened: only a regular file of at most kMaxReadBytes is taken.
class t_file_stream final : public t_stream {
 public:
  enum class mode { read, create };
  static constexpr std::size_t kMaxReadBytes = std::size_t(64) << 20;
  // Throws stream_error when the file cannot be opened or created.
  t_file_stream(const std::string& path, mode m);
  ~t_file_stream() override;
  t_file_stream(const t_file_stream&) = delete;
  t_file_stream& operator=(const t_file_stream&) = delete;
  void read_bytes(void* into, std::size_t n) override;
  void write_bytes(const void* from, std::size_t n) override;
  std::uint64_t remaining() const override;
  // Closes; a created file is completed and put in place of the target.
  // Throws stream_error when the data did not reach the file.
  void close();

 private:
  std::string path_;
  platform::MemoryStream read_;
  std::unique_ptr<platform::BinaryFileWriter> writer_;
  bool reading_ = false;
};

// int32 n = characters + 1, the characters, one zero byte.
void write_stream_string(std::string_view text, t_stream& stream);
// Reads n and n bytes; the text ends at the first zero byte. A length that
// is negative or larger than what remains throws stream_error.
void read_stream_string(std::string& text, t_stream& stream);

}  // namespace zantrope

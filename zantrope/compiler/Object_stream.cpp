#include "compiler/Object_stream.h"

#include <cerrno>
#include <cstring>

#include "platform/text_file.h"

namespace zantrope {

std::uint8_t t_stream::read_u8() {
  std::uint8_t v;
  read_bytes(&v, 1);
  return v;
}

std::uint16_t t_stream::read_u16() {
  std::uint8_t b[2];
  read_bytes(b, 2);
  return std::uint16_t(b[0] | (b[1] << 8));
}

std::uint32_t t_stream::read_u32() {
  std::uint8_t b[4];
  read_bytes(b, 4);
  return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
         std::uint32_t(b[3]) << 24;
}

double t_stream::read_f64() {
  std::uint8_t b[8];
  read_bytes(b, 8);
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | b[i];
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void t_stream::write_u16(std::uint16_t v) {
  const std::uint8_t b[2] = {std::uint8_t(v), std::uint8_t(v >> 8)};
  write_bytes(b, 2);
}

void t_stream::write_u32(std::uint32_t v) {
  const std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                             std::uint8_t(v >> 24)};
  write_bytes(b, 4);
}

void t_stream::write_f64(double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  std::uint8_t b[8];
  for (int i = 0; i < 8; ++i) b[i] = std::uint8_t(bits >> (8 * i));
  write_bytes(b, 8);
}

void t_stream::require(std::uint64_t n, const char* what) const {
  if (n > remaining())
    throw stream_error(std::string("Stream read error: ") + what + " needs " + std::to_string(n) +
                       " bytes, " + std::to_string(remaining()) + " remain");
}

void t_memory_stream::read_bytes(void* into, std::size_t n) {
  require(n, "read");
  if (n) std::memcpy(into, data_.data() + pos_, n);
  pos_ += n;
}

void t_memory_stream::write_bytes(const void* from, std::size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(from);
  if (pos_ == data_.size()) {
    data_.insert(data_.end(), p, p + n);
  } else {
    if (pos_ + n > data_.size()) data_.resize(pos_ + n);
    if (n) std::memcpy(data_.data() + pos_, p, n);
  }
  pos_ += n;
}

t_file_stream::t_file_stream(const std::string& path, mode m) : path_(path) {
  if (m == mode::create) {
    try {
      writer_ = std::make_unique<platform::TextFileWriter>(path);
    } catch (const platform::FileError& error) {
      throw stream_error(error.what());
    }
    return;
  }
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_)
    throw stream_error("Cannot open file " + path + " (" + std::strerror(errno) + ")");
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    const long end = std::ftell(file_);
    size_ = end > 0 ? std::uint64_t(end) : 0;
    std::fseek(file_, 0, SEEK_SET);
  }
}

t_file_stream::~t_file_stream() {
  if (file_) std::fclose(file_);
}

void t_file_stream::read_bytes(void* into, std::size_t n) {
  require(n, "read");
  if (n && (!file_ || std::fread(into, 1, n, file_) != n)) throw stream_error("Read error: " + path_);
  pos_ += n;
}

void t_file_stream::write_bytes(const void* from, std::size_t n) {
  if (!writer_) throw stream_error("Write to a file not being created: " + path_);
  try {
    writer_->write(std::string_view(static_cast<const char*>(from), n));
  } catch (const platform::FileError& error) {
    throw stream_error(error.what());
  }
  pos_ += n;
}

std::uint64_t t_file_stream::remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }

void t_file_stream::close() {
  if (writer_) {
    const std::unique_ptr<platform::TextFileWriter> writer = std::move(writer_);
    try {
      writer->commit();
    } catch (const platform::FileError& error) {
      throw stream_error(error.what());
    }
    return;
  }
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
}

void write_stream_string(std::string_view text, t_stream& stream) {
  stream.write_i32(std::int32_t(text.size() + 1));
  stream.write_bytes(text.data(), text.size());
  stream.write_u8(0);
}

void read_stream_string(std::string& text, t_stream& stream) {
  const std::int32_t n = stream.read_i32();
  if (n < 0) throw stream_error("Stream read error: negative string length");
  stream.require(std::uint64_t(n), "string");
  std::string buffer(std::size_t(n), '\0');
  stream.read_bytes(buffer.data(), buffer.size());
  text.assign(buffer.c_str());
}

}  // namespace zantrope

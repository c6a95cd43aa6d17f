#include "compiler/Object_stream.h"

#include "platform/binary_file.h"

namespace zantrope {

std::uint8_t t_stream::read_u8() {
  std::uint8_t v;
  read_bytes(&v, 1);
  return v;
}

std::uint16_t t_stream::read_u16() {
  std::uint8_t b[2];
  read_bytes(b, 2);
  return platform::LoadU16(b);
}

std::uint32_t t_stream::read_u32() {
  std::uint8_t b[4];
  read_bytes(b, 4);
  return platform::LoadU32(b);
}

double t_stream::read_f64() {
  std::uint8_t b[8];
  read_bytes(b, 8);
  return platform::LoadF64(b);
}

void t_stream::write_u16(std::uint16_t v) {
  std::uint8_t b[2];
  platform::StoreU16(b, v);
  write_bytes(b, 2);
}

void t_stream::write_u32(std::uint32_t v) {
  std::uint8_t b[4];
  platform::StoreU32(b, v);
  write_bytes(b, 4);
}

void t_stream::write_f64(double v) {
  std::uint8_t b[8];
  platform::StoreF64(b, v);
  write_bytes(b, 8);
}

void t_stream::require(std::uint64_t n, const char* what) const {
  if (n > remaining())
    throw stream_error(std::string("Stream read error: ") + what + " needs " + std::to_string(n) +
                       " bytes, " + std::to_string(remaining()) + " remain");
}

t_file_stream::t_file_stream(const std::string& path, mode m) : path_(path) {
  try {
    if (m == mode::create) {
      writer_ = std::make_unique<platform::BinaryFileWriter>(path);
    } else {
      read_ = platform::MemoryStream(platform::readRegularFile(path, kMaxReadBytes));
      reading_ = true;
    }
  } catch (const platform::FileError& error) {
    throw stream_error(error.what());
  }
}

t_file_stream::~t_file_stream() = default;

void t_file_stream::read_bytes(void* into, std::size_t n) {
  require(n, "read");
  read_.read(into, n);
}

void t_file_stream::write_bytes(const void* from, std::size_t n) {
  if (!writer_) throw stream_error("Write to a file not being created: " + path_);
  try {
    writer_->write(from, n);
  } catch (const platform::FileError& error) {
    throw stream_error(error.what());
  }
}

std::uint64_t t_file_stream::remaining() const { return reading_ ? read_.remaining() : 0; }

void t_file_stream::close() {
  if (writer_) {
    const std::unique_ptr<platform::BinaryFileWriter> writer = std::move(writer_);
    try {
      writer->commit();
    } catch (const platform::FileError& error) {
      throw stream_error(error.what());
    }
    return;
  }
  read_ = platform::MemoryStream();
  reading_ = false;
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

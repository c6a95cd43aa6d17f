#pragma once
// The editor's typed-record object stream and the base of every object that
// is stored as one record.
//
// Stream layout (every integer little-endian, fixed width, packed):
//
//   offset 0   7 bytes  magic "OBSS" 1A 01 00
//   offset 7   int32    file word (written as 0, read and kept)
//   offset 11  ...      records, back to back, closed by the end record
//
// A record is an 8-byte header {int16 type, int16 version, int32 size}
// followed by exactly `size` body bytes. The end record is {255, 0, 0}.
//
// A stream string (inside bodies) is one length byte L = n + 1, the n
// characters and a NUL; n is at most 254 (longer texts are cut). A stored
// length byte of 0 reads as the empty string and takes one byte.
//
// Faults are kept as a sticky first error code; once one is set every
// operation does nothing (reads leave their targets unchanged):
//   4096  a read call on a write stream or a write call on a read stream
//   4097  the magic does not match on open for reading
//   4098  body overrun: a read or write would pass the current record's
//         size; also a header whose size is negative or reaches past the end
//         of the underlying stream, and a body field (a count, a length, an
//         embedded item) that does not fit the record that holds it
//   4099  a header is written before the previous body reached its size
//   4100  the underlying stream failed while the magic and file word were
//         read or written on open
// Since a header's body must lie inside the stream, a body read never runs
// past its end; a header that the stream holds only in part (cut short at
// its end) throws the underlying stream's StreamReadError.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/byte_stream.h"

namespace wendro {

// --- little-endian field access and the underlying byte stream ---------------

using platform::LoadF64;
using platform::LoadI16;
using platform::LoadI32;
using platform::LoadU16;
using platform::LoadU32;
using platform::StoreF64;
using platform::StoreI16;
using platform::StoreI32;
using platform::StoreU16;
using platform::StoreU32;

using StreamReadError = platform::StreamError;

// A seekable byte stream. The object stream never owns it.
class TStream {
 public:
  virtual ~TStream() = default;
  // Reads exactly count bytes; throws StreamReadError when fewer are left.
  virtual void Read(void* buffer, std::size_t count) = 0;
  virtual void Write(const void* buffer, std::size_t count) = 0;
  virtual std::int64_t Position() const = 0;
  virtual std::int64_t Size() const = 0;
  virtual void Seek(std::int64_t position) = 0;
};

// A byte stream held in memory (clipboard data, whole files).
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string bytes) : data_(std::move(bytes)) {}

  void Read(void* buffer, std::size_t count) override { data_.read(buffer, count); }
  void Write(const void* buffer, std::size_t count) override { data_.write(buffer, count); }
  std::int64_t Position() const override { return std::int64_t(data_.position()); }
  std::int64_t Size() const override { return std::int64_t(data_.size()); }
  void Seek(std::int64_t position) override { data_.seek(position < 0 ? 0 : std::size_t(position)); }

  const std::string& Bytes() const { return data_.bytes(); }

 private:
  platform::MemoryStream data_;
};

// --- the object stream ------------------------------------------------------

enum : std::int32_t {
  kObssWrongDirection = 4096,
  kObssBadMagic = 4097,
  kObssOverrun = 4098,
  kObssIncomplete = 4099,
  kObssOpenFailed = 4100,
};

enum : std::int16_t {
  trOBSS_FileVer = 2,
  trOBSS_End = 255,
};

enum : int { obssRead = 0, obssWrite = 1 };

inline constexpr char kObssMagic[7] = {'O', 'B', 'S', 'S', 0x1A, 0x01, 0x00};
inline constexpr std::int64_t kObssFirstRecord = 11;
inline constexpr int kObssHeaderSize = 8;
inline constexpr std::size_t kObssMaxStringChars = 254;

struct TObssHeader {
  std::int16_t type = 0;
  std::int16_t version = 0;
  std::int32_t size = 0;
};

// The version record that heads a file: six strings and one int32.
struct TObssFileVer {
  std::string text[6];
  std::int32_t number = 0;
};

// Bytes a text takes as a stream string (after cutting it to 254).
inline std::int32_t StreamStringSize(std::string_view s) {
  return std::int32_t(std::min(s.size(), kObssMaxStringChars)) + 2;
}

class toOBSS {
 public:
  // Create: binds to the stream (seeked to 0); bit 0 of mode selects
  // writing. Writing puts the magic and a file word of 0; reading checks the
  // magic (4097) and reads the file word. A failure of the underlying stream
  // in these steps gives 4100.
  toOBSS(TStream& stream, int mode);
  // Destroy (when not done explicitly); never throws.
  ~toOBSS();
  toOBSS(const toOBSS&) = delete;
  toOBSS& operator=(const toOBSS&) = delete;

  // In write mode without an error, writes the end record (its header is
  // refused with 4099 when the last record's body is incomplete).
  void Destroy();

  std::int32_t Error() const { return firstError_; }
  std::int32_t LastStatus() const { return lastStatus_; }
  void ClearError() { firstError_ = lastStatus_ = 0; }
  // Records a fault that a body reader found (a field that does not fit).
  void Fail(std::int32_t code);

  bool Writing() const { return writing_; }
  std::int32_t FileWord() const { return fileWord_; }
  bool AtEnd() const;
  // Body bytes of the current record not yet read or written.
  std::int64_t BodyRemaining() const { return std::int64_t(size_) - consumed_; }

  // Reading.
  void SkipRest();
  void ReadHeader(TObssHeader& header);
  void ReadBytes(void* buffer, std::int64_t count);
  void RewindRecord();
  void RewindFirst();
  bool FindRecord(std::int16_t type);
  void GetString(std::string& text);
  void ReadInt32(std::int32_t& value);
  void ReadInt16(std::int16_t& value);
  void ReadByte(std::uint8_t& value);
  void ReadVersion(TObssFileVer& version);

  // Writing.
  static void MakeHeader(TObssHeader& header, std::int16_t type, std::int16_t version,
                         std::int32_t size);
  void WriteHeader(const TObssHeader& header);
  void WriteHeaderFields(std::int16_t type, std::int16_t version, std::int32_t size);
  void WriteBytes(const void* buffer, std::int64_t count);
  void WriteString(std::string_view text);
  void WriteInt32(std::int32_t value);
  void WriteInt16(std::int16_t value);
  void WriteByte(std::uint8_t value);
  void WriteVersion(const TObssFileVer& version);

 private:
  // True when the call may go on: right direction and no error yet.
  bool Usable(bool wantWrite);
  void Ok() { lastStatus_ = 0; }

  TStream& stream_;
  bool writing_ = false;
  bool destroyed_ = false;
  std::int32_t firstError_ = 0;
  std::int32_t lastStatus_ = 0;
  std::int32_t spare_ = 0;
  std::int32_t fileWord_ = 0;
  std::int64_t recordPosition_ = kObssFirstRecord;
  std::int32_t size_ = 0;
  std::int64_t consumed_ = 0;
};

// Base of every object stored as one record.
class TStreamable {
 public:
  virtual ~TStreamable() = default;
  virtual std::int16_t TypeId() const = 0;
  virtual std::int16_t Version() const = 0;
  virtual std::int32_t Size() const { return 0; }
  virtual void ReadBody(toOBSS& /*stream*/, std::int16_t /*version*/) {}
  virtual void WriteBody(toOBSS& /*stream*/) const {}
  // Writes the header {TypeId, Version, Size} and the body.
  void Store(toOBSS& stream) const;

 protected:
  TStreamable() = default;
  TStreamable(const TStreamable&) = default;
  TStreamable& operator=(const TStreamable&) = default;
  // The work of the load constructor: reads the header at the stream's
  // position and the body with the header's version. The record type is not
  // compared: the caller has found a record of the right type. Call it from
  // the most derived constructor, so that its ReadBody runs.
  void Load(toOBSS& stream);
};

}  // namespace wendro

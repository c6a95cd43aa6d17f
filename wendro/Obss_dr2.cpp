#include "Obss_dr2.h"

#include <exception>

namespace wendro {

// --- toOBSS -------------------------------------------------------------------

toOBSS::toOBSS(TStream& stream, int mode) : stream_(stream), writing_((mode & 1) != 0) {
  try {
    stream_.Seek(0);
    std::uint8_t word[4];
    if (writing_) {
      stream_.Write(kObssMagic, sizeof kObssMagic);
      StoreI32(word, 0);
      stream_.Write(word, sizeof word);
    } else {
      char magic[sizeof kObssMagic];
      stream_.Read(magic, sizeof magic);
      if (std::memcmp(magic, kObssMagic, sizeof magic) != 0) {
        Fail(kObssBadMagic);
        return;
      }
      stream_.Read(word, sizeof word);
      fileWord_ = LoadI32(word);
    }
    Ok();
  } catch (const std::exception&) {
    Fail(kObssOpenFailed);
  }
}

toOBSS::~toOBSS() {
  try {
    Destroy();
  } catch (const std::exception&) {
    // The caller did not ask for the end record; a failure here has no one
    // to report to.
  }
}

void toOBSS::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  if (writing_ && firstError_ == 0) {
    TObssHeader end;
    MakeHeader(end, trOBSS_End, 0, 0);
    WriteHeader(end);
  }
  recordPosition_ = kObssFirstRecord;
  size_ = 0;
  consumed_ = 0;
}

void toOBSS::Fail(std::int32_t code) {
  lastStatus_ = code;
  if (firstError_ == 0) firstError_ = code;
}

bool toOBSS::Usable(bool wantWrite) {
  if (writing_ != wantWrite) {
    Fail(kObssWrongDirection);
    return false;
  }
  return firstError_ == 0;
}

bool toOBSS::AtEnd() const { return stream_.Position() >= stream_.Size(); }

void toOBSS::SkipRest() {
  if (!Usable(false)) return;
  if (consumed_ != size_) stream_.Seek(recordPosition_ + spare_ + size_ + kObssHeaderSize);
  recordPosition_ = stream_.Position();
  size_ = 0;
  consumed_ = 0;
  Ok();
}

void toOBSS::ReadHeader(TObssHeader& header) {
  if (!Usable(false)) return;
  SkipRest();
  std::uint8_t raw[kObssHeaderSize];
  stream_.Read(raw, sizeof raw);
  header.type = LoadI16(raw);
  header.version = LoadI16(raw + 2);
  header.size = LoadI32(raw + 4);
  consumed_ = 0;
  // A body must lie inside the stream; anything else is a damaged stream,
  // not a reason to seek or allocate.
  if (header.size < 0 || header.size > stream_.Size() - stream_.Position()) {
    size_ = 0;
    Fail(kObssOverrun);
    return;
  }
  size_ = header.size;
  Ok();
}

void toOBSS::ReadBytes(void* buffer, std::int64_t count) {
  if (!Usable(false)) return;
  if (count < 0 || count > BodyRemaining()) {
    Fail(kObssOverrun);
    return;
  }
  stream_.Read(buffer, std::size_t(count));
  consumed_ += count;
  Ok();
}

void toOBSS::RewindRecord() {
  if (!Usable(false)) return;
  stream_.Seek(recordPosition_);
  size_ = 0;
  consumed_ = 0;
  Ok();
}

void toOBSS::RewindFirst() {
  if (!Usable(false)) return;
  stream_.Seek(kObssFirstRecord);
  recordPosition_ = kObssFirstRecord;
  size_ = 0;
  consumed_ = 0;
  Ok();
}

bool toOBSS::FindRecord(std::int16_t type) {
  if (!Usable(false)) return false;
  TObssHeader header;
  // Each header read skips the unread rest of the record before it, and a
  // header's size never points outside the stream, so this loop always
  // moves forward and ends.
  while (firstError_ == 0 && !AtEnd()) {
    ReadHeader(header);
    if (firstError_ != 0) break;
    if (header.type == type) {
      RewindRecord();
      return true;
    }
  }
  return false;
}

void toOBSS::GetString(std::string& text) {
  if (!Usable(false)) return;
  std::uint8_t length = 0;
  ReadBytes(&length, 1);
  if (firstError_ != 0) return;
  if (length == 0) {
    text.clear();
    return;
  }
  std::string bytes(length, '\0');
  ReadBytes(bytes.data(), length);
  if (firstError_ != 0) return;
  bytes.resize(length - 1u);
  text = std::move(bytes);
}

void toOBSS::ReadInt32(std::int32_t& value) {
  std::uint8_t raw[4];
  ReadBytes(raw, 4);
  if (firstError_ == 0 && lastStatus_ == 0) value = LoadI32(raw);
}

void toOBSS::ReadInt16(std::int16_t& value) {
  std::uint8_t raw[2];
  ReadBytes(raw, 2);
  if (firstError_ == 0 && lastStatus_ == 0) value = LoadI16(raw);
}

void toOBSS::ReadByte(std::uint8_t& value) {
  std::uint8_t raw;
  ReadBytes(&raw, 1);
  if (firstError_ == 0 && lastStatus_ == 0) value = raw;
}

void toOBSS::ReadVersion(TObssFileVer& version) {
  if (!Usable(false)) return;
  version.text[0] = "[NO_VER]";
  RewindFirst();
  if (!FindRecord(trOBSS_FileVer)) return;
  TObssHeader header;
  ReadHeader(header);
  for (auto& text : version.text) GetString(text);
  ReadInt32(version.number);
}

void toOBSS::MakeHeader(TObssHeader& header, std::int16_t type, std::int16_t version,
                        std::int32_t size) {
  header.type = type;
  header.version = version;
  header.size = size;
}

void toOBSS::WriteHeader(const TObssHeader& header) {
  if (!Usable(true)) return;
  if (consumed_ < size_) {
    Fail(kObssIncomplete);
    return;
  }
  if (header.size < 0) {
    Fail(kObssOverrun);
    return;
  }
  std::uint8_t raw[kObssHeaderSize];
  StoreI16(raw, header.type);
  StoreI16(raw + 2, header.version);
  StoreI32(raw + 4, header.size);
  stream_.Write(raw, sizeof raw);
  size_ = header.size;
  consumed_ = 0;
  Ok();
}

void toOBSS::WriteHeaderFields(std::int16_t type, std::int16_t version, std::int32_t size) {
  TObssHeader header;
  MakeHeader(header, type, version, size);
  WriteHeader(header);
}

void toOBSS::WriteBytes(const void* buffer, std::int64_t count) {
  if (!Usable(true)) return;
  if (count < 0 || count > BodyRemaining()) {
    Fail(kObssOverrun);
    return;
  }
  stream_.Write(buffer, std::size_t(count));
  consumed_ += count;
  Ok();
}

void toOBSS::WriteString(std::string_view text) {
  const std::size_t n = std::min(text.size(), kObssMaxStringChars);
  const std::uint8_t length = std::uint8_t(n + 1);
  const std::uint8_t nul = 0;
  WriteBytes(&length, 1);
  WriteBytes(text.data(), std::int64_t(n));
  WriteBytes(&nul, 1);
}

void toOBSS::WriteInt32(std::int32_t value) {
  std::uint8_t raw[4];
  StoreI32(raw, value);
  WriteBytes(raw, 4);
}

void toOBSS::WriteInt16(std::int16_t value) {
  std::uint8_t raw[2];
  StoreI16(raw, value);
  WriteBytes(raw, 2);
}

void toOBSS::WriteByte(std::uint8_t value) { WriteBytes(&value, 1); }

void toOBSS::WriteVersion(const TObssFileVer& version) {
  std::int32_t size = 4;
  for (const auto& text : version.text) size += StreamStringSize(text);
  WriteHeaderFields(trOBSS_FileVer, 0, size);
  for (const auto& text : version.text) WriteString(text);
  WriteInt32(version.number);
}

// --- TStreamable --------------------------------------------------------------

void TStreamable::Store(toOBSS& stream) const {
  if (stream.Error() != 0) return;
  stream.WriteHeaderFields(TypeId(), Version(), Size());
  WriteBody(stream);
}

void TStreamable::Load(toOBSS& stream) {
  if (stream.Error() != 0) return;
  TObssHeader header;
  stream.ReadHeader(header);
  ReadBody(stream, header.version);
}

}  // namespace wendro

#include <gtest/gtest.h>

#include "Obss_dr2.h"
#include "fixture_bytes.h"

using namespace wendro;
using wendro::testing::Bytes;

namespace {

// A record type with a fixed body whose declared size can be made to lie.
class Sample : public TStreamable {
 public:
  explicit Sample(std::string body, std::int32_t declared = -1)
      : body_(std::move(body)), declared_(declared < 0 ? std::int32_t(body_.size()) : declared) {}
  std::int16_t TypeId() const override { return 300; }
  std::int16_t Version() const override { return 7; }
  std::int32_t Size() const override { return declared_; }
  void WriteBody(toOBSS& stream) const override {
    stream.WriteBytes(body_.data(), std::int64_t(body_.size()));
  }

 private:
  std::string body_;
  std::int32_t declared_;
};

// Reads back what Sample wrote, remembering the version it was given.
class SampleReader : public TStreamable {
 public:
  explicit SampleReader(toOBSS& stream, std::int64_t want) : want_(want) { Load(stream); }
  std::int16_t TypeId() const override { return 300; }
  std::int16_t Version() const override { return 7; }
  void ReadBody(toOBSS& stream, std::int16_t version) override {
    seenVersion = version;
    body.assign(std::size_t(want_), '\0');
    stream.ReadBytes(body.data(), want_);
  }
  std::string body;
  std::int16_t seenVersion = -1;

 private:
  std::int64_t want_;
};

// A stream whose every call fails, as a broken device would.
class BrokenStream : public TStream {
 public:
  void Read(void*, std::size_t) override { throw StreamReadError("broken"); }
  void Write(const void*, std::size_t) override { throw std::runtime_error("broken"); }
  std::int64_t Position() const override { return 0; }
  std::int64_t Size() const override { return 0; }
  void Seek(std::int64_t) override {}
};

std::string Magic() { return Bytes().Magic().str(); }

}  // namespace

TEST(ObjectStream, WritesMagicRecordsAndEndRecordAndReadsThemBack) {
  TMemoryStream memory;
  {
    toOBSS out(memory, obssWrite);
    TObssFileVer version;
    for (int i = 0; i < 6; ++i) version.text[i] = "s" + std::to_string(i);
    version.text[3] = "";
    version.number = -5;
    out.WriteVersion(version);
    Sample("abc").Store(out);
    EXPECT_EQ(out.Error(), 0);
  }  // Destroy writes the end record
  const std::string expected = Bytes()
                                   .Magic()
                                   .Record(2, 0, Bytes()
                                                     .Str("s0")
                                                     .Str("s1")
                                                     .Str("s2")
                                                     .Str("")
                                                     .Str("s4")
                                                     .Str("s5")
                                                     .I32(-5))
                                   .Record(300, 7, Bytes().Raw("abc"))
                                   .End()
                                   .str();
  EXPECT_EQ(memory.Bytes(), expected);

  toOBSS in(memory, obssRead);
  ASSERT_EQ(in.Error(), 0);
  TObssFileVer version;
  in.ReadVersion(version);
  EXPECT_EQ(version.text[0], "s0");
  EXPECT_EQ(version.text[3], "");
  EXPECT_EQ(version.text[5], "s5");
  EXPECT_EQ(version.number, -5);
  in.RewindFirst();
  ASSERT_TRUE(in.FindRecord(300));
  SampleReader sample(in, 3);
  EXPECT_EQ(sample.body, "abc");
  EXPECT_EQ(sample.seenVersion, 7);
  EXPECT_EQ(in.Error(), 0);
}

TEST(ObjectStream, OpenFailuresGiveTheirCodes) {
  TMemoryStream empty;
  EXPECT_EQ(toOBSS(empty, obssRead).Error(), kObssOpenFailed);

  TMemoryStream shortWord(Magic().substr(0, 9));  // magic, half a file word
  EXPECT_EQ(toOBSS(shortWord, obssRead).Error(), kObssOpenFailed);

  BrokenStream broken;
  EXPECT_EQ(toOBSS(broken, obssWrite).Error(), kObssOpenFailed);

  TMemoryStream other(std::string("OBSX\x1A\x01\x00", 7) + std::string(4, '\0') +
                      Bytes().End().str());
  toOBSS in(other, obssRead);
  EXPECT_EQ(in.Error(), kObssBadMagic);
  TObssFileVer version;
  version.text[0] = "untouched";
  in.ReadVersion(version);
  EXPECT_EQ(version.text[0], "untouched");
  EXPECT_FALSE(in.FindRecord(trOBSS_End));
}

TEST(ObjectStream, KeepsTheFileWord) {
  TMemoryStream memory(Bytes().Raw(std::string("OBSS\x1A\x01\x00", 7)).I32(0x01020304).End().str());
  toOBSS in(memory, obssRead);
  EXPECT_EQ(in.Error(), 0);
  EXPECT_EQ(in.FileWord(), 0x01020304);
}

TEST(ObjectStream, IncompleteBodyRefusesTheNextHeaderAndTheEndRecord) {
  TMemoryStream memory;
  {
    toOBSS out(memory, obssWrite);
    Sample("abc", 4).Store(out);  // one byte short
    EXPECT_EQ(out.Error(), 0);
    Sample("xyz").Store(out);  // TStreamable::Store still goes to WriteHeader...
    EXPECT_EQ(out.Error(), kObssIncomplete);
  }
  // ... which wrote nothing, and Destroy wrote no end record.
  EXPECT_EQ(memory.Bytes(), Magic() + Bytes().Header(300, 7, 4).Raw("abc").str());

  TMemoryStream alone;
  {
    toOBSS out(alone, obssWrite);
    Sample("ab", 3).Store(out);
    out.Destroy();
    EXPECT_EQ(out.Error(), kObssIncomplete);
  }
  EXPECT_EQ(alone.Bytes(), Magic() + Bytes().Header(300, 7, 3).Raw("ab").str());
}

TEST(ObjectStream, OverrunsAndWrongDirectionsAreStickyErrors) {
  TMemoryStream memory;
  toOBSS out(memory, obssWrite);
  Sample("abcd", 3).Store(out);  // a body longer than its size
  EXPECT_EQ(out.Error(), kObssOverrun);
  EXPECT_EQ(out.LastStatus(), kObssOverrun);
  std::uint8_t byte = 0;
  out.ReadBytes(&byte, 1);  // read call on a write stream
  EXPECT_EQ(out.Error(), kObssOverrun);  // the first error stays
  EXPECT_EQ(out.LastStatus(), kObssWrongDirection);
  const auto before = memory.Bytes();
  out.WriteHeaderFields(1, 1, 0);
  out.WriteInt32(1);
  EXPECT_EQ(memory.Bytes(), before);  // no-ops from now on
  out.ClearError();
  EXPECT_EQ(out.Error(), 0);
  EXPECT_EQ(out.LastStatus(), 0);

  TMemoryStream readable(Magic() + Bytes().Record(9, 1, Bytes().I32(42)).End().str());
  toOBSS in(readable, obssRead);
  in.WriteInt32(1);
  EXPECT_EQ(in.Error(), kObssWrongDirection);

  toOBSS again(readable, obssRead);
  TObssHeader header;
  again.ReadHeader(header);
  std::int32_t value = 7;
  again.ReadInt32(value);
  EXPECT_EQ(value, 42);
  again.ReadBytes(&byte, 1);  // past the 4-byte body
  EXPECT_EQ(again.Error(), kObssOverrun);
  value = 7;
  again.RewindRecord();
  again.ReadHeader(header);
  again.ReadInt32(value);
  EXPECT_EQ(value, 7) << "reads after an error leave their targets unchanged";
  again.ReadBytes(&byte, -1);
  EXPECT_EQ(again.LastStatus(), kObssOverrun);
}

TEST(ObjectStream, StringsAreCutAt254Characters) {
  const std::string longText(300, 'x');
  TMemoryStream memory;
  {
    toOBSS out(memory, obssWrite);
    out.WriteHeaderFields(5, 0, StreamStringSize(longText) + StreamStringSize("hi"));
    out.WriteString(longText);
    out.WriteString("hi");
    EXPECT_EQ(out.Error(), 0);
  }
  const std::string& bytes = memory.Bytes();
  ASSERT_EQ(bytes.size(), 11u + 8 + 256 + 4 + 8);
  EXPECT_EQ(std::uint8_t(bytes[19]), 255);
  EXPECT_EQ(bytes.substr(20, 254), std::string(254, 'x'));
  EXPECT_EQ(bytes[274], '\0');

  toOBSS in(memory, obssRead);
  TObssHeader header;
  in.ReadHeader(header);
  std::string text, hi;
  in.GetString(text);
  in.GetString(hi);
  EXPECT_EQ(text, std::string(254, 'x'));
  EXPECT_EQ(hi, "hi");
}

TEST(ObjectStream, StringReadingTakesItsLengthByteAsWritten) {
  // Length byte 0 (never written) is the empty string; a length past the
  // record is an overrun; the byte before the NUL is the last character.
  TMemoryStream memory(Magic() + Bytes()
                                     .Record(5, 0, Bytes().U8(0).U8(3).Raw("ab").U8(0).U8(9).Raw("xy"))
                                     .End()
                                     .str());
  toOBSS in(memory, obssRead);
  TObssHeader header;
  in.ReadHeader(header);
  std::string first = "old", second, third = "kept";
  in.GetString(first);
  in.GetString(second);
  EXPECT_EQ(first, "");
  EXPECT_EQ(second, "ab");
  EXPECT_EQ(in.Error(), 0);
  in.GetString(third);
  EXPECT_EQ(in.Error(), kObssOverrun);
  EXPECT_EQ(third, "kept");
}

TEST(ObjectStream, FindRecordSkipsOtherRecordsAndUnreadBodies) {
  TMemoryStream memory(Magic() + Bytes()
                                     .Record(7, 0, Bytes().I32(1).I32(2))
                                     .End()
                                     .Record(8, 3, Bytes().I32(33))
                                     .Record(7, 0, Bytes().I32(3))
                                     .End()
                                     .str());
  toOBSS in(memory, obssRead);
  ASSERT_TRUE(in.FindRecord(8));
  TObssHeader header;
  in.ReadHeader(header);  // the found header again
  EXPECT_EQ(header.type, 8);
  EXPECT_EQ(header.version, 3);

  in.RewindFirst();
  std::vector<std::int32_t> firsts;
  while (in.FindRecord(7)) {
    in.ReadHeader(header);
    std::int32_t value = 0;
    in.ReadInt32(value);  // only the first field: the rest is skipped
    firsts.push_back(value);
  }
  EXPECT_EQ(firsts, (std::vector<std::int32_t>{1, 3}));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(in.Error(), 0);
  EXPECT_FALSE(in.FindRecord(99));
}

TEST(ObjectStream, ReadVersionWithoutVersionRecord) {
  TMemoryStream memory(Magic() + Bytes().Record(7, 0, Bytes().I32(1)).End().str());
  toOBSS in(memory, obssRead);
  TObssFileVer version;
  version.text[1] = "kept";
  in.ReadVersion(version);
  EXPECT_EQ(version.text[0], "[NO_VER]");
  EXPECT_EQ(version.text[1], "kept");
  EXPECT_EQ(in.Error(), 0);
}

TEST(ObjectStream, HeadersThatLeaveTheStreamAreRefused) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"negative size", Magic() + Bytes().Header(7, 0, -1).I32(0).str()},
      {"most negative size", Magic() + Bytes().Header(7, 0, INT32_MIN).str()},
      {"size past the end", Magic() + Bytes().Header(7, 0, 5).I32(0).str()},
      {"huge size", Magic() + Bytes().Header(7, 0, INT32_MAX).End().str()},
  };
  for (const auto& c : cases) {
    TMemoryStream memory(c.bytes);
    toOBSS in(memory, obssRead);
    EXPECT_FALSE(in.FindRecord(255)) << c.what;
    EXPECT_EQ(in.Error(), kObssOverrun) << c.what;
  }
}

TEST(ObjectStream, AHeaderCutShortRaisesTheStreamsReadError) {
  TMemoryStream memory(Magic() + Bytes().Record(7, 0, Bytes().I32(1)).str() + "\x07\x00\x01");
  toOBSS in(memory, obssRead);
  EXPECT_THROW(in.FindRecord(255), StreamReadError);
}

#include "platform/byte_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace platform;

namespace {

TEST(ByteStream, CodecsAreLittleEndianWhateverTheValue) {
  std::uint8_t b[8];
  StoreU16(b, 0xBEEF);
  EXPECT_EQ(b[0], 0xEF);
  EXPECT_EQ(b[1], 0xBE);
  EXPECT_EQ(LoadI16(b), std::int16_t(0xBEEF));
  StoreI32(b, -2);
  EXPECT_EQ((std::vector<int>{b[0], b[1], b[2], b[3]}), (std::vector<int>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(LoadI32(b), -2);
  EXPECT_EQ(LoadU32(b), 0xFFFFFFFEu);
  StoreF64(b, 1.0);  // 3F F0 00 .. in memory order reversed
  EXPECT_EQ(b[7], 0x3F);
  EXPECT_EQ(b[6], 0xF0);
  EXPECT_EQ(b[0], 0x00);
  for (const double v : {0.0, -0.5, 1e308, std::numeric_limits<double>::denorm_min(),
                         std::numeric_limits<double>::infinity()}) {
    StoreF64(b, v);
    EXPECT_EQ(LoadF64(b), v);
  }
  StoreF64(b, std::nan(""));
  EXPECT_TRUE(std::isnan(LoadF64(b)));
}

TEST(ByteStream, ShortReadRaisesAndKeepsThePosition) {
  MemoryStream stream;
  stream.writeU32(0x01020304);
  stream.writeF64(2.5);
  stream.writeU8(7);
  EXPECT_EQ(stream.bytes().substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  stream.seek(0);
  EXPECT_EQ(stream.readU32(), 0x01020304u);
  EXPECT_EQ(stream.readF64(), 2.5);
  EXPECT_THROW(stream.readU16(), StreamError);
  EXPECT_EQ(stream.position(), 12u);
  EXPECT_EQ(stream.readU8(), 7);
  EXPECT_THROW(stream.readU8(), StreamError);
  // Writing after a seek past the end fills the gap with zeros.
  stream.seek(15);
  stream.writeU8(9);
  EXPECT_EQ(stream.bytes().substr(13), std::string("\0\0\x09", 3));
  // Overwriting in the middle keeps the size.
  stream.seek(1);
  stream.writeU16(0xFFFF);
  EXPECT_EQ(stream.size(), 16u);
  EXPECT_EQ(stream.takeBytes().substr(0, 4), std::string("\x04\xFF\xFF\x01", 4));
}

}  // namespace

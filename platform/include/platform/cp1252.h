#pragma once
// The suite's files and model strings hold text in the legacy Windows-1252
// code page, byte for byte. Conversion to Unicode happens only at the UI.
#include <string>
#include <string_view>

namespace platform {

// Windows-1252 bytes to UTF-8. The five undefined bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control of the same number, so every byte
// sequence survives a round trip.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. Characters the code page lacks, and malformed
// UTF-8, become '?'.
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace platform

#pragma once
// What the frame and the device modules share without any user interface:
// the device kind codes and the program-wide state.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pakro {

// One byte names a device kind everywhere: in a library's "Type" line, as
// the answer of a datasheet form's `Module`, and in `CurrentType`.
enum DeviceKindCode : std::uint8_t {
  kNoDeviceKind = 0,
  kDiode = 1,
  kNpnTransistor = 2,
  kPnpTransistor = 3,
  kNChannelJfet = 4,
  kPChannelJfet = 5,
  kNChannelMosfet = 6,
  kPChannelMosfet = 7,
  kMagneticCore = 8,
};
inline constexpr int kFirstDeviceKind = kDiode;
inline constexpr int kLastDeviceKind = kMagneticCore;

constexpr bool isDeviceKind(int code) { return code >= kFirstDeviceKind && code <= kLastDeviceKind; }

// How Add fills a new component (set by the new-component dialog).
enum NewModeCode : std::uint8_t {
  kNewModeUnset = 0,
  kNewModeCleared = 1,
  kNewModeDefaults = 2,
  kNewModePrevious = 3,
};

// The device kind of the active library; 0 until a library is activated.
extern std::uint8_t CurrentType;
// Directory of the program file with its trailing separator; the help file,
// the defaults files and the catalog compiler directory are found there.
extern std::string ExeDir;
// The help file of the program: ExeDir + "PAKRO.HLP" once the main window exists.
extern std::string HelpFile;
// One of NewModeCode.
extern std::uint8_t NewMode;
// 1 when the last computation stopped at an incomplete datasheet, else 0.
extern std::uint8_t CheckFailed;

// Reads an integer at the start of `text`: leading blanks (the characters of
// `blanks`) are skipped, an optional sign is taken, then digits up to the
// first character that is not one. Nothing is read from text without digits
// there: the answer is then empty. Values beyond the integer range are held
// at its limits.
std::optional<int> ReadLeadingInteger(std::string_view text, std::string_view blanks = " ");

// Puts the shared state back to how the program starts.
void resetFrameState();

// a * b / c computed without overflow and rounded to the nearest integer,
// halves away from zero; -1 when c is 0.
int mulDiv(int a, int b, int c);

}  // namespace pakro

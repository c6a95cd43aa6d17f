#pragma once
// What a host sees of the hook filter: the seven exports (undecorated C
// names) and the three messages the hooks post to the handler window.
#include <cstdint>

#include "platform/winmsg.h"

#define KWELT_EXPORT extern "C" __attribute__((visibility("default")))

namespace kwelt {

using platform::winmsg::LParam;
using platform::winmsg::LResult;
using platform::winmsg::MessageId;
using platform::winmsg::WindowHandle;
using platform::winmsg::WParam;

// Posted to the handler window; wParam and lParam are the hook's own.
inline constexpr MessageId WM_FILTER_LBUTTONDOWN = 2259;
inline constexpr MessageId WM_FILTER_RBUTTONDOWN = 2260;
inline constexpr MessageId WM_FILTER_SPACE = 2261;  // filtering has ended

}  // namespace kwelt

// The filter flag is one byte, kept exactly as set: filtering is on while it
// is non-zero.
KWELT_EXPORT std::uint8_t GetFilterMessage();
KWELT_EXPORT void SetFilterMessage(std::uint8_t on);
KWELT_EXPORT void SetMessageHandler(kwelt::WindowHandle window);
// Hook procedures: 0 lets the event pass, 1 swallows it.
KWELT_EXPORT kwelt::LResult MessageProc(std::int32_t code, kwelt::WParam wParam,
                                        kwelt::LParam lParam);
KWELT_EXPORT kwelt::LResult CBTProc(std::int32_t code, kwelt::WParam wParam, kwelt::LParam lParam);
KWELT_EXPORT kwelt::LResult KeyboardProc(std::int32_t code, kwelt::WParam wParam,
                                         kwelt::LParam lParam);
KWELT_EXPORT kwelt::LResult MouseProc(std::int32_t code, kwelt::WParam wParam,
                                      kwelt::LParam lParam);

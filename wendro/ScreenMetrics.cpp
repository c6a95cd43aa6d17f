#include "ScreenMetrics.h"

#include "platform/qt_canvas.h"

namespace wendro {

platform::TextSize TScreenMetrics::Extent(const platform::Font& font, std::string_view text) const {
  return platform::qt::MeasureText(font, text);
}

}  // namespace wendro

#pragma once
// Text metrics of the fonts the editor draws with ("Arial" through its
// metric-compatible face), the same on every screen. Needs a Qt GUI
// application.
#include "C_DSData.h"

namespace wendro {

class TScreenMetrics final : public TTextMetrics {
 public:
  platform::TextSize Extent(const platform::Font& font, std::string_view text) const override;
};

}  // namespace wendro

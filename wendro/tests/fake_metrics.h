#pragma once
#include <cmath>
#include <cstdlib>

#include "C_DSData.h"

namespace wendro::testing {

// Fixed text extents, whatever fonts are installed: for a font description,
// 6/14 of its cell height per character and the cell height; for block
// symbols 6 units per character and a cell height of 14, both scaled by the
// factor.
class FakeMetrics : public TTextMetrics {
 public:
  platform::TextSize Extent(const platform::Font& font, std::string_view text) const override {
    const int h = std::abs(font.height);
    return {int(std::lround(double(text.size()) * 6 * h / 14)), h};
  }
  TTextExtent Measure(std::string_view text, double factor) const override {
    return {int(std::lround(double(text.size()) * 6 * factor)), int(std::lround(14 * factor))};
  }
};

}  // namespace wendro::testing

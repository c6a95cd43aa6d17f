#pragma once
#include <cmath>

#include "C_DSData.h"

namespace wendro::testing {

// Fixed text extents, whatever fonts are installed: 6 units per character
// and a cell height of 14, both scaled by the factor.
class FakeMetrics : public TTextMetrics {
 public:
  TTextExtent Measure(std::string_view text, double factor) const override {
    return {int(std::lround(double(text.size()) * 6 * factor)), int(std::lround(14 * factor))};
  }
};

}  // namespace wendro::testing

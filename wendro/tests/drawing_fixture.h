#pragma once
// A drawing with one item of every type the data layer knows, as the model
// holds it after loading.
#include "C_DSData.h"

namespace wendro::testing {

inline TItemRecord ConnectorItem(std::uint8_t kind, int x1, int y1, int x2, int y2, std::int32_t colour,
                                 TCap start = {}, TCap end = {}) {
  TItemRecord item(kItemConnector, kConnectorSize);
  std::uint8_t* p = item.Payload();
  auto i16 = [](std::uint8_t* q, int v) {
    q[0] = std::uint8_t(v & 0xFF);
    q[1] = std::uint8_t((v >> 8) & 0xFF);
  };
  auto i32 = [&](std::uint8_t* q, std::int32_t v) {
    i16(q, v & 0xFFFF);
    i16(q + 2, (v >> 16) & 0xFFFF);
  };
  p[0] = kind;
  i16(p + 1, x1);
  i16(p + 3, y1);
  i16(p + 5, x2);
  i16(p + 7, y2);
  i32(p + 9, colour);
  p[13] = start.kind;
  i16(p + 14, start.size);
  i32(p + 16, start.colour);
  p[20] = end.kind;
  i16(p + 21, end.size);
  i32(p + 23, end.colour);
  return item;
}

inline TDShape EveryItemDrawing() {
  TDShape d;
  d.key = 0;
  d.origin = {120, 96};
  d.corOffset = {8, 0};
  d.labelOffset = {-24, -40};
  d.sensing = {-32, -24, 32, 24};
  d.spare = {1, 2, 3, 4};
  d.bounds = {-48, -32, 48, 32};
  d.pins.push_back(MakePinItem({"IN", 1, 0, 0x20, 0, -40, 0, 0, 0, 0, 8.0}));
  d.pins.push_back(MakePinItem({"~CLK~", 1, 0, 0x23, 1, 0, -32, 0, 2, -1, 10.0}));
  d.pins.push_back(MakePinItem({"OUT", 0, 1, 0x40, 2, 48, 0, 0, 0, 0, 8.0}));
  d.pins.push_back(MakePinItem({"VCC", 1, 3, 0x00, 3, 0, 32, 0, 0, 0, 8.0}));
  d.graphics.push_back(MakeShapeItem({0, {-32, -24, 32, 24}, RGB(128, 0, 0), RGB(255, 255, 0), 2}));
  d.graphics.push_back(MakeShapeItem({1, {-8, -8, 8, 8}, RGB(0, 0, 255), kNoColour, 1}));
  d.graphics.push_back(MakeShapeItem({2, {-16, -16, 0, 0}, RGB(0, 0, 0), RGB(0, 255, 0), 1}));
  d.graphics.push_back(MakeLineItem({-24, 16, 24, 16, RGB(0, 0, 0), 1, {1, 100, kNoColour}, {3, 150, RGB(255, 0, 0)}}));
  d.graphics.push_back(MakeTextItem({"AMP~1~", "Arial", -12, -6, 1.2, 1, 0, RGB(128, 0, 0)}));
  d.graphics.push_back(MakePolygonItem({{16, -20, 28, -8}, RGB(0, 128, 0), RGB(0, 128, 128), 1, {{0, 0}, {12, 6}, {0, 12}}}));
  d.graphics.push_back(ConnectorItem(0, -40, -20, -20, 0, RGB(60, 0, 0), {1, 100, kNoColour}, {2, 100, kNoColour}));
  d.graphics.push_back(ConnectorItem(1, 20, 20, 40, 30, RGB(60, 0, 0), {3, 100, kNoColour}, {1, 100, kNoColour}));
  return d;
}

}  // namespace wendro::testing

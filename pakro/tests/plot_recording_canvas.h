#pragma once
// A canvas that draws nothing and keeps every drawing call instead, with the
// pen, brush and font in force, so a picture's geometry can be read back
// without fonts or pixels.
#include <string>
#include <vector>

#include "pakro/shell/curve_plot.h"

namespace pakro {

struct PlotOp {
  enum Kind { Line, Rectangle, Polygon, Text };
  Kind kind = Line;
  std::vector<PlotPoint> points;  // line: from, to; rectangle: two corners; polygon: corners; text: position
  std::string text;
  PlotColor pen;
  PenStyle style = PenStyle::Solid;
  PlotColor brush;
  std::string font;  // family and size, "Arial 8"
};

class RecordingCanvas final : public PlotCanvas {
 public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(PlotColor color, PenStyle style) override {
    pen_ = color;
    style_ = style;
  }
  void SetBrush(PlotColor color) override { brush_ = color; }
  void SetFont(std::string_view family, int size) override {
    font_ = std::string(family) + " " + std::to_string(size);
  }
  void MoveTo(int x, int y) override { at_ = {x, y}; }
  void LineTo(int x, int y) override {
    Add(PlotOp::Line, {at_, {x, y}});
    at_ = {x, y};
  }
  void Rectangle(int x1, int y1, int x2, int y2) override {
    Add(PlotOp::Rectangle, {{x1, y1}, {x2, y2}});
  }
  void Polygon(std::span<const PlotPoint> corners) override {
    Add(PlotOp::Polygon, {corners.begin(), corners.end()});
  }
  void TextOut(int x, int y, std::string_view text) override {
    Add(PlotOp::Text, {{x, y}}).text = std::string(text);
  }

  const std::vector<PlotOp>& ops() const { return ops_; }
  // The calls of one kind, in drawing order.
  std::vector<PlotOp> Of(PlotOp::Kind kind) const {
    std::vector<PlotOp> result;
    for (const PlotOp& op : ops_)
      if (op.kind == kind) result.push_back(op);
    return result;
  }
  PlotPoint Position() const { return at_; }

 private:
  PlotOp& Add(PlotOp::Kind kind, std::vector<PlotPoint> points) {
    PlotOp& op = ops_.emplace_back();
    op.kind = kind;
    op.points = std::move(points);
    op.pen = pen_;
    op.style = style_;
    op.brush = brush_;
    op.font = font_;
    return op;
  }

  int width_;
  int height_;
  PlotColor pen_;
  PenStyle style_ = PenStyle::Solid;
  PlotColor brush_;
  std::string font_;
  PlotPoint at_;
  std::vector<PlotOp> ops_;
};

}  // namespace pakro

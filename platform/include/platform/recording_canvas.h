#pragma once
// A canvas that draws nothing and keeps every drawing call instead, with the
// pen, brush, font, raster mode and clip in force, so that a picture's
// geometry can be read back without fonts or pixels.
#include <optional>
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace platform {

struct CanvasOp {
  enum Kind { Line, Polyline, Pixel, Rectangle, Ellipse, Arc, Pie, Polygon, Fill, Frame, Focus, Text };
  Kind kind = Line;
  // Line: from, to. Polyline, Polygon: the points. Pixel, Text: the point.
  // Rectangle, Ellipse, Fill, Frame, Focus: top-left, bottom-right.
  // Arc, Pie: top-left, bottom-right, start, end.
  std::vector<Point> points;
  std::string text;
  Colour colour = 0;  // Pixel, Fill, Frame
  Pen pen;
  Brush brush;
  Font font;
  RasterMode mode = RasterMode::Copy;
  std::optional<Rect> clip;
};

class RecordingCanvas final : public Canvas {
 public:
  void SetPen(const Pen& pen) override { pen_ = pen; }
  void SetBrush(const Brush& brush) override { brush_ = brush; }
  void SetFont(const Font& font) override { font_ = font; }
  void SetRasterMode(RasterMode mode) override { mode_ = mode; }
  void SetClip(const Rect& clip) override { clip_ = clip; }
  void ClearClip() override { clip_.reset(); }

  void MoveTo(int x, int y) override { at_ = {x, y}; }
  void LineTo(int x, int y) override {
    Add(CanvasOp::Line, {at_, {x, y}});
    at_ = {x, y};
  }
  void Polyline(std::span<const Point> points) override {
    Add(CanvasOp::Polyline, {points.begin(), points.end()});
  }
  void SetPixel(int x, int y, Colour colour) override { Add(CanvasOp::Pixel, {{x, y}}).colour = colour; }
  void Rectangle(const Rect& b) override { Add(CanvasOp::Rectangle, Corners(b)); }
  void Ellipse(const Rect& b) override { Add(CanvasOp::Ellipse, Corners(b)); }
  void Arc(const Rect& b, Point start, Point end) override {
    Add(CanvasOp::Arc, {{b.left, b.top}, {b.right, b.bottom}, start, end});
  }
  void Pie(const Rect& b, Point start, Point end) override {
    Add(CanvasOp::Pie, {{b.left, b.top}, {b.right, b.bottom}, start, end});
  }
  void Polygon(std::span<const Point> points) override {
    Add(CanvasOp::Polygon, {points.begin(), points.end()});
  }
  void FillRect(const Rect& b, Colour colour) override { Add(CanvasOp::Fill, Corners(b)).colour = colour; }
  void FrameRect(const Rect& b, Colour colour) override { Add(CanvasOp::Frame, Corners(b)).colour = colour; }
  void FocusRect(const Rect& b) override { Add(CanvasOp::Focus, Corners(b)); }
  void TextOut(int x, int y, std::string_view text) override {
    Add(CanvasOp::Text, {{x, y}}).text = std::string(text);
  }

  const std::vector<CanvasOp>& Ops() const { return ops_; }
  // The calls of one kind, in drawing order.
  std::vector<CanvasOp> Of(CanvasOp::Kind kind) const {
    std::vector<CanvasOp> result;
    for (const CanvasOp& op : ops_)
      if (op.kind == kind) result.push_back(op);
    return result;
  }
  void Clear() { ops_.clear(); }
  Point Position() const { return at_; }

 private:
  static std::vector<Point> Corners(const Rect& b) { return {{b.left, b.top}, {b.right, b.bottom}}; }
  CanvasOp& Add(CanvasOp::Kind kind, std::vector<Point> points) {
    CanvasOp& op = ops_.emplace_back();
    op.kind = kind;
    op.points = std::move(points);
    op.pen = pen_;
    op.brush = brush_;
    op.font = font_;
    op.mode = mode_;
    op.clip = clip_;
    return op;
  }

  Pen pen_;
  Brush brush_;
  Font font_;
  RasterMode mode_ = RasterMode::Copy;
  std::optional<Rect> clip_;
  Point at_;
  std::vector<CanvasOp> ops_;
};

}  // namespace platform

#pragma once
// The QPainter back end of the platform canvas, an image canvas that covers
// one viewport of a larger drawing surface, and text measuring with the same
// fonts the canvas draws with.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/canvas.h"

namespace platform::qt {

// The Qt font for a font description. "Arial" is drawn with a metric-
// compatible face (Liberation Sans); the pixel size is chosen so that the
// font's cell (ascent + descent) is the description's height.
QFont ToQFont(const Font& font);
QColor ToQColor(Colour colour);
// Width of the text and cell height of the font, in pixels.
TextSize MeasureText(const Font& font, std::string_view text);

// Draws on a QPainter, without antialiasing, so that the XOR raster modes
// act on whole pixels.
class PainterCanvas final : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter);

  void SetPen(const Pen& pen) override;
  void SetBrush(const Brush& brush) override;
  void SetFont(const Font& font) override;
  void SetRasterMode(RasterMode mode) override;
  void SetClip(const Rect& clip) override;
  void ClearClip() override;

  void MoveTo(int x, int y) override { at_ = {x, y}; }
  void LineTo(int x, int y) override;
  void Polyline(std::span<const Point> points) override;
  void SetPixel(int x, int y, Colour colour) override;
  void Rectangle(const Rect& box) override;
  void Ellipse(const Rect& box) override;
  void Arc(const Rect& box, Point start, Point end) override;
  void Pie(const Rect& box, Point start, Point end) override;
  void Polygon(std::span<const Point> points) override;
  void FillRect(const Rect& box, Colour colour) override;
  void FrameRect(const Rect& box, Colour colour) override;
  void FocusRect(const Rect& box) override;
  void TextOut(int x, int y, std::string_view text) override;

 private:
  QPainter& painter_;
  Pen pen_;
  Font font_;
  QFont qfont_;
  Point at_;
};

// A canvas on an image that shows the part of a larger surface whose top-left
// corner is `origin`: callers draw in the surface's coordinates, and only the
// viewport's pixels exist.
class ImageCanvas {
 public:
  ImageCanvas(QSize viewport, QPoint origin = {}, Colour background = MakeColour(255, 255, 255));
  ~ImageCanvas();
  ImageCanvas(const ImageCanvas&) = delete;
  ImageCanvas& operator=(const ImageCanvas&) = delete;

  Canvas& canvas() { return *canvas_; }
  // Ends the drawing: the image is complete only after this; the canvas
  // draws nothing more.
  const QImage& Finish();

 private:
  QImage image_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<PainterCanvas> canvas_;
};

}  // namespace platform::qt

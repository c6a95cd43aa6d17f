#pragma once
// The picture control of a curve plot: an image that keeps what was drawn
// on it until the next drawing, and the QPainter canvas through which the
// plot draws on it. The image is never smaller than its design size and
// grows with the room its layout gives it.
#include <QFont>
#include <QImage>
#include <QPen>
#include <QWidget>
#include <functional>

#include "pakro/shell/curve_plot.h"
#include "platform/qt_canvas.h"

class QPainter;

namespace pakro {

// Draws on a QPainter; the window colour is the palette's base colour.
class PainterCanvas final : public PlotCanvas {
 public:
  PainterCanvas(QPainter& painter, int width, int height, const QColor& windowColor);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(PlotColor color, PenStyle style) override;
  void SetBrush(PlotColor color) override;
  void SetFont(std::string_view family, int size) override;
  void MoveTo(int x, int y) override { shapes_.MoveTo(x, y); }
  void LineTo(int x, int y) override { shapes_.LineTo(x, y); }
  void Rectangle(int x1, int y1, int x2, int y2) override { shapes_.Rectangle({x1, y1, x2, y2}); }
  void Polygon(std::span<const PlotPoint> corners) override;
  void TextOut(int x, int y, std::string_view text) override;

 private:
  platform::Colour ToColour(PlotColor color) const;

  QPainter& painter_;
  // Lines, rectangles and polygons go through the platform canvas; texts
  // stay here, on the brush colour and in point sizes.
  platform::qt::PainterCanvas shapes_;
  int width_;
  int height_;
  QColor window_;
};

class TPlotImage : public QWidget {
  Q_OBJECT
 public:
  explicit TPlotImage(QWidget* parent = nullptr, QSize size = QSize(320, 200));

  // Draws on the image's canvas: `draw` gets a canvas of the image's size.
  template <class Draw>
  void Paint(Draw draw) {
    PaintWith([&](PlotCanvas& canvas) { draw(canvas); });
  }
  const QImage& Image() const { return image_; }

  QSize sizeHint() const override { return minimumSize(); }

 signals:
  // The image took a new size and is empty: its owner draws it again.
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintWith(const std::function<void(PlotCanvas&)>& draw);
  QImage image_;
};

}  // namespace pakro

#include "pakro/shell/plot_image.h"

#include <QPainter>
#include <functional>
#include <vector>

#include "platform/qt_services.h"

namespace pakro {

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height, const QColor& windowColor)
    : painter_(painter), shapes_(painter), width_(width), height_(height), window_(windowColor) {
  painter_.setBackgroundMode(Qt::OpaqueMode);
}

platform::Colour PainterCanvas::ToColour(PlotColor color) const {
  if (color.window) return platform::MakeColour(window_.red(), window_.green(), window_.blue());
  return color.bgr & 0xFFFFFF;
}

void PainterCanvas::SetPen(PlotColor color, PenStyle style) {
  // A one-pixel pen that covers its end points.
  shapes_.SetPen({ToColour(color), 1, style == PenStyle::Dot ? platform::PenStyle::Dot : platform::PenStyle::Solid,
                  platform::LineCap::Square});
}

void PainterCanvas::SetBrush(PlotColor color) {
  shapes_.SetBrush({true, ToColour(color)});
  painter_.setBackground(platform::qt::ToQColor(ToColour(color)));
}

void PainterCanvas::SetFont(std::string_view family, int size) {
  QFont font(platform::qt::fromLegacy(family));
  font.setPointSize(size);
  painter_.setFont(font);
}

void PainterCanvas::Polygon(std::span<const PlotPoint> corners) {
  std::vector<platform::Point> points;
  for (const PlotPoint& p : corners) points.push_back({p.x, p.y});
  shapes_.Polygon(points);
}

void PainterCanvas::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  const QString s = platform::qt::fromLegacy(text);
  const QFontMetrics metrics = painter_.fontMetrics();
  const QRect box = metrics.boundingRect(s);
  // The background lies behind the glyphs only, not the line spacing below
  // them: a title set just above an axis leaves the axis in sight.
  const QRect ink = metrics.tightBoundingRect(s).translated(x, y + metrics.ascent());
  painter_.fillRect(QRect(x, ink.top(), box.width() + 1, ink.height()), painter_.background());
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.drawText(QRect(x, y, width_ * 2, height_), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
  painter_.setBackgroundMode(Qt::OpaqueMode);
}

TPlotImage::TPlotImage(QWidget* parent, QSize size)
    : QWidget(parent), image_(size, QImage::Format_RGB32) {
  setMinimumSize(size);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  image_.fill(palette().color(QPalette::Base));
}

void TPlotImage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (size() == image_.size()) return;
  image_ = QImage(size(), QImage::Format_RGB32);
  image_.fill(palette().color(QPalette::Base));
  emit Resized();
}

void TPlotImage::PaintWith(const std::function<void(PlotCanvas&)>& draw) {
  {
    QPainter painter(&image_);
    PainterCanvas canvas(painter, image_.width(), image_.height(), palette().color(QPalette::Base));
    draw(canvas);
  }
  update();
}

void TPlotImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

}  // namespace pakro

#include "plot_image.h"

#include <QPainter>
#include <QPolygon>
#include <functional>

#include "platform/qt_services.h"

namespace pakro {

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height, const QColor& windowColor)
    : painter_(painter), width_(width), height_(height), window_(windowColor) {
  painter_.setBackgroundMode(Qt::OpaqueMode);
}

QColor PainterCanvas::ToQColor(PlotColor color) const {
  if (color.window) return window_;
  return QColor(static_cast<int>(color.bgr & 0xFF), static_cast<int>((color.bgr >> 8) & 0xFF),
                static_cast<int>((color.bgr >> 16) & 0xFF));
}

void PainterCanvas::SetPen(PlotColor color, PenStyle style) {
  QPen pen(ToQColor(color));
  pen.setWidth(0);
  pen.setStyle(style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine);
  painter_.setPen(pen);
}

void PainterCanvas::SetBrush(PlotColor color) {
  painter_.setBrush(ToQColor(color));
  painter_.setBackground(ToQColor(color));
}

void PainterCanvas::SetFont(std::string_view family, int size) {
  QFont font(platform::qt::fromLegacy(family));
  font.setPointSize(size);
  painter_.setFont(font);
}

void PainterCanvas::MoveTo(int x, int y) { at_ = QPoint(x, y); }

void PainterCanvas::LineTo(int x, int y) {
  painter_.drawLine(at_, QPoint(x, y));
  at_ = QPoint(x, y);
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  // The outline covers x1..x2-1 and y1..y2-1.
  painter_.drawRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)));
}

void PainterCanvas::Polygon(std::span<const PlotPoint> corners) {
  QPolygon polygon;
  for (const PlotPoint& p : corners) polygon << QPoint(p.x, p.y);
  painter_.drawPolygon(polygon);
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

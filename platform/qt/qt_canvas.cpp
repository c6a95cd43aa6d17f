#include "platform/qt_canvas.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

#include "platform/qt_services.h"

namespace platform::qt {

namespace {

QString FamilyOf(const std::string& face) {
  // Drawings name the classic office face; its metric-compatible twin is
  // what the suite installs.
  if (face == "Arial" || face.empty()) return QStringLiteral("Liberation Sans");
  return fromLegacy(face);
}

// Cell height (ascent + descent) per pixel of em size, per family and style.
double CellPerPixel(const QFont& probe) {
  static std::map<QString, double> cache;
  const QString key = probe.family() + QString::number(probe.weight()) + (probe.italic() ? "i" : "");
  const auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  QFont f(probe);
  f.setPixelSize(256);
  const QFontMetricsF m(f);
  const double ratio = m.ascent() + m.descent() > 0 ? (m.ascent() + m.descent()) / 256.0 : 1.0;
  cache.emplace(key, ratio);
  return ratio;
}

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

QPolygon ToQPolygon(std::span<const Point> points) {
  QPolygon polygon;
  for (const Point& p : points) polygon << QPoint(p.x, p.y);
  return polygon;
}

// Start angle and span, in sixteenths of a degree as Qt counts them, of the
// counter-clockwise arc from the ray through start to the ray through end.
std::pair<int, int> ArcAngles(const Rect& box, Point start, Point end) {
  const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  const double rx = std::max(1.0, std::abs(box.right - box.left) / 2.0);
  const double ry = std::max(1.0, std::abs(box.bottom - box.top) / 2.0);
  // Qt's angles are those of the ellipse's parameter: scale the rays to the
  // unit circle first.
  auto angle = [&](Point p) {
    return std::atan2(-(p.y - cy) / ry, (p.x - cx) / rx) * 180.0 / std::numbers::pi;
  };
  const double a = angle(start);
  double span = angle(end) - a;
  while (span <= 0) span += 360.0;
  return {int(std::lround(a * 16)), int(std::lround(span * 16))};
}

}  // namespace

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QFont ToQFont(const Font& font) {
  QFont f(FamilyOf(font.face));
  f.setWeight(QFont::Weight(std::clamp(font.weight, 100, 900)));
  f.setItalic(font.italic);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
  f.setHintingPreference(QFont::PreferNoHinting);
  const double ratio = CellPerPixel(f);
  f.setPixelSize(std::max(1, int(std::lround(std::abs(font.height) / ratio))));
  return f;
}

TextSize MeasureText(const Font& font, std::string_view text) {
  const QFontMetricsF m(ToQFont(font));
  return {int(std::lround(m.horizontalAdvance(fromLegacy(text)))), std::abs(font.height)};
}

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void PainterCanvas::SetPen(const Pen& pen) {
  pen_ = pen;
  QPen p(ToQColor(pen.colour));
  if (pen.width <= 1) {
    // One pixel wide: the flat cap leaves out the end point, the others
    // cover it.
    p.setWidth(0);
    p.setCapStyle(pen.cap == LineCap::Flat ? Qt::FlatCap : Qt::SquareCap);
  } else {
    p.setWidth(pen.width);
    p.setCapStyle(pen.cap == LineCap::Round    ? Qt::RoundCap
                  : pen.cap == LineCap::Square ? Qt::SquareCap
                                               : Qt::FlatCap);
    p.setJoinStyle(Qt::RoundJoin);
  }
  switch (pen.style) {
    case PenStyle::Solid: p.setStyle(Qt::SolidLine); break;
    case PenStyle::Dash: p.setStyle(Qt::DashLine); break;
    case PenStyle::Dot: p.setStyle(Qt::DotLine); break;
    case PenStyle::None: p.setStyle(Qt::NoPen); break;
  }
  painter_.setPen(p);
}

void PainterCanvas::SetBrush(const Brush& brush) {
  painter_.setBrush(brush.solid ? QBrush(ToQColor(brush.colour)) : QBrush(Qt::NoBrush));
}

void PainterCanvas::SetFont(const Font& font) {
  if (font == font_ && painter_.font() == qfont_) return;
  font_ = font;
  qfont_ = ToQFont(font);
  painter_.setFont(qfont_);
}

void PainterCanvas::SetRasterMode(RasterMode mode) {
  switch (mode) {
    case RasterMode::Copy: painter_.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    case RasterMode::Xor: painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case RasterMode::NotXor: painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case RasterMode::Invert: painter_.setCompositionMode(QPainter::RasterOp_NotDestination); break;
  }
}

void PainterCanvas::SetClip(const Rect& clip) { painter_.setClipRect(ToQRect(clip)); }
void PainterCanvas::ClearClip() { painter_.setClipping(false); }

void PainterCanvas::LineTo(int x, int y) {
  painter_.drawLine(QPoint(at_.x, at_.y), QPoint(x, y));
  at_ = {x, y};
}

void PainterCanvas::Polyline(std::span<const Point> points) {
  if (points.empty()) return;
  painter_.drawPolyline(ToQPolygon(points));
  at_ = points.back();
}

void PainterCanvas::SetPixel(int x, int y, Colour colour) {
  const auto mode = painter_.compositionMode();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(QRect(x, y, 1, 1), ToQColor(colour));
  painter_.setCompositionMode(mode);
}

void PainterCanvas::Rectangle(const Rect& box) { painter_.drawRect(ToQRect(box)); }
void PainterCanvas::Ellipse(const Rect& box) { painter_.drawEllipse(ToQRect(box)); }

void PainterCanvas::Arc(const Rect& box, Point start, Point end) {
  const auto [a, span] = ArcAngles(box, start, end);
  painter_.drawArc(ToQRect(box), a, span);
}

void PainterCanvas::Pie(const Rect& box, Point start, Point end) {
  const auto [a, span] = ArcAngles(box, start, end);
  painter_.drawPie(ToQRect(box), a, span);
}

void PainterCanvas::Polygon(std::span<const Point> points) {
  painter_.drawPolygon(ToQPolygon(points), Qt::OddEvenFill);
}

void PainterCanvas::FillRect(const Rect& box, Colour colour) {
  if (box.right <= box.left || box.bottom <= box.top) return;
  painter_.fillRect(QRect(box.left, box.top, box.right - box.left, box.bottom - box.top), ToQColor(colour));
}

void PainterCanvas::FrameRect(const Rect& b, Colour colour) {
  if (b.right <= b.left || b.bottom <= b.top) return;
  FillRect({b.left, b.top, b.right, b.top + 1}, colour);
  if (b.bottom - b.top > 1) FillRect({b.left, b.bottom - 1, b.right, b.bottom}, colour);
  FillRect({b.left, b.top + 1, b.left + 1, b.bottom - 1}, colour);
  if (b.right - b.left > 1) FillRect({b.right - 1, b.top + 1, b.right, b.bottom - 1}, colour);
}

void PainterCanvas::FocusRect(const Rect& box) {
  const int l = std::min(box.left, box.right), r = std::max(box.left, box.right);
  const int t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom);
  if (r <= l || b <= t) return;
  // Every other pixel of the frame, each once, inverted by XOR with white.
  std::vector<QPoint> pixels;
  for (int x = l; x < r; ++x) pixels.emplace_back(x, t);
  for (int y = t + 1; y < b; ++y) pixels.emplace_back(r - 1, y);
  if (b - 1 > t)
    for (int x = r - 2; x >= l; --x) pixels.emplace_back(x, b - 1);
  if (r - 1 > l)
    for (int y = b - 2; y > t; --y) pixels.emplace_back(l, y);
  const auto mode = painter_.compositionMode();
  painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (std::size_t i = 0; i < pixels.size(); i += 2) painter_.fillRect(QRect(pixels[i], QSize(1, 1)), Qt::white);
  painter_.setCompositionMode(mode);
}

void PainterCanvas::TextOut(int x, int y, std::string_view text) {
  if (text.empty()) return;
  const QString s = fromLegacy(text);
  const QFontMetrics m(qfont_);
  const QPen saved = painter_.pen();
  painter_.setPen(ToQColor(pen_.colour));
  painter_.save();
  painter_.translate(x, y);
  if (font_.escapement != 0) painter_.rotate(-font_.escapement / 10.0);
  painter_.drawText(QPoint(0, m.ascent()), s);
  painter_.restore();
  painter_.setPen(saved);
}

ImageCanvas::ImageCanvas(QSize viewport, QPoint origin, Colour background)
    : image_(viewport.expandedTo(QSize(1, 1)), QImage::Format_RGB32) {
  image_.fill(ToQColor(background));
  painter_ = std::make_unique<QPainter>(&image_);
  painter_->translate(-origin.x(), -origin.y());
  canvas_ = std::make_unique<PainterCanvas>(*painter_);
}

ImageCanvas::~ImageCanvas() = default;

const QImage& ImageCanvas::Finish() {
  // The canvas stays, so that late calls through it cannot reach freed
  // memory; the ended painter ignores them.
  if (painter_->isActive()) painter_->end();
  return image_;
}

}  // namespace platform::qt

#include "C_Shapes.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace wendro {

using platform::Colour;
using platform::MakeColour;

namespace {

constexpr Colour kGreen = MakeColour(0, 128, 0);
constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kSilver = MakeColour(192, 192, 192);
constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kGrey = MakeColour(128, 128, 128);
constexpr Colour kPurple = MakeColour(128, 0, 128);
constexpr Colour kNavy = MakeColour(0, 0, 128);

TPointL Add(TPointL a, TPointL b) { return {a.x + b.x, a.y + b.y}; }
TPointL Sub(TPointL a, TPointL b) { return {a.x - b.x, a.y - b.y}; }

// Pin-local (along, across) for a direction, and back.
TPointL PinTurn(TPointL p, int d) {
  switch (d & 3) {
    case 1: return {-p.y, p.x};
    case 2: return {-p.x, -p.y};
    case 3: return {p.y, -p.x};
    default: return p;
  }
}
TPointL PinUnturn(TPointL p, int d) {
  switch (d & 3) {
    case 1: return {p.y, -p.x};
    case 2: return {-p.x, -p.y};
    case 3: return {-p.y, p.x};
    default: return p;
  }
}

TRectL Normalised(TPointL a, TPointL b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}
TRectL Normalised(const TRectL& r) { return Normalised({r.left, r.top}, {r.right, r.bottom}); }
TRectL Grown(const TRectL& r, int by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }
bool Inside(const TRectL& r, std::int32_t x, std::int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
bool InsideClosed(const TRectL& r, std::int32_t x, std::int32_t y) {
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}
TRectL Union(const TRectL& a, const TRectL& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Distance from p to the segment a-b.
double SegmentDistance(TPointL p, TPointL a, TPointL b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// On the ring between the ellipse shrunk and grown by one unit. Radii of one
// or less have no inner ellipse.
bool OnEllipseRing(double cx, double cy, double rx, double ry, std::int32_t x, std::int32_t y) {
  const double dx = x - cx, dy = y - cy;
  const double outer = (dx * dx) / ((rx + 1) * (rx + 1)) + (dy * dy) / ((ry + 1) * (ry + 1));
  if (outer > 1) return false;
  if (rx <= 1 || ry <= 1) return true;
  const double inner = (dx * dx) / ((rx - 1) * (rx - 1)) + (dy * dy) / ((ry - 1) * (ry - 1));
  return inner >= 1;
}

// The world rectangle a text takes at zoom 1, anchored at (x, y).
TRectL MeasureText(const TTextMetrics& metrics, const platform::Font& font, std::int32_t x, std::int32_t y,
                   std::string_view text, TTextStyle style) {
  TDrawContext context(nullptr, metrics);
  context.FontDesc() = font;
  style.measureOnly = true;
  return context.DrawText(x, y, text, style);
}

platform::Font TextFont(std::string_view face, bool bold, bool italic) {
  platform::Font font;
  font.face = std::string(face);
  font.height = 14;
  font.weight = bold ? 700 : 300;
  font.italic = italic;
  return font;
}

std::int16_t I16(std::int32_t v) { return std::int16_t(std::clamp<std::int32_t>(v, -32768, 32767)); }

}  // namespace

TPointL SnapToGrid(TPointL p) { return {Snap(p.x, 8), Snap(p.y, 8)}; }

// --- TDirCanvas -------------------------------------------------------------------

TDirCanvas::TDirCanvas(platform::Canvas* canvas, const TTextMetrics& metrics, int zoom)
    : context_(canvas, metrics), zoom_(std::max(1, zoom)) {
  context_.Init({0, 0, zoom_, zoom_}, {0, 0, 1, 1});
}

void TDirCanvas::SetFrame(TPointL offset, int direction, bool mirrored) {
  offset_ = offset;
  direction_ = direction & 3;
  mirrored_ = mirrored;
}

TPointL TDirCanvas::Map(std::int32_t x, std::int32_t y) const {
  if (mirrored_) x = -x;
  return Add(offset_, PinTurn({x, y}, direction_));
}

void TDirCanvas::SetMode(TPenMode mode) {
  mode_ = mode;
  context_.SetRasterMode(mode == TPenMode::Outline ? platform::RasterMode::NotXor : platform::RasterMode::Copy);
}

void TDirCanvas::SetPen(std::int32_t colour, int width, int style) {
  context_.SetPenStyle(style);
  context_.SetPenWidth(width);  // world units; a hairline (0) stays one pixel
  context_.SetPenColour(mode_ == TPenMode::Erase ? kWhite : context_.MapColour(colour));
}

void TDirCanvas::SetBrush(std::int32_t colour) {
  if (colour == kNoColour || mode_ == TPenMode::Outline)
    context_.SetNoBrush();
  else
    context_.SetBrushColour(mode_ == TPenMode::Erase ? kWhite : context_.MapColour(colour));
}

void TDirCanvas::MoveTo(std::int32_t x, std::int32_t y) {
  const TPointL p = Map(x, y);
  context_.MoveTo(p.x, p.y);
}

void TDirCanvas::LineTo(std::int32_t x, std::int32_t y) {
  const TPointL p = Map(x, y);
  context_.LineTo(p.x, p.y);
  if (mode_ != TPenMode::Outline) context_.SetPixel(p.x, p.y, context_.PenColour());
}

void TDirCanvas::Rectangle(TPointL a, TPointL b) {
  const TPointL p = Map(a.x, a.y), q = Map(b.x, b.y);
  context_.Rectangle({p.x, p.y, q.x, q.y});
}

void TDirCanvas::Ellipse(TPointL a, TPointL b) {
  const TPointL p = Map(a.x, a.y), q = Map(b.x, b.y);
  context_.Ellipse({p.x, p.y, q.x, q.y});
}

void TDirCanvas::Arc(TPointL a, TPointL b, TPointL start, TPointL end) {
  const TPointL p = Map(a.x, a.y), q = Map(b.x, b.y);
  TPointL s = Map(start.x, start.y), e = Map(end.x, end.y);
  if (mirrored_) std::swap(s, e);
  context_.Arc(Normalised(p, q), s, e);
}

void TDirCanvas::Pie(TPointL a, TPointL b, TPointL start, TPointL end) {
  const TPointL p = Map(a.x, a.y), q = Map(b.x, b.y);
  TPointL s = Map(start.x, start.y), e = Map(end.x, end.y);
  if (mirrored_) std::swap(s, e);
  context_.Pie(Normalised(p, q), s, e);
}

void TDirCanvas::Polygon(const std::vector<TPointL>& points) {
  std::vector<TPointL> world;
  for (const TPointL& p : points) world.push_back(Map(p.x, p.y));
  context_.Polygon(world);
}

TRectL TDirCanvas::Text(std::int32_t x, std::int32_t y, std::string_view text, TTextStyle style) {
  const TPointL p = Map(x, y);
  if (mode_ == TPenMode::Erase) style.colour = kWhite;
  if (mode_ == TPenMode::Outline) style.outline = true;
  lastText_ = context_.DrawText(p.x, p.y, text, style);
  return lastText_;
}

void TDirCanvas::Handle(TPointL p) {
  const TPenMode mode = mode_;
  if (mode_ == TPenMode::Erase) {
    context_.DeviceSquare(p.x, p.y, 2, kWhite);
    return;
  }
  SetMode(TPenMode::Outline);
  context_.DeviceSquare(p.x, p.y, 2, kGrey);
  SetMode(mode);
}

// --- TXShape ----------------------------------------------------------------------

TRectL TXShape::GetBounds() const { return {position.x, position.y, position.x + 1, position.y + 1}; }

bool TXShape::Intersects(const TRectL& r) const {
  const TRectL a = Normalised(GetBounds()), b = Normalised(r);
  return std::max(a.left, b.left) < std::min(a.right, b.right) &&
         std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool TXShape::ContainedIn(const TRectL& r) const {
  const TRectL n = Normalised(r);
  return Union(Normalised(GetBounds()), n) == n;
}

bool TXShape::HitTest(std::int32_t x, std::int32_t y) const { return Inside(Normalised(GetBounds()), x, y); }

TCursorId TXShape::CursorAt(std::int32_t, std::int32_t, int) const { return kCursorDrag; }

int TXShape::HandleAt(std::int32_t x, std::int32_t y, int zoom) const {
  if (!selected) return -1;
  zoom = std::max(1, zoom);
  const int a = std::max(3 / zoom, 1), b = std::max(4 / zoom, 1);
  int hit = -1;
  for (int k = 0;; ++k) {
    const TPointL h = HandlePoint(k);
    if (h == kNoHandlePoint) break;
    if (x >= h.x - a && x < h.x + b && y >= h.y - a && y < h.y + b) hit = k;
  }
  return hit;
}

void TXShape::DrawHandles(TDirCanvas& canvas, TPenMode mode) const {
  if (!selected) return;
  for (int k = 0;; ++k) {
    const TPointL h = HandlePoint(k);
    if (h == kNoHandlePoint) break;
    canvas.SetMode(mode == TPenMode::Erase ? TPenMode::Erase : TPenMode::Outline);
    canvas.Handle(h);
  }
  canvas.SetMode(mode);
}

void TXShape::BeginDrag(TDirCanvas& canvas, int h) {
  saved = dragStart = position;
  handle = h;
  Draw(canvas, TPenMode::Erase);
  dragging = true;
  Draw(canvas, TPenMode::Outline);
}

void TXShape::DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) {
  Draw(canvas, TPenMode::Outline);
  SetPosition(Add(dragStart, {dx, dy}));
  Draw(canvas, TPenMode::Outline);
}

void TXShape::EndDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  dragging = false;
  SetPosition(position);
  Draw(canvas, TPenMode::Normal);
}

void TXShape::CancelDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  dragging = false;
  SetPosition(saved);
  Draw(canvas, TPenMode::Normal);
}

std::optional<TItemRecord> TXShape::ToRecord(TPointL) const { return std::nullopt; }

TPointL TXShape::Turn(TPointL p, TPointL& pivot, TPointL reference, bool right) {
  if (pivot.x == kNoPivot) pivot = reference;
  const std::int32_t dx = p.x - pivot.x, dy = p.y - pivot.y;
  return right ? TPointL{pivot.x - dy, pivot.y + dx} : TPointL{pivot.x + dy, pivot.y - dx};
}

void TXShape::MoveDragStart(TPointL before) { dragStart = Add(dragStart, Sub(position, before)); }

// --- TPin -------------------------------------------------------------------------

void TPin::SetPosition(TPointL p) { position = dragging ? p : SnapToGrid(p); }

TPointL TPin::NameAnchor() const {
  return Add(position, PinTurn({4 * Length() + 2 + nameOffset.x, nameOffset.y}, direction));
}

TTextStyle TPin::NameStyle() const {
  static const int hAlign[4] = {0, 1, 2, 1}, vAlign[4] = {1, 0, 1, 2};
  TTextStyle style;
  style.factor = fontSize * 0.9 / 8;
  style.hAlign = hAlign[direction & 3];
  style.vAlign = vAlign[direction & 3];
  return style;
}

TRectL TPin::NameRect() const {
  const TPointL a = NameAnchor();
  return MeasureText(*metrics_, TextFont("Arial", false, false), a.x, a.y, name, NameStyle());
}

TRectL TPin::GetBounds() const {
  const TPointL a = PinTurn({-3, -3}, direction), b = PinTurn({3 + 4 * Length(), 3}, direction);
  return Normalised(Add(position, a), Add(position, b));
}

bool TPin::HitTest(std::int32_t x, std::int32_t y) const {
  return Inside(GetBounds(), x, y) || (showName && Inside(Normalised(NameRect()), x, y));
}

void TPin::RotateLeft(TPointL& pivot) {
  const TPointL before = position;
  position = Turn(position, pivot, position, false);
  direction = (direction + 3) & 3;
  MoveDragStart(before);
}

void TPin::RotateRight(TPointL& pivot) {
  const TPointL before = position;
  position = Turn(position, pivot, position, true);
  direction = (direction + 1) & 3;
  MoveDragStart(before);
}

void TPin::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame(position, direction);
  canvas.SetPen(std::int32_t(selected && !dragging ? kRed : kGreen), 1);
  const TPinGeometry g = PinGeometry(shapeAndLength);
  for (const auto& [from, to] : g.lines) {
    canvas.MoveTo(from.x, from.y);
    canvas.LineTo(to.x, to.y);
  }
  if (g.dot) {
    canvas.SetBrush(kNoColour);
    canvas.Ellipse(g.dotFrom, g.dotTo);
  }
  canvas.SetFrame({0, 0});
  if (showName) {
    TTextStyle style = NameStyle();
    style.colour = selected && mode == TPenMode::Normal ? kRed : kSilver;
    canvas.Context().FontDesc() = TextFont("Arial", false, false);
    const TPointL a = NameAnchor();
    canvas.Text(a.x, a.y, name, style);
  }
  if (canvas.pinMarkers) {
    canvas.SetPen(std::int32_t(kRed), 1);
    canvas.MoveTo(position.x - 2, position.y);
    canvas.LineTo(position.x + 2, position.y);
    canvas.MoveTo(position.x, position.y - 2);
    canvas.LineTo(position.x, position.y + 2);
  }
  DrawHandles(canvas, mode);
}

TCursorId TPin::CursorAt(std::int32_t x, std::int32_t y, int zoom) const {
  return HandleAt(x, y, zoom) == 0 ? kCursorSizeAll : kCursorDrag;
}

TPointL TPin::HandlePoint(int i) const { return i == 0 ? NameAnchor() : kNoHandlePoint; }

void TPin::BeginDrag(TDirCanvas& canvas, int h) {
  savedDirection = direction;
  savedNameOffset = nameOffset;
  TXShape::BeginDrag(canvas, h);
}

void TPin::DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) {
  if (handle != 0) return TXShape::DragTo(canvas, dx, dy);
  Draw(canvas, TPenMode::Outline);
  nameOffset = Add(savedNameOffset, PinUnturn({dx, dy}, direction));
  Draw(canvas, TPenMode::Outline);
}

void TPin::CancelDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  direction = savedDirection;
  nameOffset = savedNameOffset;
  dragging = false;
  SetPosition(saved);
  Draw(canvas, TPenMode::Normal);
}

std::optional<TItemRecord> TPin::ToRecord(TPointL origin) const {
  TPinData pin;
  pin.name = name.substr(0, kPinNameChars);
  pin.showName = showName ? 1 : 0;
  pin.electricType = electricType;
  pin.shapeAndLength = shapeAndLength;
  pin.direction = std::uint8_t(direction);
  pin.x = I16(position.x - origin.x);
  pin.y = I16(position.y - origin.y);
  pin.visibility = visibility;
  pin.nameOffsetX = nameOffset.x;
  pin.nameOffsetY = nameOffset.y;
  pin.fontSize = fontSize;
  TItemRecord fresh = MakePinItem(pin);
  if (source_) {
    TPinData was = PinOf(*source_);
    was.showName = was.showName ? 1 : 0;
    if (MakePinItem(was) == fresh) return source_;
  }
  return fresh;
}

void TPin::FromRecord(const TItemRecord& record, TPointL origin) {
  const TPinData pin = PinOf(record);
  name = pin.name;
  showName = pin.showName != 0;
  electricType = pin.electricType;
  shapeAndLength = pin.shapeAndLength;
  direction = pin.direction;  // as stored; drawn by its low two bits
  position = {origin.x + pin.x, origin.y + pin.y};
  visibility = pin.visibility;
  nameOffset = {pin.nameOffsetX, pin.nameOffsetY};
  fontSize = pin.fontSize;
  source_ = record;
}

TPinProperties TPin::Properties() const {
  TPinProperties p;
  p.name = name;
  p.showName = showName;
  p.shape = shapeAndLength & 0x0F;
  p.length = Length();
  p.direction = direction & 3;
  p.electricType = electricType;
  p.visibility = visibility;
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, fontSize);
  p.fontSize.assign(buffer, r.ptr);
  return p;
}

namespace {

// A positive number as typed, with "." or "," as decimal point.
std::optional<double> ReadSize(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  const auto first = text.find_first_not_of(' ');
  const auto last = text.find_last_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  double value = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  const auto r = std::from_chars(begin, end, value);
  if (r.ec != std::errc() || r.ptr != end || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

}  // namespace

void TPin::ApplyProperties(const TPinProperties& p) {
  name = p.name.substr(0, kPinNameChars);
  showName = p.showName;
  shapeAndLength = std::uint8_t((std::clamp(p.length, 0, 4) << 4) | (p.shape & 0x0F));
  direction = p.direction & 3;
  electricType = std::uint8_t(std::clamp(p.electricType, 0, 7));
  visibility = std::uint8_t(std::clamp(p.visibility, 0, 5));
  if (const auto size = ReadSize(p.fontSize)) fontSize = *size;
  if (p.resetNamePosition) nameOffset = {0, 0};
}

bool TPin::EditProperties(TPropertyEditor& editor) {
  TPinProperties p = Properties();
  if (!editor.EditPin(p)) return false;
  ApplyProperties(p);
  return true;
}

// --- TXText ------------------------------------------------------------------------

platform::Font TXText::Font() const { return TextFont(fontName, bold, italic); }

TTextExtent TXText::Extent() const {
  TTextStyle style;
  style.factor = sizeFactor;
  const TRectL r = MeasureText(*metrics_, Font(), 0, 0, text, style);
  return {r.right - r.left, r.bottom - r.top};
}

TRectL TXText::GetBounds() const {
  const TTextExtent e = Extent();
  return {position.x, position.y, position.x + e.width, position.y + e.height};
}

void TXText::Rotate(TPointL& pivot, bool right) {
  const TPointL before = position;
  const TTextExtent e = Extent();
  const TPointL centre{position.x + e.width / 2, position.y + e.height / 2};
  const TPointL turned = Turn(centre, pivot, centre, right);
  position = {turned.x - e.width / 2, turned.y - e.height / 2};
  MoveDragStart(before);
}

void TXText::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame({0, 0});
  canvas.Context().FontDesc() = Font();
  TTextStyle style;
  style.colour = selected ? kRed : canvas.Context().MapColour(colour);
  style.factor = sizeFactor;
  style.outline = dragging;
  canvas.Text(position.x, position.y, text, style);
  canvas.Context().ResetFont();
  DrawHandles(canvas, mode);
}

std::optional<TItemRecord> TXText::ToRecord(TPointL origin) const {
  TTextData t;
  t.text = text;
  t.fontName = fontName;
  t.x = I16(position.x - origin.x);
  t.y = I16(position.y - origin.y);
  t.sizeFactor = sizeFactor;
  t.bold = bold ? 1 : 0;
  t.italic = italic ? 1 : 0;
  t.colour = colour;
  TItemRecord fresh = MakeTextItem(t);
  if (source_) {
    TTextData was = TextOf(*source_);
    was.bold = was.bold ? 1 : 0;
    was.italic = was.italic ? 1 : 0;
    if (MakeTextItem(was) == fresh) return source_;
  }
  return fresh;
}

void TXText::FromRecord(const TItemRecord& record, TPointL origin) {
  const TTextData t = TextOf(record);
  text = t.text;
  fontName = t.fontName;
  position = {origin.x + t.x, origin.y + t.y};
  sizeFactor = t.sizeFactor;
  bold = t.bold != 0;
  italic = t.italic != 0;
  colour = t.colour;
  source_ = record;
}

TTextProperties TXText::Properties() const {
  return {text, fontName, int(std::lround(sizeFactor * 14)), bold, italic, colour};
}

void TXText::ApplyProperties(const TTextProperties& p) {
  text = p.text.substr(0, 255);
  fontName = p.fontName.substr(0, 255);
  if (p.fontSize > 0 && p.fontSize != int(std::lround(sizeFactor * 14))) sizeFactor = p.fontSize / 14.0;
  bold = p.bold;
  italic = p.italic;
  colour = p.colour;
}

bool TXText::EditProperties(TPropertyEditor& editor) {
  TTextProperties p = Properties();
  if (!editor.EditText(p)) return false;
  ApplyProperties(p);
  return true;
}

// --- TSegment ---------------------------------------------------------------------

TRectL TSegment::Box() const { return Normalised(position, Second()); }

void TSegment::BeginDrag(TDirCanvas& canvas, int h) {
  savedX2 = x2;
  savedY2 = y2;
  startSecond_ = Second();
  TXShape::BeginDrag(canvas, h);
}

void TSegment::CancelDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  dragging = false;
  x2 = savedX2;
  y2 = savedY2;
  SetPosition(saved);
  Draw(canvas, TPenMode::Normal);
}

void TSegment::Rotate(TPointL& pivot, bool right) {
  const TPointL before = position;
  const TPointL centre{(position.x + x2) / 2, (position.y + y2) / 2};
  const TPointL a = Turn(position, pivot, centre, right);
  const TPointL b = Turn(Second(), pivot, centre, right);
  position = a;
  x2 = b.x;
  y2 = b.y;
  MoveDragStart(before);
}

// --- TSegLine ---------------------------------------------------------------------

void TSegLine::StyleFromEditor(const TStyle& s) {
  penWidth = s.penWidth;
  penColour = s.penColour;
}

void TSegLine::StyleToEditor(TStyle& s) const {
  s.penWidth = penWidth;
  s.penColour = penColour;
  s.fillColour = kNoColour;
}

TRectL TSegLine::GetBounds() const { return Grown(Box(), 3); }

bool TSegLine::HitTest(std::int32_t x, std::int32_t y) const {
  const double dx = x2 - position.x, dy = y2 - position.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return std::lround(std::hypot(x - position.x, y - position.y)) < 2;
  const double distance = std::abs(dy * (x - position.x) - dx * (y - position.y)) / length;
  if (std::lround(distance) >= 2) return false;
  const double t = ((x - position.x) * dx + (y - position.y) * dy) / (length * length);
  const double px = position.x + t * dx, py = position.y + t * dy;
  const TRectL box = Box();
  constexpr double e = 1e-9;
  return px >= box.left - e && px <= box.right + e && py >= box.top - e && py <= box.bottom + e;
}

void TSegLine::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame({0, 0});
  canvas.SetPen(penColour, penWidth);
  canvas.MoveTo(position.x, position.y);
  canvas.LineTo(x2, y2);
  DrawHandles(canvas, mode);
}

TCursorId TSegLine::CursorAt(std::int32_t x, std::int32_t y, int zoom) const {
  return HandleAt(x, y, zoom) >= 0 ? kCursorCross : kCursorDrag;
}

TPointL TSegLine::HandlePoint(int i) const {
  return i == 0 ? position : i == 1 ? Second() : kNoHandlePoint;
}

void TSegLine::DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) {
  Draw(canvas, TPenMode::Outline);
  if (handle == -1 || handle == 0) SetPosition(Add(dragStart, {dx, dy}));
  if (handle == -1 || handle == 1) {
    x2 = startSecond_.x + dx;
    y2 = startSecond_.y + dy;
  }
  Draw(canvas, TPenMode::Outline);
}

std::optional<TItemRecord> TSegLine::ToRecord(TPointL origin) const {
  TLineData line;
  line.x1 = I16(position.x - origin.x);
  line.y1 = I16(position.y - origin.y);
  line.x2 = I16(x2 - origin.x);
  line.y2 = I16(y2 - origin.y);
  line.colour = penColour;
  line.width = std::int16_t(penWidth);
  if (source_) {
    // The editor does not edit caps: those of the stored line stay.
    const TLineData was = LineOf(*source_);
    line.startCap = was.startCap;
    line.endCap = was.endCap;
    if (was == line) return source_;
  }
  return MakeLineItem(line);
}

void TSegLine::FromRecord(const TItemRecord& record, TPointL origin) {
  const TLineData line = LineOf(record);
  position = {origin.x + line.x1, origin.y + line.y1};
  x2 = origin.x + line.x2;
  y2 = origin.y + line.y2;
  penColour = line.colour;
  penWidth = line.width;
  source_ = record;
}

// --- TFilledSegment -------------------------------------------------------------

void TFilledSegment::StyleFromEditor(const TStyle& s) {
  penWidth = s.penWidth;
  penColour = s.penColour;
  fillColour = s.fillColour;
}

void TFilledSegment::StyleToEditor(TStyle& s) const { s = {penWidth, penColour, fillColour}; }

// --- TSegShape --------------------------------------------------------------------

TRectL TSegShape::GetBounds() const { return Box(); }

bool TSegShape::HitTest(std::int32_t x, std::int32_t y) const {
  const TRectL box = Box();
  if (!InsideClosed(Grown(box, 3), x, y)) return false;
  switch (kind) {
    case 0: {
      if (!InsideClosed(Grown(box, 2), x, y)) return false;
      const bool inner = x > box.left + 2 && x < box.right - 2 && y > box.top + 2 && y < box.bottom - 2;
      return !inner;
    }
    case 1:
      return OnEllipseRing((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0,
                           (box.right - box.left) / 2.0, (box.bottom - box.top) / 2.0, x, y);
    case 2:
      return OnEllipseRing(position.x, y2, std::abs(x2 - position.x), std::abs(y2 - position.y), x, y);
    default: return false;
  }
}

void TSegShape::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame({0, 0});
  canvas.SetPen(penColour, penWidth);
  canvas.SetBrush(fillColour);
  const TPointL a = position, b = Second();
  switch (kind) {
    case 0: canvas.Rectangle(a, b); break;
    case 1: canvas.Ellipse(a, b); break;
    case 2: {
      const TPointL boxA{2 * a.x - b.x, a.y}, boxB{b.x, 2 * b.y - a.y};
      const bool backwards = (b.x >= a.x && b.y >= a.y) || (b.x < a.x && b.y < a.y);
      const TPointL start = backwards ? b : a, end = backwards ? a : b;
      if (fillColour != kNoColour && mode != TPenMode::Outline) {
        canvas.SetPen(penColour, penWidth, 3);
        canvas.Pie(boxA, boxB, start, end);
        canvas.SetPen(penColour, penWidth);
      }
      canvas.SetBrush(kNoColour);
      canvas.Arc(boxA, boxB, start, end);
      break;
    }
    default: break;
  }
  DrawHandles(canvas, mode);
}

TCursorId TSegShape::CursorAt(std::int32_t x, std::int32_t y, int zoom) const {
  static const TCursorId cursors[8] = {kCursorSizeNWSE, kCursorSizeNS, kCursorSizeNESW, kCursorSizeWE,
                                       kCursorSizeWE,   kCursorSizeNESW, kCursorSizeNS, kCursorSizeNWSE};
  const int h = HandleAt(x, y, zoom);
  return h >= 0 && h < 8 ? cursors[h] : kCursorDrag;
}

TPointL TSegShape::HandlePoint(int i) const {
  const std::int32_t x1 = position.x, y1 = position.y, mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
  switch (i) {
    case 0: return {x1, y1};
    case 1: return {mx, y1};
    case 2: return {x2, y1};
    case 3: return {x1, my};
    case 4: return {x2, my};
    case 5: return {x1, y2};
    case 6: return {mx, y2};
    case 7: return {x2, y2};
    default: return kNoHandlePoint;
  }
}

void TSegShape::DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) {
  Draw(canvas, TPenMode::Outline);
  TPointL a = dragStart, b = startSecond_;
  const TPointL moved{dx, dy};
  switch (handle) {
    case -1: a = Add(a, moved), b = Add(b, moved); break;
    case 0: a = Add(a, moved); break;
    case 1: a.y += dy; break;
    case 2: a.y += dy, b.x += dx; break;
    case 3: a.x += dx; break;
    case 4: b.x += dx; break;
    case 5: a.x += dx, b.y += dy; break;
    case 6: b.y += dy; break;
    case 7: b = Add(b, moved); break;
    default: break;
  }
  SetPosition(a);
  x2 = b.x;
  y2 = b.y;
  Draw(canvas, TPenMode::Outline);
}

void TSegShape::Rotate(TPointL& pivot, bool right) {
  TSegment::Rotate(pivot, right);
  if (kind == 2) {
    // The arc's centre is (x1, y2): after a quarter turn the corners trade
    // places, or the arc would come out mirrored.
    const TPointL first = position;
    position = Second();
    x2 = first.x;
    y2 = first.y;
    dragStart = Add(dragStart, Sub(position, first));
  }
}

std::optional<TItemRecord> TSegShape::ToRecord(TPointL origin) const {
  TShapeItemData s;
  s.kind = std::uint8_t(kind);
  s.box = {I16(position.x - origin.x), I16(position.y - origin.y), I16(x2 - origin.x), I16(y2 - origin.y)};
  s.penColour = penColour;
  s.fillColour = fillColour;
  s.width = std::int16_t(penWidth);
  if (source_ && ShapeItemOf(*source_) == s) return source_;
  return MakeShapeItem(s);
}

void TSegShape::FromRecord(const TItemRecord& record, TPointL origin) {
  const TShapeItemData s = ShapeItemOf(record);
  kind = s.kind;
  position = {origin.x + s.box.left, origin.y + s.box.top};
  x2 = origin.x + s.box.right;
  y2 = origin.y + s.box.bottom;
  penColour = s.penColour;
  fillColour = s.fillColour;
  penWidth = s.width;
  source_ = record;
}

// --- TSegPolygon ------------------------------------------------------------------

void TSegPolygon::AddPoint(TPointL p) {
  if (points.empty()) position = p;
  points.push_back(Sub(p, position));
  Renormalise();
}

void TSegPolygon::Renormalise() {
  if (points.empty()) {
    x2 = position.x;
    y2 = position.y;
    return;
  }
  std::vector<TPointL> absolute;
  for (std::size_t k = 0; k < points.size(); ++k) absolute.push_back(Vertex(k));
  TRectL box{absolute[0].x, absolute[0].y, absolute[0].x, absolute[0].y};
  for (const TPointL& p : absolute) box = Union(box, {p.x, p.y, p.x, p.y});
  position = {box.left, box.top};
  x2 = box.right;
  y2 = box.bottom;
  for (std::size_t k = 0; k < points.size(); ++k) points[k] = Sub(absolute[k], position);
}

bool TSegPolygon::HitTest(std::int32_t x, std::int32_t y) const {
  if (points.empty() || !InsideClosed(Grown(Box(), 2), x, y)) return false;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const TPointL a = Vertex(k), b = Vertex((k + 1) % points.size());
    if (SegmentDistance({x, y}, a, b) <= 2) return true;
  }
  return false;
}

void TSegPolygon::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame({0, 0});
  canvas.SetPen(penColour, penWidth);
  canvas.SetBrush(fillColour);
  std::vector<TPointL> absolute;
  for (std::size_t k = 0; k < points.size(); ++k) absolute.push_back(Vertex(k));
  canvas.Polygon(absolute);
  DrawHandles(canvas, mode);
}

TCursorId TSegPolygon::CursorAt(std::int32_t x, std::int32_t y, int zoom) const {
  return HandleAt(x, y, zoom) >= 0 ? kCursorCross : kCursorDrag;
}

TPointL TSegPolygon::HandlePoint(int i) const {
  return i >= 0 && std::size_t(i) < points.size() ? Vertex(std::size_t(i)) : kNoHandlePoint;
}

void TSegPolygon::BeginDrag(TDirCanvas& canvas, int h) {
  savedPoints_ = points;
  if (h >= 0 && std::size_t(h) < points.size()) vertexStart_ = Vertex(std::size_t(h));
  TSegment::BeginDrag(canvas, h);
}

void TSegPolygon::DragTo(TDirCanvas& canvas, std::int32_t dx, std::int32_t dy) {
  Draw(canvas, TPenMode::Outline);
  if (handle >= 0 && std::size_t(handle) < points.size()) {
    points[std::size_t(handle)] = Sub(Add(vertexStart_, {dx, dy}), position);
  } else {
    SetPosition(Add(dragStart, {dx, dy}));
    x2 = startSecond_.x + dx;
    y2 = startSecond_.y + dy;
  }
  Draw(canvas, TPenMode::Outline);
}

void TSegPolygon::EndDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  dragging = false;
  Renormalise();
  Draw(canvas, TPenMode::Normal);
}

void TSegPolygon::CancelDrag(TDirCanvas& canvas) {
  Draw(canvas, TPenMode::Outline);
  dragging = false;
  points = savedPoints_;
  position = saved;
  x2 = savedX2;
  y2 = savedY2;
  Draw(canvas, TPenMode::Normal);
}

void TSegPolygon::Rotate(TPointL& pivot, bool right) {
  const TPointL before = position;
  const TPointL centre{(position.x + x2) / 2, (position.y + y2) / 2};
  std::vector<TPointL> absolute;
  for (std::size_t k = 0; k < points.size(); ++k) absolute.push_back(Turn(Vertex(k), pivot, centre, right));
  position = absolute.empty() ? Turn(position, pivot, centre, right) : absolute[0];
  for (std::size_t k = 0; k < points.size(); ++k) points[k] = Sub(absolute[k], position);
  Renormalise();
  MoveDragStart(before);
}

std::optional<TItemRecord> TSegPolygon::ToRecord(TPointL origin) const {
  TPolygonData p;
  p.box = {I16(position.x - origin.x), I16(position.y - origin.y), I16(x2 - origin.x), I16(y2 - origin.y)};
  p.penColour = penColour;
  p.fillColour = fillColour;
  p.width = std::int16_t(penWidth);
  for (const TPointL& q : points) p.points.push_back({I16(q.x), I16(q.y)});
  if (source_) {
    // The same vertices, colours and width as stored, whatever box the
    // stored record gave them: keep the record.
    const TPolygonData was = PolygonOf(*source_);
    bool same = was.penColour == p.penColour && was.fillColour == p.fillColour && was.width == p.width &&
                was.points.size() == points.size();
    for (std::size_t k = 0; same && k < points.size(); ++k)
      same = was.box.left + was.points[k].x == position.x - origin.x + points[k].x &&
             was.box.top + was.points[k].y == position.y - origin.y + points[k].y;
    if (same) return source_;
  }
  return MakePolygonItem(p);
}

void TSegPolygon::FromRecord(const TItemRecord& record, TPointL origin) {
  const TPolygonData p = PolygonOf(record);
  penColour = p.penColour;
  fillColour = p.fillColour;
  penWidth = p.width;
  points.clear();
  position = {origin.x + p.box.left, origin.y + p.box.top};
  for (const TPointS& q : p.points) points.push_back({q.x, q.y});
  Renormalise();
  source_ = record;
}

// --- TFixedItem -------------------------------------------------------------------

void TFixedItem::FromRecord(const TItemRecord& record, TPointL origin) {
  source_ = record;
  origin_ = origin;
  position = origin;
}

std::optional<TItemRecord> TFixedItem::ToRecord(TPointL origin) const {
  if (!source_ || origin == origin_ || source_->Type() != kItemConnector || !ItemFits(*source_)) return source_;
  TItemRecord moved = *source_;
  std::uint8_t* p = moved.Payload();
  const TPointL by = Sub(origin_, origin);
  for (int offset = 1; offset < 9; offset += 2) {
    const std::int32_t v = std::int16_t(p[offset] | (p[offset + 1] << 8)) + ((offset / 2) % 2 == 0 ? by.x : by.y);
    const auto u = std::uint16_t(I16(v));
    p[offset] = std::uint8_t(u & 0xFF);
    p[offset + 1] = std::uint8_t(u >> 8);
  }
  return moved;
}

TRectL TFixedItem::GetBounds() const {
  if (source_ && source_->Type() == kItemConnector && ItemFits(*source_)) {
    const TConnectorData k = ConnectorOf(*source_);
    return Normalised(Add(origin_, {k.x1, k.y1}), Add(origin_, {k.x2, k.y2}));
  }
  return TXShape::GetBounds();
}

void TFixedItem::Draw(TDirCanvas& canvas, TPenMode mode) const {
  if (!source_) return;
  TDrawContext& context = canvas.Context();
  context.SetRasterMode(mode == TPenMode::Outline ? platform::RasterMode::NotXor : platform::RasterMode::Copy);
  context.SetItemTransform(origin_, {0, 0}, 0, 0, false);
  context.flags = mode == TPenMode::Erase ? kDrawErase : 0;
  DrawItem(context, *source_);
  context.SetItemTransform({0, 0}, {0, 0}, 0, 0, false);
  context.flags = 0;
}

// --- markers --------------------------------------------------------------------

void TStatic::SetPosition(TPointL p) { position = dragging ? p : SnapToGrid(p); }

TRectL TStatic::GetBounds() const { return {position.x - 2, position.y - 2, position.x + 2, position.y + 2}; }

void TOrigo::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame(position);
  canvas.SetPen(std::int32_t(selected ? kRed : kSilver), 1);
  canvas.MoveTo(-5, 0);
  canvas.LineTo(5, 0);
  canvas.MoveTo(0, -5);
  canvas.LineTo(0, 5);
  // Arrow heads on +x and +y.
  canvas.MoveTo(3, -2);
  canvas.LineTo(5, 0);
  canvas.LineTo(3, 2);
  canvas.MoveTo(-2, 3);
  canvas.LineTo(0, 5);
  canvas.LineTo(2, 3);
  canvas.SetFrame({0, 0});
}

void TCOR::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame(position);
  canvas.SetPen(std::int32_t(selected ? kRed : kPurple), 1);
  canvas.SetBrush(kNoColour);
  canvas.Ellipse({-2, -2}, {2, 2});
  canvas.MoveTo(-2, 0);
  canvas.LineTo(2, 0);
  canvas.MoveTo(0, -2);
  canvas.LineTo(0, 2);
  canvas.SetFrame({0, 0});
}

TRectL TDefLabelPos::GetBounds() const {
  return MeasureText(*metrics_, TextFont("Arial", false, false), position.x, position.y, "Label", {});
}

void TDefLabelPos::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame(position);
  const Colour colour = selected ? kRed : kGreen;
  canvas.SetPen(std::int32_t(colour), 1);
  canvas.MoveTo(-2, 0);
  canvas.LineTo(2, 0);
  canvas.MoveTo(0, -2);
  canvas.LineTo(0, 2);
  canvas.SetFrame({0, 0});
  canvas.Context().FontDesc() = TextFont("Arial", false, false);
  TTextStyle style;
  style.colour = colour;
  style.outline = dragging;
  canvas.Text(position.x, position.y, "Label", style);
}

void TSensingRect::Draw(TDirCanvas& canvas, TPenMode mode) const {
  canvas.SetMode(mode);
  canvas.SetFrame({0, 0});
  canvas.SetPen(std::int32_t(kNavy), 1, 2);
  canvas.SetBrush(kNoColour);
  canvas.Rectangle(position, Second());
  DrawHandles(canvas, mode);
}

// --- a drawing as objects -----------------------------------------------------------

TShapeList ExplodeDShape(const TDShape& drawing, const TTextMetrics& metrics) {
  TShapeList items;
  const TPointL origin = ToFull(drawing.origin);
  auto origo = std::make_unique<TOrigo>();
  origo->position = origin;
  items.push_back(std::move(origo));
  auto cor = std::make_unique<TCOR>();
  cor->position = Add(origin, ToFull(drawing.corOffset));
  items.push_back(std::move(cor));
  auto label = std::make_unique<TDefLabelPos>(metrics);
  label->position = Add(origin, ToFull(drawing.labelOffset));
  items.push_back(std::move(label));
  auto sensing = std::make_unique<TSensingRect>();
  sensing->position = Add(origin, {drawing.sensing.left, drawing.sensing.top});
  sensing->x2 = origin.x + drawing.sensing.right;
  sensing->y2 = origin.y + drawing.sensing.bottom;
  items.push_back(std::move(sensing));

  for (std::size_t i = 0; i < drawing.pins.size(); ++i) {
    const TItemRecord& record = drawing.pins[i];
    if (record.Type() != kItemPin || !ItemFits(record)) continue;
    auto pin = std::make_unique<TPin>(metrics);
    pin->FromRecord(record, origin);
    pin->index = std::int16_t(i);
    items.push_back(std::move(pin));
  }
  for (const TItemRecord& record : drawing.graphics) {
    std::unique_ptr<TXShape> item;
    if (!ItemFits(record)) {
      item = std::make_unique<TFixedItem>();
    } else {
      switch (record.Type()) {
        case kItemLine: item = std::make_unique<TSegLine>(); break;
        case kItemShape: item = std::make_unique<TSegShape>(); break;
        case kItemText: item = std::make_unique<TXText>(metrics); break;
        case kItemPolygon:
          if (PolygonOf(record).points.empty()) continue;
          item = std::make_unique<TSegPolygon>();
          break;
        default: item = std::make_unique<TFixedItem>(); break;
      }
    }
    item->FromRecord(record, origin);
    items.push_back(std::move(item));
  }
  return items;
}

void StoreDShape(const TShapeList& items, TDShape& drawing, bool selectedOnly) {
  const TOrigo* origo = nullptr;
  const TCOR* cor = nullptr;
  const TDefLabelPos* label = nullptr;
  const TSensingRect* sensing = nullptr;
  for (const auto& item : items) {
    if (!origo) origo = dynamic_cast<const TOrigo*>(item.get());
    if (!cor) cor = dynamic_cast<const TCOR*>(item.get());
    if (!label) label = dynamic_cast<const TDefLabelPos*>(item.get());
    if (!sensing) sensing = dynamic_cast<const TSensingRect*>(item.get());
  }
  const TPointL origin = origo ? origo->position : TPointL{80, 56};
  drawing.origin = ToPacked(origin);
  drawing.corOffset = ToPacked(cor ? Sub(cor->position, origin) : TPointL{});
  drawing.labelOffset = ToPacked(label ? Sub(label->position, origin) : TPointL{});

  std::optional<TRectL> bounds;
  for (const auto& item : items) {
    if (item->IsMarker()) continue;
    const TRectL b = Normalised(item->GetBounds());
    bounds = bounds ? Union(*bounds, b) : b;
  }
  const TRectL b = bounds.value_or(TRectL{origin.x, origin.y, origin.x, origin.y});
  drawing.bounds = {I16(b.left - origin.x), I16(b.top - origin.y), I16(b.right - origin.x), I16(b.bottom - origin.y)};
  drawing.sensing = sensing ? TRectS{I16(sensing->position.x - origin.x), I16(sensing->position.y - origin.y),
                                     I16(sensing->x2 - origin.x), I16(sensing->y2 - origin.y)}
                            : TRectS{};

  drawing.pins.clear();
  drawing.graphics.clear();
  for (const auto& item : items) {
    if (item->IsMarker() || (selectedOnly && !item->selected)) continue;
    std::optional<TItemRecord> record = item->ToRecord(origin);
    if (!record) continue;
    if (dynamic_cast<const TPin*>(item.get()))
      drawing.pins.push_back(std::move(*record));
    else
      drawing.graphics.push_back(std::move(*record));
  }
}

}  // namespace wendro

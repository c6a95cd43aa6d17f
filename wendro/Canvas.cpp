#include "Canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace wendro {

using platform::Colour;
using platform::MakeColour;

const std::array<TColourRoleEntry, kRoleCount>& ColourRoles() {
  static const std::array<TColourRoleEntry, kRoleCount> roles{{
      {"Background", MakeColour(255, 255, 255)},
      {"Component", MakeColour(0, 128, 0)},
      {"Dragged component", MakeColour(0, 255, 255)},
      {"Selected component", MakeColour(255, 0, 0)},
      {"Faulty component", MakeColour(0, 0, 255)},
      {"Replaced component", MakeColour(255, 0, 0)},
      {"Label", MakeColour(0, 128, 128)},
      {"Selected label", MakeColour(255, 0, 0)},
      {"Meter label", MakeColour(128, 0, 128)},
      {"Wire", MakeColour(60, 0, 0)},
      {"Wire in short circuit", MakeColour(255, 0, 255)},
      {"Dragged wire", MakeColour(0, 255, 255)},
      {"Selected wire", MakeColour(255, 0, 0)},
      {"Text", MakeColour(10, 50, 100)},
      {"Dragged text", MakeColour(255, 0, 0)},
      {"Selected text", MakeColour(128, 0, 128)},
      {"Grid", MakeColour(192, 192, 192)},
      {"Selection rectangle", MakeColour(192, 192, 192)},
      {"Page frame", MakeColour(0, 0, 0)},
      {"Input", MakeColour(0, 0, 255)},
      {"Dragged input/output", MakeColour(0, 255, 255)},
      {"Selected input/output", MakeColour(255, 0, 0)},
      {"Label of selected component", MakeColour(128, 0, 0)},
      {"Pin", MakeColour(0, 128, 0)},
      {"Pin name", MakeColour(128, 0, 0)},
      {"Pin end marker", MakeColour(255, 0, 0)},
      {"Output", MakeColour(128, 0, 128)},
  }};
  return roles;
}

// --- context --------------------------------------------------------------------

TDrawContext::TDrawContext(platform::Canvas* canvas, const TTextMetrics& metrics)
    : canvas_(canvas), metrics_(metrics) {
  ResetFont();
  bounds_ = {INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
  if (canvas_) {
    canvas_->SetRasterMode(platform::RasterMode::Copy);
    ApplyPen();
    canvas_->SetBrush({true, brushColour_});
  }
}

TDrawContext::~TDrawContext() {
  // Leave the canvas as it was found: copy mode, no clip.
  if (canvas_) {
    canvas_->SetRasterMode(platform::RasterMode::Copy);
    canvas_->ClearClip();
  }
}

void TDrawContext::ResetFont() {
  font_ = platform::Font{};
  font_.face = "Arial";
  font_.height = 14;
  font_.weight = 300;
}

void TDrawContext::Recompute() {
  sx_ = double(device_.right - device_.left) / double(world_.right - world_.left);
  ox_ = device_.left - world_.left * sx_;
  sy_ = double(device_.bottom - device_.top) / double(world_.bottom - world_.top);
  oy_ = device_.top - world_.top * sy_;
}

void TDrawContext::Init(const platform::Rect& device, const TRectL& world) {
  SetDeviceRect(device);
  SetWorldRect(world);
}

void TDrawContext::SetDeviceRect(const platform::Rect& device) {
  if (device.right == device.left || device.bottom == device.top) return;
  device_ = device;
  Recompute();
}

void TDrawContext::SetWorldRect(const TRectL& world) {
  if (world.right == world.left || world.bottom == world.top) return;
  world_ = world;
  Recompute();
}

void TDrawContext::FitWorld(const platform::Rect& target) {
  const double ww = std::abs(double(world_.right - world_.left));
  const double wh = std::abs(double(world_.bottom - world_.top));
  const double tw = std::abs(double(target.right - target.left));
  const double th = std::abs(double(target.bottom - target.top));
  const double scale = std::min(tw / ww, th / wh);
  const int w = std::max(1, int(std::lround(ww * scale)));
  const int h = std::max(1, int(std::lround(wh * scale)));
  const int cx = (target.left + target.right) / 2, cy = (target.top + target.bottom) / 2;
  SetDeviceRect({cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h});
}

int TDrawContext::DeviceX(double x) const { return int(std::lround(x * sx_ + ox_)); }
int TDrawContext::DeviceY(double y) const { return int(std::lround(y * sy_ + oy_)); }

void TDrawContext::ExtendBounds(std::int32_t x, std::int32_t y) {
  if (noBounds) return;
  bounds_.left = std::min(bounds_.left, x);
  bounds_.top = std::min(bounds_.top, y);
  bounds_.right = std::max(bounds_.right, x);
  bounds_.bottom = std::max(bounds_.bottom, y);
}

platform::Point TDrawContext::Device(double x, double y) {
  ExtendBounds(std::int32_t(std::lround(x)), std::int32_t(std::lround(y)));
  return {DeviceX(x) - shiftX_, DeviceY(y) - shiftY_};
}

platform::Rect TDrawContext::DeviceBox(TPointL a, TPointL b, bool addOne) {
  const platform::Point p = Device(a.x, a.y), q = Device(b.x, b.y);
  platform::Rect r{std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
  if (addOne) ++r.right, ++r.bottom;
  return r;
}

void TDrawContext::ResetBounds() {
  if (!noOutput) {
    SetPenColour(RoleColour(kRolePageFrame));
    SetBrushColour(RoleColour(kRoleBackground));
    if (invalidate) invalidate(device_);
  }
  bounds_ = {INT_MAX, INT_MAX, -INT_MAX, -INT_MAX};
}

void TDrawContext::ApplyPen() {
  if (!canvas_) return;
  platform::Pen pen;
  pen.colour = penColour_;
  pen.width = std::max(1, int(std::lround(penWidth_ * sx_)));
  // A hairline leaves out its last pixel; wide lines end round.
  pen.cap = pen.width > 1 ? platform::LineCap::Round : platform::LineCap::Flat;
  pen.style = penStyle_ == 1   ? platform::PenStyle::Dash
              : penStyle_ == 2 ? platform::PenStyle::Dot
              : penStyle_ == 3 ? platform::PenStyle::None
                               : platform::PenStyle::Solid;
  canvas_->SetPen(pen);
}

void TDrawContext::SetPenColour(Colour colour) {
  penColour_ = colour;
  ApplyPen();
}

void TDrawContext::SetPenWidth(int width) {
  penWidth_ = width;
  ApplyPen();
}

void TDrawContext::SetPenStyle(int style) {
  penStyle_ = style;
  ApplyPen();
}

void TDrawContext::SetBrushColour(Colour colour) {
  brushColour_ = colour;
  if (canvas_) canvas_->SetBrush({true, colour});
}

void TDrawContext::SetNoBrush() {
  if (canvas_) canvas_->SetBrush({false, 0});
}

void TDrawContext::SetXorMode(bool on) {
  xor_ = on;
  SetRasterMode(on ? platform::RasterMode::Xor : platform::RasterMode::Copy);
}

void TDrawContext::SetRasterMode(platform::RasterMode mode) {
  raster_ = mode;
  xor_ = mode != platform::RasterMode::Copy;
  if (canvas_) canvas_->SetRasterMode(mode);
}

Colour TDrawContext::RoleColour(std::int32_t value) const {
  if (value >= 0 && value <= 45) {
    const int role = std::min(value, kRoleCount - 1);
    if (monochrome) return role == kRoleBackground ? MakeColour(255, 255, 255) : 0;
    return ColourRoles()[std::size_t(role)].colour;
  }
  return Colour(value);
}

Colour TDrawContext::MapColour(std::int32_t value) const { return Colour(value) & 0xFFFFFF; }

void TDrawContext::MoveTo(std::int32_t x, std::int32_t y) {
  at_ = {x, y};
  const platform::Point p = Device(x, y);
  if (auto* c = Target()) c->MoveTo(p.x, p.y);
}

void TDrawContext::LineTo(std::int32_t x, std::int32_t y) {
  at_ = {x, y};
  const platform::Point p = Device(x, y);
  if (auto* c = Target()) c->LineTo(p.x, p.y);
}

void TDrawContext::SetPixel(std::int32_t x, std::int32_t y, Colour colour) {
  const platform::Point p = Device(x, y);
  if (auto* c = Target()) c->SetPixel(p.x, p.y, colour);
}

void TDrawContext::FrameRect(const TRectL& r) {
  const platform::Rect d = DeviceBox({r.left, r.top}, {r.right, r.bottom}, false);
  if (auto* c = Target()) c->FrameRect(d, penColour_);
}

void TDrawContext::FillRect(const TRectL& r, Colour colour) {
  const platform::Rect d = DeviceBox({r.left, r.top}, {r.right, r.bottom}, false);
  if (auto* c = Target()) c->FillRect(d, colour);
}

void TDrawContext::Dot(std::int32_t x, std::int32_t y, int radius) {
  ExtendBounds(x - radius, y - radius);
  ExtendBounds(x + radius, y + radius);
  const platform::Point p = Device(x, y);
  const int r = std::max(0, int(std::lround(radius * sx_)));
  if (auto* c = Target()) {
    c->SetBrush({true, penColour_});
    c->Ellipse({p.x - r, p.y - r, p.x + r + 1, p.y + r + 1});
    c->SetBrush({true, brushColour_});
  }
}

void TDrawContext::InvalidateWorldRect(const TRectL& r) {
  if (!invalidate) return;
  const platform::Rect d{std::min(DeviceX(r.left), DeviceX(r.right)) - 1 - shiftX_,
                         std::min(DeviceY(r.top), DeviceY(r.bottom)) - 1 - shiftY_,
                         std::max(DeviceX(r.left), DeviceX(r.right)) + 1 - shiftX_,
                         std::max(DeviceY(r.top), DeviceY(r.bottom)) + 1 - shiftY_};
  invalidate(d);
}

void TDrawContext::FocusRect(const TRectL& r) {
  const platform::Rect d = DeviceBox({r.left, r.top}, {r.right, r.bottom}, false);
  auto* c = Target();
  if (!c) return;
  c->SetRasterMode(platform::RasterMode::Xor);
  c->SetPen({RoleColour(kRoleSelectionRect), 1, platform::PenStyle::Dot, platform::LineCap::Flat});
  c->SetBrush({false, 0});
  c->Rectangle(d);
  c->SetRasterMode(raster_);
  c->SetBrush({true, brushColour_});
  ApplyPen();
}

void TDrawContext::CrossHair(std::int32_t x, std::int32_t y) {
  auto* c = Target();
  if (!c) return;
  const int dx = DeviceX(x) - shiftX_, dy = DeviceY(y) - shiftY_;
  c->SetRasterMode(platform::RasterMode::Xor);
  c->SetPen({MakeColour(255, 255, 255), 1, platform::PenStyle::Solid, platform::LineCap::Flat});
  c->MoveTo(device_.left - shiftX_, dy);
  c->LineTo(device_.right - shiftX_, dy);
  c->MoveTo(dx, device_.top - shiftY_);
  c->LineTo(dx, device_.bottom - shiftY_);
  c->SetRasterMode(raster_);
  ApplyPen();
}

void TDrawContext::HandleMark(std::int32_t x, std::int32_t y, bool invalidateOnly) {
  const int dx = DeviceX(x) - shiftX_, dy = DeviceY(y) - shiftY_;
  const platform::Rect r{dx - 2, dy - 2, dx + 3, dy + 3};
  if (invalidateOnly) {
    if (invalidate) invalidate(r);
    return;
  }
  auto* c = Target();
  if (!c) return;
  c->SetRasterMode(platform::RasterMode::Invert);
  c->FillRect(r, 0);
  c->SetRasterMode(raster_);
}

void TDrawContext::DeviceSquare(std::int32_t x, std::int32_t y, int half, Colour colour) {
  const platform::Point p = Device(x, y);
  if (auto* c = Target()) c->FillRect({p.x - half, p.y - half, p.x + half + 1, p.y + half + 1}, colour);
}

void TDrawContext::Rectangle(const TRectL& r) {
  const platform::Rect d = DeviceBox({r.left, r.top}, {r.right, r.bottom}, true);
  if (auto* c = Target()) c->Rectangle(d);
}

void TDrawContext::Ellipse(const TRectL& r) {
  const platform::Rect d = DeviceBox({r.left, r.top}, {r.right, r.bottom}, true);
  if (auto* c = Target()) c->Ellipse(d);
}

void TDrawContext::Arc(const TRectL& box, TPointL start, TPointL end) {
  const platform::Rect d = DeviceBox({box.left, box.top}, {box.right, box.bottom}, true);
  const platform::Point s = Device(start.x, start.y), e = Device(end.x, end.y);
  if (auto* c = Target()) c->Arc(d, s, e);
}

void TDrawContext::Pie(const TRectL& box, TPointL start, TPointL end) {
  const platform::Rect d = DeviceBox({box.left, box.top}, {box.right, box.bottom}, true);
  const platform::Point s = Device(start.x, start.y), e = Device(end.x, end.y);
  if (auto* c = Target()) c->Pie(d, s, e);
}

void TDrawContext::Polygon(std::span<const TPointL> points) {
  std::vector<platform::Point> d;
  for (const TPointL& p : points) d.push_back(Device(p.x, p.y));
  if (auto* c = Target()) c->Polygon(d);
}

void TDrawContext::Polyline(std::span<const TPointL> points) {
  std::vector<platform::Point> d;
  for (const TPointL& p : points) d.push_back(Device(p.x, p.y));
  if (auto* c = Target()) c->Polyline(d);
}

void TDrawContext::SetClip(const platform::Rect& device) {
  if (auto* c = Target())
    c->SetClip({device.left - shiftX_, device.top - shiftY_, device.right - shiftX_, device.bottom - shiftY_});
}

// --- item transform ---------------------------------------------------------------

void TDrawContext::SetItemTransform(TPointL position, TPointL corOffset, int rotation, int mirrorAxis,
                                    bool mirrored) {
  position_ = position;
  cor_ = corOffset;
  rotation_ = rotation & 3;
  mirrorAxis_ = mirrorAxis & 3;
  mirrored_ = mirrored;
}

namespace {

TPointL Turn(std::int32_t x, std::int32_t y, int r) {
  switch (r & 3) {
    case 1: return {y, -x};
    case 2: return {-x, -y};
    case 3: return {-y, x};
    default: return {x, y};
  }
}

// Pin-local (along, across) for a direction: East, South, West, North.
TPointL PinTurn(std::int32_t a, std::int32_t b, int d) {
  switch (d & 3) {
    case 1: return {-b, a};
    case 2: return {-a, -b};
    case 3: return {b, -a};
    default: return {a, b};
  }
}

}  // namespace

TPointL TDrawContext::ItemPoint(std::int32_t x, std::int32_t y) const {
  TPointL p = Turn(x, y, rotation_);
  if (mirrored_) {
    if (mirrorAxis_ == 0 || mirrorAxis_ == 2)
      p.x = -p.x;
    else
      p.y = -p.y;
  }
  return {p.x + position_.x + cor_.x, p.y + position_.y + cor_.y};
}

int TDrawContext::ItemDirection(int direction) const {
  const TPointL unit = PinTurn(1, 0, direction);
  TPointL p = Turn(unit.x, unit.y, rotation_);
  if (mirrored_) {
    if (mirrorAxis_ == 0 || mirrorAxis_ == 2)
      p.x = -p.x;
    else
      p.y = -p.y;
  }
  if (p.x > 0) return 0;
  if (p.y > 0) return 1;
  if (p.x < 0) return 2;
  return 3;
}

void TDrawContext::ItemMoveTo(std::int32_t x, std::int32_t y) {
  const TPointL p = ItemPoint(x, y);
  MoveTo(p.x, p.y);
}

void TDrawContext::ItemLineTo(std::int32_t x, std::int32_t y) {
  const TPointL p = ItemPoint(x, y);
  LineTo(p.x, p.y);
  // The canvas leaves out a line's last pixel; set it, unless a raster mode
  // would turn a second touch of a pixel into its removal.
  if (!xor_ && penStyle_ == 0) SetPixel(p.x, p.y, penColour_);
}

void TDrawContext::ItemRectangle(TPointL a, TPointL b) {
  const TPointL p = ItemPoint(a.x, a.y), q = ItemPoint(b.x, b.y);
  Rectangle({p.x, p.y, q.x, q.y});
}

void TDrawContext::ItemEllipse(TPointL a, TPointL b) {
  const TPointL p = ItemPoint(a.x, a.y), q = ItemPoint(b.x, b.y);
  Ellipse({p.x, p.y, q.x, q.y});
}

void TDrawContext::ItemArc(TPointL a, TPointL b, TPointL start, TPointL end, bool pie) {
  const TPointL p = ItemPoint(a.x, a.y), q = ItemPoint(b.x, b.y);
  TPointL s = ItemPoint(start.x, start.y), e = ItemPoint(end.x, end.y);
  // Mirroring turns the arc's direction round.
  if (mirrored_) std::swap(s, e);
  if (pie)
    Pie({p.x, p.y, q.x, q.y}, s, e);
  else
    Arc({p.x, p.y, q.x, q.y}, s, e);
}

void TDrawContext::ItemPolygon(TPointL base, std::span<const TPointL> points) {
  std::vector<TPointL> world;
  for (const TPointL& p : points) world.push_back(ItemPoint(base.x + p.x, base.y + p.y));
  Polygon(world);
}

TPointL TDrawContext::PinPoint(std::int32_t along, std::int32_t across) const {
  const TPointL d = PinTurn(along, across, pinDirection_);
  return {pinEnd_.x + d.x, pinEnd_.y + d.y};
}

void TDrawContext::PinMoveTo(std::int32_t along, std::int32_t across) {
  const TPointL p = PinPoint(along, across);
  ItemMoveTo(p.x, p.y);
}

void TDrawContext::PinLineTo(std::int32_t along, std::int32_t across) {
  const TPointL p = PinPoint(along, across);
  ItemLineTo(p.x, p.y);
}

// --- text -----------------------------------------------------------------------

TRectL TDrawContext::DrawText(std::int32_t x, std::int32_t y, std::string_view text, const TTextStyle& style) {
  platform::Font font = font_;
  // A size that is no number, not positive or beyond any screen shows
  // nothing.
  const double height = sy_ < 32768 && std::abs(style.factor) < 32768 ? float(sy_) * 14.0f * float(style.factor) : 0.0;
  font.height = height > 0 && height < 32768 ? int(std::lround(height)) : 0;
  const bool vertical = style.orientation == 1 || style.orientation == 3;
  font.escapement = 0;
  if (vertical) {
    font.escapement = 900;
    font.height = int(std::lround(font.height * 0.85));
  }

  // Overbars: the k-th '~' opens (odd k) or closes (even k) a barred run;
  // positions count in the text without its '~'.
  std::string stripped;
  std::vector<std::pair<int, int>> bars;
  int tildes = 0, first = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '~') {
      stripped += text[i];
      continue;
    }
    ++tildes;
    const int pos = int(i) + 1;
    if (tildes % 2 == 1)
      first = pos - tildes + 1;
    else
      bars.emplace_back(first, pos - tildes);
  }
  if (tildes % 2 != 0 || style.outline) bars.clear();

  const platform::TextSize extent =
      font.height > 0 ? metrics_.Extent(font, stripped) : platform::TextSize{0, 0};
  const int w = extent.width, h = extent.height;
  const double ax = x * sx_ + ox_, ay = y * sy_ + oy_;
  double left, top, right, bottom;
  if (!vertical) {
    left = ax - (style.hAlign == 1 ? w / 2 : style.hAlign == 2 ? w : 0);
    top = ay - (style.vAlign == 1 ? h / 2 : style.vAlign == 2 ? h : 0);
    right = left + w;
    bottom = top + h;
  } else {
    bottom = ay + (style.hAlign == 1 ? w / 2 : style.hAlign == 2 ? w : 0);
    top = bottom - w;
    left = ax - (style.vAlign == 1 ? h / 2 : style.vAlign == 2 ? h : 0);
    right = left + h;
  }
  const TRectL world{std::int32_t(std::lround(WorldX(left))), std::int32_t(std::lround(WorldY(top))),
                     std::int32_t(std::lround(WorldX(right))), std::int32_t(std::lround(WorldY(bottom)))};
  ExtendBounds(world.left, world.top);
  ExtendBounds(world.right, world.bottom);

  // A font too small to show draws nothing rather than the default size.
  auto* c = Target();
  if (style.measureOnly || !c || font.height <= 0) return world;
  const int l = int(std::lround(left)) - shiftX_, t = int(std::lround(top)) - shiftY_;
  const int r = int(std::lround(right)) - shiftX_, b = int(std::lround(bottom)) - shiftY_;
  if (style.outline) {
    c->FocusRect({l, t, r, b});
    return world;
  }
  if (style.backgroundRole >= 0) c->FillRect({l, t, r, b}, RoleColour(style.backgroundRole));
  if (style.frameRole >= 0) c->FrameRect({l, t, r, b}, RoleColour(style.frameRole));
  c->SetFont(font);
  c->SetPen({style.colour, 1, platform::PenStyle::Solid, platform::LineCap::Flat});
  c->SetRasterMode(platform::RasterMode::Copy);
  if (vertical)
    c->TextOut(l, b, stripped);
  else
    c->TextOut(l, t, stripped);
  for (const auto& [from, to] : bars) {
    if (to < from) continue;
    const int x0 = metrics_.Extent(font, std::string_view(stripped).substr(0, std::size_t(from - 1))).width;
    const int x1 = metrics_.Extent(font, std::string_view(stripped).substr(0, std::size_t(to))).width;
    if (vertical) {
      c->MoveTo(l, b - x0);
      c->LineTo(l, b - x1);
    } else {
      c->MoveTo(l + x0, t);
      c->LineTo(l + x1, t);
    }
  }
  c->SetRasterMode(raster_);
  ApplyPen();
  return world;
}

// --- stored items ---------------------------------------------------------------

namespace {

// The pen colour of an item in the context's drawing mode.
Colour ItemColour(const TDrawContext& c, Colour own) {
  if (c.flags & kDrawErase) return c.RoleColour(kRoleBackground);
  if (c.flags & kDrawDragged) return c.RoleColour(kRoleDraggedComponent);
  if (c.flags & kDrawSelected)
    return c.RoleColour((c.flags & kDrawLabelSelected) ? kRoleLabelOfSelected : kRoleSelectedComponent);
  return own;
}

void SetItemPen(TDrawContext& c, std::int32_t colour, int width) {
  c.SetPenStyle(0);
  c.SetPenWidth(width);
  c.SetPenColour(ItemColour(c, c.MapColour(colour)));
}

void SetItemBrush(TDrawContext& c, std::int32_t fill) {
  if (fill == kNoColour || (c.flags & kDrawDragged))
    c.SetNoBrush();
  else if (c.flags & kDrawErase)
    c.SetBrushColour(c.RoleColour(kRoleBackground));
  else
    c.SetBrushColour(c.MapColour(fill));
}

// A cap at `tip`, pointing along (dx, dy).
void DrawCap(TDrawContext& c, const TCap& cap, TPointL tip, double dx, double dy) {
  if (cap.kind < 1 || cap.kind > 3) return;
  const double length = std::hypot(dx, dy);
  if (length == 0) return;
  const double ux = dx / length, uy = dy / length;
  const double f = cap.size / 100.0;
  static const std::vector<std::pair<int, int>> shapes[3] = {
      {{0, 0}, {4, -8}, {-4, -8}},
      {{-4, 0}, {-4, -2}, {4, -2}, {4, 0}},
      {{0, 0}, {4, -8}, {0, -3}, {-4, -8}},
  };
  std::vector<TPointL> points;
  for (const auto& [px, py] : shapes[cap.kind - 1]) {
    const double wx = f * (px * -uy + py * ux), wy = f * (px * ux + py * uy);
    points.push_back({tip.x + std::int32_t(std::lround(wx)), tip.y + std::int32_t(std::lround(wy))});
  }
  const Colour saved = c.PenColour();
  const Colour colour = cap.colour == kNoColour ? saved : ItemColour(c, c.MapColour(cap.colour));
  c.SetPenColour(colour);
  c.SetBrushColour(colour);
  c.ItemPolygon({0, 0}, points);
  c.SetPenColour(saved);
}

void DrawLine(TDrawContext& c, const TLineData& line) {
  SetItemPen(c, line.colour, line.width);
  c.ItemMoveTo(line.x1, line.y1);
  c.ItemLineTo(line.x2, line.y2);
  DrawCap(c, line.startCap, {line.x1, line.y1}, line.x1 - line.x2, line.y1 - line.y2);
  DrawCap(c, line.endCap, {line.x2, line.y2}, line.x2 - line.x1, line.y2 - line.y1);
}

// The quarter of the ellipse centred at (x1, y2) between the two points,
// counter-clockwise: its box, start and end.
struct TArcGeometry {
  TPointL a, b, start, end;
};
TArcGeometry ArcOf(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  TArcGeometry g;
  g.a = {2 * x1 - x2, y1};
  g.b = {x2, 2 * y2 - y1};
  if ((x2 >= x1 && y2 >= y1) || (x2 < x1 && y2 < y1)) {
    g.start = {x2, y2};
    g.end = {x1, y1};
  } else {
    g.start = {x1, y1};
    g.end = {x2, y2};
  }
  return g;
}

void DrawShapeItem(TDrawContext& c, const TShapeItemData& s) {
  SetItemPen(c, s.penColour, s.width);
  SetItemBrush(c, s.fillColour);
  const TPointL a{s.box.left, s.box.top}, b{s.box.right, s.box.bottom};
  switch (s.kind) {
    case 0: c.ItemRectangle(a, b); break;
    case 1: c.ItemEllipse(a, b); break;
    case 2: {
      const TArcGeometry g = ArcOf(a.x, a.y, b.x, b.y);
      if (s.fillColour != kNoColour && !(c.flags & kDrawDragged)) {
        c.SetPenStyle(3);  // no pen
        c.ItemArc(g.a, g.b, g.start, g.end, true);
        c.SetPenStyle(0);
      }
      c.SetNoBrush();
      c.ItemArc(g.a, g.b, g.start, g.end);
      break;
    }
    default: break;
  }
}

void DrawTextItem(TDrawContext& c, const TTextData& t) {
  if (c.flags & kDrawDragged) return;
  platform::Font& font = c.FontDesc();
  font.face = t.fontName;
  font.weight = t.bold ? 700 : 300;
  font.italic = t.italic != 0;
  TTextStyle style;
  style.colour = (c.flags & kDrawErase)      ? c.RoleColour(kRoleBackground)
                 : (c.flags & kDrawSelected) ? c.RoleColour(kRoleSelectedText)
                                             : c.MapColour(t.colour);
  style.factor = t.sizeFactor;
  style.orientation = c.Rotation();
  const TPointL p = c.ItemPoint(t.x, t.y);
  c.DrawText(p.x, p.y, t.text, style);
  c.ResetFont();
}

void DrawPolygonItem(TDrawContext& c, const TPolygonData& p) {
  SetItemPen(c, p.penColour, p.width);
  SetItemBrush(c, p.fillColour);
  std::vector<TPointL> points;
  for (const TPointS& q : p.points) points.push_back({q.x, q.y});
  c.ItemPolygon({p.box.left, p.box.top}, points);
}

void DrawConnector(TDrawContext& c, const TConnectorData& k) {
  SetItemPen(c, k.colour, 1);
  c.SetNoBrush();
  const std::int32_t x1 = k.x1, y1 = k.y1, x2 = k.x2, y2 = k.y2;
  if (k.kind == 0) {
    // Along x, then along y, the corner rounded.
    const std::int32_t radius = std::min(std::abs(x2 - x1), std::abs(y2 - y1)) / 4;
    const std::int32_t sx = x2 >= x1 ? 1 : -1, sy = y2 >= y1 ? 1 : -1;
    c.ItemMoveTo(x1, y1);
    c.ItemLineTo(x2 - sx * radius, y1);
    if (radius > 0) {
      // Quarter circle from (x2 - sx·R, y1) to (x2, y1 + sy·R), centred at
      // (x2 - sx·R, y1 + sy·R).
      const TPointL centre{x2 - sx * radius, y1 + sy * radius};
      const TPointL p{x2 - sx * radius, y1}, q{x2, y1 + sy * radius};
      const bool ccw = (sx > 0) != (sy > 0);
      c.ItemArc({centre.x - radius, centre.y - radius}, {centre.x + radius, centre.y + radius}, ccw ? p : q,
                ccw ? q : p);
      c.ItemMoveTo(q.x, q.y);
    }
    c.ItemLineTo(x2, y2);
    DrawCap(c, k.startCap, {x1, y1}, x1 - x2, 0);
    DrawCap(c, k.endCap, {x2, y2}, 0, y2 - y1);
    return;
  }
  if (k.kind != 1) return;
  const TArcGeometry g = ArcOf(x1, y1, x2, y2);
  c.ItemArc(g.a, g.b, g.start, g.end);
  // Perpendicular stubs of 8 units with the caps at their far ends.
  const double cx = x2 - x1, cy = y2 - y1, chord = std::hypot(cx, cy);
  if (chord == 0) return;
  const double nx = -cy / chord * 8, ny = cx / chord * 8;
  auto stub = [&](const TCap& cap, double fx, double fy) {
    if (cap.kind == 0) return;
    const TPointL from{x1 + std::int32_t(std::lround(fx * cx)), y1 + std::int32_t(std::lround(fy * cy))};
    const TPointL to{from.x + std::int32_t(std::lround(nx)), from.y + std::int32_t(std::lround(ny))};
    c.ItemMoveTo(from.x, from.y);
    c.ItemLineTo(to.x, to.y);
    DrawCap(c, cap, to, nx, ny);
  };
  stub(k.startCap, 0.1464, 0.8536);
  stub(k.endCap, 0.8536, 0.8536);
}

}  // namespace

TPinGeometry PinGeometry(std::uint8_t shapeAndLength) {
  TPinGeometry g;
  const int shape = shapeAndLength & 0x0F;
  const int units = 4 * (shapeAndLength >> 4);
  if (units == 0) return g;
  if (shape & 2) {
    g.lines.push_back({{units, -3}, {units + 3, 0}});
    g.lines.push_back({{units + 3, 0}, {units, 3}});
  }
  if (shape >= 8) return g;
  // A dot takes the last 4 units of the line.
  const int line = (shape & 1) ? std::max(0, units - 4) : units;
  g.lines.push_back({{0, 0}, {line, 0}});
  if (shape & 1) {
    g.dot = true;
    g.dotFrom = {line, -2};
    g.dotTo = {line + 4, 2};
  }
  return g;
}

void DrawPin(TDrawContext& c, const TPinData& pin, int parts) {
  const int shape = pin.shapeAndLength & 0x0F;
  const int units = 4 * (pin.shapeAndLength >> 4);
  c.SetPinFrame(pin.direction, {pin.x, pin.y});
  if (parts & kPinLines) {
    c.SetPenStyle(0);
    c.SetPenWidth(1);
    c.SetPenColour(ItemColour(c, c.RoleColour(kRolePin)));
    const TPinGeometry g = PinGeometry(pin.shapeAndLength);
    for (const auto& [from, to] : g.lines) {
      c.PinMoveTo(from.x, from.y);
      c.PinLineTo(to.x, to.y);
    }
    if (g.dot) {
      c.SetNoBrush();
      c.ItemEllipse(c.PinPoint(g.dotFrom.x, g.dotFrom.y), c.PinPoint(g.dotTo.x, g.dotTo.y));
    }
  }
  if (!(parts & kPinNames)) return;
  const bool dragged = c.flags & kDrawDragged;
  const int direction = c.ItemDirection(pin.direction);
  if (pin.showName && !dragged) {
    const TPointL anchor = units == 0 ? c.PinPoint(2, 0) : c.PinPoint(units + 2 + pin.nameOffsetX, pin.nameOffsetY);
    const TPointL p = c.ItemPoint(anchor.x, anchor.y);
    TTextStyle style;
    style.colour = (c.flags & kDrawErase)      ? c.RoleColour(kRoleBackground)
                   : (c.flags & kDrawSelected) ? c.RoleColour(kRoleSelectedLabel)
                                               : c.RoleColour(kRolePinName);
    style.factor = pin.fontSize * 0.9 / 8;
    static const int hAlign[4] = {0, 1, 2, 1}, vAlign[4] = {1, 0, 1, 2};
    style.hAlign = hAlign[direction];
    style.vAlign = vAlign[direction];
    c.DrawText(p.x, p.y, pin.name, style);
  } else if (!pin.showName && !dragged && (c.flags & kDrawSupplementary)) {
    const TPointL anchor = c.PinPoint(-4, 0);
    const TPointL p = c.ItemPoint(anchor.x, anchor.y);
    TTextStyle style;
    style.colour = (c.flags & kDrawErase) ? c.RoleColour(kRoleBackground) : c.RoleColour(kRolePinName);
    style.factor = 0.9;
    static const int hAlign[4] = {2, 1, 0, 1}, vAlign[4] = {1, 2, 1, 0};
    style.hAlign = hAlign[direction];
    style.vAlign = vAlign[direction];
    c.DrawText(p.x, p.y, pin.name, style);
  }
  if ((c.flags & kDrawPinMarkers) && shape < 15) {
    c.SetPenStyle(0);
    c.SetPenWidth(1);
    c.SetPenColour((c.flags & kDrawErase) ? c.RoleColour(kRoleBackground) : c.RoleColour(kRolePinEndMarker));
    c.ItemMoveTo(pin.x - 2, pin.y);
    c.ItemLineTo(pin.x + 2, pin.y);
    c.ItemMoveTo(pin.x, pin.y - 2);
    c.ItemLineTo(pin.x, pin.y + 2);
  }
}

void DrawItem(TDrawContext& c, const TItemRecord& item) {
  if (!ItemFits(item)) return;
  switch (item.Type()) {
    case kItemPin: DrawPin(c, PinOf(item)); break;
    case kItemLine: DrawLine(c, LineOf(item)); break;
    case kItemShape: DrawShapeItem(c, ShapeItemOf(item)); break;
    case kItemText: DrawTextItem(c, TextOf(item)); break;
    case kItemPolygon: DrawPolygonItem(c, PolygonOf(item)); break;
    case kItemConnector: DrawConnector(c, ConnectorOf(item)); break;
    default: break;
  }
}

void DrawDShape(const TDShape& drawing, TDrawContext& c, TPointL position, int rotation, int mirrorAxis,
                bool mirrored, std::int16_t flags) {
  c.SetItemTransform(position, ToFull(drawing.corOffset), rotation, mirrorAxis, mirrored);
  c.flags = flags;
  // Pin lines below the graphics, pin names and markers above them.
  for (const TItemRecord& pin : drawing.pins)
    if (pin.Type() == kItemPin && ItemFits(pin)) DrawPin(c, PinOf(pin), kPinLines);
  for (const TItemRecord& item : drawing.graphics) DrawItem(c, item);
  for (const TItemRecord& pin : drawing.pins)
    if (pin.Type() == kItemPin && ItemFits(pin)) DrawPin(c, PinOf(pin), kPinNames);
}

void DrawPreview(platform::Canvas& canvas, const platform::Rect& target, const TDevice& device, int standard,
                 const TTextMetrics& metrics) {
  int direction = 0;
  const int index = device.PickShape(standard, direction);
  if (index < 0) return;
  const TDShape& drawing = *device.shapes[std::size_t(index)];
  const TRectL b = ToFull(drawing.bounds);
  const double tw = std::max(1, target.right - target.left), th = std::max(1, target.bottom - target.top);
  double w = std::max<double>({double(b.right - b.left), tw, 1.0});
  double h = std::max<double>({double(b.bottom - b.top), th, 1.0});
  // Widen one axis to the target's aspect.
  if (w / h < tw / th)
    w = h * tw / th;
  else
    h = w * th / tw;
  const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
  const TRectL world{std::int32_t(std::lround(cx - w / 2)), std::int32_t(std::lround(cy - h / 2)),
                     std::int32_t(std::lround(cx + w / 2)), std::int32_t(std::lround(cy + h / 2))};
  TDrawContext context(&canvas, metrics);
  context.Init(target, world);
  context.SetClip(target);
  DrawDShape(drawing, context, {0, 0}, 0, 0, false, kDrawPinMarkers);
}

}  // namespace wendro

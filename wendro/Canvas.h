#pragma once
// The drawing context: world coordinates onto a platform canvas, with the
// current pen, brush and font, the bounds of what was drawn, texts with
// overbars and the table of colour roles; and on top of it the rendering of
// stored item records, of whole drawings and of device previews.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "C_DSData.h"
#include "platform/canvas.h"

namespace wendro {

// --- colour roles ---------------------------------------------------------------

inline constexpr int kRoleCount = 27;
enum TColourRole : int {
  kRoleBackground = 0,
  kRoleDraggedComponent = 2,
  kRoleSelectedComponent = 3,
  kRoleSelectedLabel = 7,
  kRoleSelectedText = 15,
  kRoleSelectionRect = 17,
  kRolePageFrame = 18,
  kRoleLabelOfSelected = 22,
  kRolePin = 23,
  kRolePinName = 24,
  kRolePinEndMarker = 25,
  kRoleOutput = 26,
};
struct TColourRoleEntry {
  std::string_view name;
  platform::Colour colour;
};
const std::array<TColourRoleEntry, kRoleCount>& ColourRoles();

// Drawing-mode flags.
enum : std::int16_t {
  kDrawSelected = 1,
  kDrawDragged = 2,        // outline while dragged
  kDrawErase = 4,          // everything in the background colour
  kDrawLabelSelected = 8,  // with kDrawSelected: selected as part of a label
  kDrawSupplementary = 16, // hidden pin names too
  kDrawPinMarkers = 128,   // pin end markers
};

// How DrawText places and draws a text.
struct TTextStyle {
  bool outline = false;      // a dotted XOR frame stands for the text
  platform::Colour colour = 0;
  double factor = 1.0;       // size factor on the base height 14
  int orientation = 0;       // quarter turns; 1 and 3 run upwards
  int hAlign = 0;            // 0 left, 1 centre, 2 right
  int vAlign = 0;            // 0 top, 1 centre, 2 bottom
  int backgroundRole = -1;   // fill behind the text, -1 none
  int frameRole = -1;        // frame round the text, -1 none
  bool measureOnly = false;
};

// --- the context ----------------------------------------------------------------

class TDrawContext {
 public:
  // Without a canvas the context only measures.
  TDrawContext(platform::Canvas* canvas, const TTextMetrics& metrics);
  virtual ~TDrawContext();
  TDrawContext(const TDrawContext&) = delete;
  TDrawContext& operator=(const TDrawContext&) = delete;

  void Init(const platform::Rect& device, const TRectL& world);
  // Both recompute scale and offset; an empty rectangle changes nothing.
  void SetDeviceRect(const platform::Rect& device);
  void SetWorldRect(const TRectL& world);
  // Device rectangle inside target that shows the whole world at its own
  // aspect, centred, at least one device unit wide.
  void FitWorld(const platform::Rect& target);
  // Subtracted from every device coordinate before it reaches the canvas
  // (the canvas shows a part of the device surface).
  void SetOriginShift(int x, int y) { shiftX_ = x, shiftY_ = y; }

  // Called with device rectangles to be repainted, and to repaint now.
  std::function<void(const platform::Rect&)> invalidate;
  std::function<void()> update;

  bool noOutput = false;     // measure only
  bool noBounds = false;     // no bounds tracking
  bool monochrome = false;   // role colours: background white, others black

  double ScaleX() const { return sx_; }
  double ScaleY() const { return sy_; }
  // World to device (before the origin shift) and back.
  int DeviceX(double x) const;
  int DeviceY(double y) const;
  double WorldX(double deviceX) const { return (deviceX - ox_) / sx_; }
  double WorldY(double deviceY) const { return (deviceY - oy_) / sy_; }

  // Drawn bounds in world units; empty (min > max) after ResetBounds.
  TRectL Bounds() const { return bounds_; }
  bool HasBounds() const { return bounds_.left <= bounds_.right; }
  void ResetBounds();
  void ExtendBounds(std::int32_t x, std::int32_t y);

  // --- world operations (a derived context may replace them) ---
  virtual void MoveTo(std::int32_t x, std::int32_t y);
  virtual void LineTo(std::int32_t x, std::int32_t y);
  virtual void SetPixel(std::int32_t x, std::int32_t y, platform::Colour colour);
  virtual void FrameRect(const TRectL& r);
  virtual void FillRect(const TRectL& r, platform::Colour colour);
  virtual void Dot(std::int32_t x, std::int32_t y, int radius);
  virtual void SetPenColour(platform::Colour colour);
  virtual void SetBrushColour(platform::Colour colour);
  virtual platform::Colour RoleColour(std::int32_t value) const;
  virtual platform::Colour MapColour(std::int32_t value) const;
  virtual void SetPenStyle(int style);  // 0 solid, 1 dash, 2 dot, 3 none
  virtual void SetXorMode(bool on);

  void SetPenWidth(int width);
  void SetNoBrush();
  void SetRasterMode(platform::RasterMode mode);
  platform::Colour PenColour() const { return penColour_; }
  int PenWidth() const { return penWidth_; }
  void InvalidateWorldRect(const TRectL& r);
  void Update() {
    if (update) update();
  }
  // A dotted XOR frame in the selection rectangle's colour.
  void FocusRect(const TRectL& r);
  void CrossHair(std::int32_t x, std::int32_t y);
  void HandleMark(std::int32_t x, std::int32_t y, bool invalidateOnly);
  // Device-unit primitives at a world point (handles, markers).
  void DeviceSquare(std::int32_t x, std::int32_t y, int half, platform::Colour colour);
  // World geometry straight onto the canvas.
  void Rectangle(const TRectL& r);
  void Ellipse(const TRectL& r);
  void Arc(const TRectL& box, TPointL start, TPointL end);
  void Pie(const TRectL& box, TPointL start, TPointL end);
  void Polygon(std::span<const TPointL> points);
  void Polyline(std::span<const TPointL> points);
  void SetClip(const platform::Rect& device);

  // --- font ---
  platform::Font& FontDesc() { return font_; }
  void ResetFont();

  // --- item transform ---
  void SetItemTransform(TPointL position, TPointL corOffset, int rotation, int mirrorAxis, bool mirrored);
  int Rotation() const { return rotation_; }
  std::int16_t flags = 0;  // drawing-mode flags
  TPointL ItemPoint(std::int32_t x, std::int32_t y) const;
  // The direction (0 East .. 3 North) that a direction of item space takes.
  int ItemDirection(int direction) const;
  void ItemMoveTo(std::int32_t x, std::int32_t y);
  void ItemLineTo(std::int32_t x, std::int32_t y);
  void ItemRectangle(TPointL a, TPointL b);
  void ItemEllipse(TPointL a, TPointL b);
  // The arc (or the pie) in box a-b from start to end, counter-clockwise.
  void ItemArc(TPointL a, TPointL b, TPointL start, TPointL end, bool pie = false);
  void ItemPolygon(TPointL base, std::span<const TPointL> points);

  // --- pin frame ---
  void SetPinFrame(int direction, TPointL end) { pinDirection_ = direction & 3, pinEnd_ = end; }
  // Pin-local (along, across) to item space.
  TPointL PinPoint(std::int32_t along, std::int32_t across) const;
  void PinMoveTo(std::int32_t along, std::int32_t across);
  void PinLineTo(std::int32_t along, std::int32_t across);

  // The text's world rectangle; see TTextStyle.
  TRectL DrawText(std::int32_t x, std::int32_t y, std::string_view text, const TTextStyle& style);

  const TTextMetrics& Metrics() const { return metrics_; }

 protected:
  bool Output() const { return canvas_ && !noOutput; }
  platform::Canvas* Target() { return Output() ? canvas_ : nullptr; }
  platform::Point Device(double x, double y);
  platform::Rect DeviceBox(TPointL a, TPointL b, bool addOne);
  void ApplyPen();

 private:
  void Recompute();

  platform::Canvas* canvas_;
  const TTextMetrics& metrics_;
  platform::Rect device_{0, 0, 1, 1};
  TRectL world_{0, 0, 1, 1};
  double sx_ = 1, ox_ = 0, sy_ = 1, oy_ = 0;
  int shiftX_ = 0, shiftY_ = 0;
  TRectL bounds_;
  TPointL at_;
  platform::Colour penColour_ = 0;
  int penWidth_ = 1;
  int penStyle_ = 0;
  bool xor_ = false;  // any raster mode but copy
  platform::RasterMode raster_ = platform::RasterMode::Copy;
  platform::Colour brushColour_ = 0xFFFFFF;
  platform::Font font_;
  TPointL position_, cor_;
  int rotation_ = 0, mirrorAxis_ = 0;
  bool mirrored_ = false;
  int pinDirection_ = 0;
  TPointL pinEnd_;
};

// --- rendering of stored items -------------------------------------------------

// The lines of a pin in pin-local units (along, across): the clock's two
// strokes, the pin line and the box of its dot. Nothing for length 0; only
// the clock with shape bit 3 (no pin line).
struct TPinGeometry {
  std::vector<std::pair<TPointL, TPointL>> lines;
  bool dot = false;
  TPointL dotFrom, dotTo;
};
TPinGeometry PinGeometry(std::uint8_t shapeAndLength);

// Which parts of a pin to draw: its line, clock and dot; its name, hidden
// name and end marker.
enum TPinParts { kPinLines = 1, kPinNames = 2, kPinAll = 3 };

void DrawPin(TDrawContext& context, const TPinData& pin, int parts = kPinAll);
void DrawItem(TDrawContext& context, const TItemRecord& item);
void DrawDShape(const TDShape& drawing, TDrawContext& context, TPointL position, int rotation,
                int mirrorAxis, bool mirrored, std::int16_t flags);
// The device's drawing for the standard (direction 0), fitted into target
// and clipped to it; nothing when the device has none.
void DrawPreview(platform::Canvas& canvas, const platform::Rect& target, const TDevice& device,
                 int standard, const TTextMetrics& metrics);

// Snaps to a multiple of step, division truncating toward zero.
inline std::int32_t Snap(std::int32_t v, std::int32_t step) { return (v + step / 2) / step * step; }

}  // namespace wendro

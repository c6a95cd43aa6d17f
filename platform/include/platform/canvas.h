#pragma once
// A drawing surface in device pixels (y grows downwards) with a current pen,
// brush, font, raster mode and clip rectangle, as drawing code on a window or
// image needs it. Back ends: a QPainter canvas (platform/qt) and a recording
// canvas for tests (platform/recording_canvas.h).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// A colour with red in the low byte, then green, then blue (0x00BBGGRR).
using Colour = std::uint32_t;
constexpr Colour MakeColour(int r, int g, int b) {
  return Colour(r & 0xFF) | (Colour(g & 0xFF) << 8) | (Colour(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return int(c & 0xFF); }
constexpr int GreenOf(Colour c) { return int((c >> 8) & 0xFF); }
constexpr int BlueOf(Colour c) { return int((c >> 16) & 0xFF); }

struct Point {
  int x = 0, y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};
// Left and top inside, right and bottom outside.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class PenStyle { Solid, Dash, Dot, None };
enum class LineCap { Round, Square, Flat };

struct Pen {
  Colour colour = 0;
  int width = 1;  // pixels; 0 draws as 1
  PenStyle style = PenStyle::Solid;
  LineCap cap = LineCap::Round;
  friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
  bool solid = false;  // false: shapes are not filled
  Colour colour = 0;
  friend bool operator==(const Brush&, const Brush&) = default;
};

struct Font {
  std::string face = "Arial";
  int height = 14;      // cell height in pixels
  int weight = 400;     // 100..900; 700 is bold
  bool italic = false;
  int escapement = 0;   // tenths of a degree, counter-clockwise; 900 runs upwards
  friend bool operator==(const Font&, const Font&) = default;
};

// How a drawn pixel combines with the pixel below: the pen or brush colour
// replaces it (Copy), is XORed into it (Xor), XORed and inverted (NotXor), or
// the pixel below is inverted whatever the colour (Invert).
enum class RasterMode { Copy, Xor, NotXor, Invert };

struct TextSize {
  int width = 0, height = 0;
  friend constexpr bool operator==(const TextSize&, const TextSize&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetBrush(const Brush& brush) = 0;
  virtual void SetFont(const Font& font) = 0;
  virtual void SetRasterMode(RasterMode mode) = 0;
  // Output outside the rectangle is dropped; ClearClip lifts the limit.
  virtual void SetClip(const Rect& clip) = 0;
  virtual void ClearClip() = 0;

  virtual void MoveTo(int x, int y) = 0;
  // A line with the pen from the current position to (x, y), which becomes
  // the current position. A one-pixel pen with a flat cap leaves out the
  // end point; other caps cover it.
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(std::span<const Point> points) = 0;
  virtual void SetPixel(int x, int y, Colour colour) = 0;
  // Outlined with the pen and filled with the brush inside the rectangle.
  virtual void Rectangle(const Rect& box) = 0;
  virtual void Ellipse(const Rect& box) = 0;
  // The part of the ellipse inside box that runs counter-clockwise from the
  // ray through `start` to the ray through `end` (both seen from the centre);
  // equal rays draw the whole ellipse. Pie closes it to the centre and fills.
  virtual void Arc(const Rect& box, Point start, Point end) = 0;
  virtual void Pie(const Rect& box, Point start, Point end) = 0;
  virtual void Polygon(std::span<const Point> points) = 0;
  // Filled with the colour / framed one pixel wide with it; no pen.
  virtual void FillRect(const Rect& box, Colour colour) = 0;
  virtual void FrameRect(const Rect& box, Colour colour) = 0;
  // A dotted frame that a second call with the same rectangle removes.
  virtual void FocusRect(const Rect& box) = 0;
  // The text in the pen colour, without background, with the top-left of
  // its cell (in the text's own direction) at (x, y). Bytes in the legacy
  // code page.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
};

}  // namespace platform

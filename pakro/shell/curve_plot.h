#pragma once
// The picture of a datasheet curve: the typed points as small squares, the
// fitted model curve as a blue line, axes with a dotted grid and tick labels.
// The plot draws on a small canvas interface, so the same geometry goes to
// the screen (a QPainter canvas) or into a list of drawing calls (tests).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pakro {

// A colour as the drawing code names it: red in the low byte, blue in the
// third ($FF0000 is blue); or the system window colour.
struct PlotColor {
  std::uint32_t bgr = 0;
  bool window = false;  // the system window colour, whatever bgr says

  static constexpr PlotColor Bgr(std::uint32_t value) { return {value, false}; }
  static constexpr PlotColor Window() { return {0, true}; }
  friend constexpr bool operator==(const PlotColor&, const PlotColor&) = default;
};

inline constexpr PlotColor kPlotBlack = PlotColor::Bgr(0x000000);
inline constexpr PlotColor kPlotBlue = PlotColor::Bgr(0xFF0000);
inline constexpr PlotColor kPlotGrey = PlotColor::Bgr(0x808080);
inline constexpr PlotColor kPlotWindow = PlotColor::Window();

enum class PenStyle { Solid, Dot };

struct PlotPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// What the plot needs of a picture: its size and a canvas with a pen, a
// brush, a font and a current position. Coordinates are pixels, y grows
// downwards.
class PlotCanvas {
 public:
  virtual ~PlotCanvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetPen(PlotColor color, PenStyle style) = 0;
  virtual void SetBrush(PlotColor color) = 0;
  // A font by family and point size, without style (not bold, not italic).
  virtual void SetFont(std::string_view family, int size) = 0;

  virtual void MoveTo(int x, int y) = 0;
  // A line with the pen from the current position to (x, y), which becomes
  // the current position.
  virtual void LineTo(int x, int y) = 0;
  // Outlined with the pen and filled with the brush, from (x1, y1) up to but
  // not including (x2, y2).
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // A closed polygon, outlined with the pen and filled with the brush.
  virtual void Polygon(std::span<const PlotPoint> corners) = 0;
  // The text with its top left corner at (x, y), on the brush colour.
  // Texts are bytes in the legacy code page.
  virtual void TextOut(int x, int y, std::string_view text) = 0;
};

// A tick label: values below 1 keep one significant digit, values of 1 or
// more become integers; 0 < |v| <= 0.01 is written as 5E-3, the rest in the
// general format at precision 3 (1000 gives 1E3). A negative value is
// labelled as its magnitude with the sign.
std::string AxisNumberText(double value);
// The same for axes with negative values; magnitudes below 1E-12 count as 0.
std::string SignedAxisNumberText(double value);

}  // namespace pakro

#include "pakro/shell/curve_plot.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "pakro/shell/graph.h"
#include "pakro/shell/number_text.h"

namespace pakro {

namespace {

// Pixels are held this far around the picture at most, so a value far
// outside the axes still gives a whole number.
constexpr double kFarOut = 100000;
// The fitted curve is left out when a model value reaches this.
constexpr long double kOutOfWindow = 1E100L;

// Rounds to the nearest whole pixel, halves to even, after holding the
// value within kFarOut of the picture.
int Pixel(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(value, -kFarOut, kFarOut)));
}

std::string LabelText(double value, bool zeroTiny) {
  if (!std::isfinite(value)) return FloatToText(FloatFormat::General, 3, 2, value);
  if (zeroTiny && std::fabs(value) < 1E-12) value = 0;
  const bool negative = value < 0;
  double v = std::fabs(value);
  if (v != 0) {
    // One significant digit below 1, whole numbers from 1 on.
    int n = 0;
    while (v < 1) {
      v *= 10;
      ++n;
    }
    v = std::nearbyint(v);
    for (int i = 0; i < n; ++i) v /= 10;
  }
  if (negative) v = -v;
  if (v != 0 && std::fabs(v) <= 0.01) {
    // Two significant digits in exponent notation with the shortest
    // exponent, then without the ".0": 5E-3.
    // Written without the C library's formatting, which would use the
    // locale's decimal point.
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 1);
    std::string text(buffer, written.ptr);
    const auto e = text.find('e');
    std::string mantissa = text.substr(0, e);
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string exp = (exponent < 0 ? "-" : "+") + std::to_string(std::abs(exponent));
    if (mantissa.size() >= 2 && mantissa.compare(mantissa.size() - 2, 2, ".0") == 0)
      mantissa.erase(mantissa.size() - 2);
    return mantissa + "E" + exp;
  }
  return FloatToText(FloatFormat::General, 3, 2, v);
}

// Step of a linear axis whose largest value is vmax: 1 for vmax from 1 to
// 10 (and for an axis without positive values), else the power of ten just
// below vmax.
double LinearStep(double vmax) {
  if (!(vmax > 0) || !std::isfinite(vmax) || (vmax >= 1 && vmax <= 10)) return 1;
  return std::pow(10.0, std::nearbyint(std::log10(vmax) - 0.5001));
}

// Number of steps from 0 up to the top: at least one, and enough to reach vmax.
int StepsToTop(double vmax, double step) {
  int n = 1;
  double top = step;
  while (top < vmax && n < 1000) {
    top += step;
    ++n;
  }
  return n;
}

// One axis as laid out: how a value maps to its distance in pixels from
// the origin.
struct Axis {
  bool log = false;
  double lo = 0;   // lowest decade of a log axis
  double ppu = 0;  // pixels per unit (per unit of ln on a log axis)

  // The distance from the origin; NaN where a log axis has no place for v.
  double Offset(double v) const {
    if (!log) return v * ppu;
    if (!(v > 0)) return std::nan("");
    return (std::log(v) - std::log(lo)) * ppu;
  }
};

enum class Direction { Horizontal, Vertical };

class GraphPainter {
 public:
  GraphPainter(TGraph& graph, PlotCanvas& canvas)
      : g_(graph), c_(canvas), w_(canvas.Width()), h_(canvas.Height()) {}

  void Draw(const FittedCurve& curve) {
    SetUp();
    c_.MoveTo(30, 10);
    c_.LineTo(30, h_ - 20);
    c_.MoveTo(25, h_ - 25);
    c_.LineTo(w_ - 15, h_ - 25);
    if (g_.XNonPositive && !(g_.XScale == "Lin")) g_.XScale = "Lin";
    if (g_.YNonPositive && !(g_.YScale == "Lin")) g_.YScale = "Lin";
    const int n = std::clamp(g_.Count, 0, TGraph::MaxPoints);
    if (n >= 1) {
      x_ = LayOut(Direction::Horizontal, g_.X, n, g_.XIsLog());
      y_ = LayOut(Direction::Vertical, g_.Y, n, g_.YIsLog());
    }
    c_.TextOut(34, 10, g_.YTitle.str());
    c_.TextOut(w_ - 57, h_ - 38, g_.XTitle.str());
    if (n < 1) return;

    c_.SetPen(kPlotBlack, PenStyle::Solid);
    c_.SetBrush(kPlotWindow);
    for (int i = 0; i < n; ++i) {
      const double px = 30 + x_.Offset(g_.X[static_cast<std::size_t>(i)]);
      const double py = (h_ - 25) - y_.Offset(g_.Y[static_cast<std::size_t>(i)]);
      if (std::isnan(px) || std::isnan(py)) continue;
      Square(px, py);
    }
    if (g_.ShowFitted && CurveInWindow(curve)) {
      FittedLine(curve, 1, [this](long double x, long double y) {
        return std::pair{30 + x_.Offset(static_cast<double>(x)),
                         (h_ - 25) - y_.Offset(static_cast<double>(y))};
      }, 25, w_ - 15, 10, h_ - 20);
    }
  }

  void DrawLoop(const FittedCurve& curve) {
    // The loop is always drawn on linear axes through the centre, so every
    // redraw gives the same picture whatever scales the record held before.
    const int x0 = Pixel(w_ / 2.0);
    const int y0 = Pixel(h_ / 2.0);
    g_.XNonPositive = true;
    g_.YNonPositive = true;
    g_.XScale = "Lin";
    g_.YScale = "Lin";
    SetUp();
    c_.MoveTo(x0, 8);
    c_.LineTo(x0, h_ - 18);
    c_.MoveTo(15, h_ - y0);
    c_.LineTo(w_ - 15, h_ - y0);

    const int n = std::clamp(g_.Count, 0, TGraph::MaxPoints);
    double ppuX = 0;
    double ppuY = 0;
    if (n >= 1) {
      // Horizontal: a grid line every two steps, from the lowest such value
      // not below -top.
      const double vmaxX = MaxAbsOfArray(g_.X, n);
      const double stepX = LinearStep(vmaxX);
      const int nX = StepsToTop(vmaxX, stepX);
      ppuX = (w_ - x0 - 30) / (nX * stepX);
      const bool everyX = (0.1 < stepX && stepX < 100) || vmaxX / stepX <= 5;
      for (int j = -(nX / 2), k = 0; j <= nX / 2; ++j, ++k) {
        const double v = 2 * j * stepX;
        const int x = Pixel(v * ppuX) + x0;
        c_.MoveTo(x, h_ - 18);
        if (j != 0) GridLineTo(x, 8);
        c_.TextOut(x - 3, h_ - 15, everyX || k % 2 == 0 ? SignedAxisNumberText(v) : "");
      }
      // Vertical: a grid line every step from -top to top.
      const double vmaxY = MaxAbsOfArray(g_.Y, n);
      const double stepY = LinearStep(vmaxY);
      const int nY = StepsToTop(vmaxY, stepY);
      ppuY = (h_ - y0 - 16) / (nY * stepY);
      const bool everyY = vmaxY / stepY <= 4;
      for (int j = -nY, k = 0; j <= nY; ++j, ++k) {
        const double v = j * stepY;
        const int y = h_ - y0 - Pixel(v * ppuY);
        c_.MoveTo(15, y);
        if (std::fabs(v) > 1E-11) GridLineTo(w_ - 15, y);
        c_.TextOut(6, y - 5, everyY || k % 2 == 0 ? SignedAxisNumberText(v) : "");
      }
    }
    c_.TextOut(x0 + 4, 8, g_.YTitle.str());
    c_.TextOut(w_ - 47, h_ - y0 - 14, g_.XTitle.str());
    if (n < 1) return;

    c_.SetPen(kPlotBlack, PenStyle::Solid);
    c_.SetBrush(kPlotWindow);
    const double root3 = std::sqrt(3.0);
    for (int i = 0; i < n; ++i) {
      const double x = g_.X[static_cast<std::size_t>(i)];
      const double y = g_.Y[static_cast<std::size_t>(i)];
      const double px = x0 + x * ppuX;
      const double py = (h_ - y0) - y * ppuY;
      const std::array<PlotPoint, 3> triangle{PlotPoint{Pixel(px - 3), Pixel(py + root3)},
                                              PlotPoint{Pixel(px), Pixel(py - 2 * root3)},
                                              PlotPoint{Pixel(px + 3), Pixel(py + root3)}};
      c_.Polygon(triangle);
      Square(x0 - x * ppuX, (h_ - y0) + y * ppuY);
    }
    if (g_.ShowFitted && CurveInWindow(curve)) {
      for (const int sign : {1, -1}) {
        FittedLine(curve, sign, [&](long double x, long double y) {
          return std::pair{x0 + static_cast<double>(x) * ppuX, (h_ - y0) - static_cast<double>(y) * ppuY};
        }, 15, w_ - 15, 8, h_ - 18);
      }
    }
  }

 private:
  void SetUp() {
    c_.SetFont("Arial", 8);
    c_.SetPen(kPlotBlack, PenStyle::Solid);
    c_.SetBrush(kPlotWindow);
    c_.Rectangle(0, 0, w_, h_);
  }

  void GridLineTo(int x, int y) {
    c_.SetPen(kPlotGrey, PenStyle::Dot);
    c_.LineTo(x, y);
    c_.SetPen(kPlotBlack, PenStyle::Solid);
  }

  void Square(double px, double py) {
    c_.Rectangle(Pixel(px - 3), Pixel(py - 3), Pixel(px + 3), Pixel(py + 3));
  }

  static bool CurveInWindow(const FittedCurve& curve) {
    return std::all_of(curve.Y.begin(), curve.Y.end(), [](long double y) { return y < kOutOfWindow; });
  }

  // Lays out one axis of Draw: ticks, grid lines and labels.
  Axis LayOut(Direction d, const std::array<double, TGraph::MaxPoints>& values, int n, bool log) {
    const bool horizontal = d == Direction::Horizontal;
    const double span = horizontal ? w_ - 60 : h_ - 45;
    const double vmin = MinOfArray(values, n);
    const double vmax = MaxOfArray(values, n);
    Axis axis;
    // A log axis needs positive values; without them the axis is linear.
    axis.log = log && vmin > 0;
    if (axis.log) {
      const double round = horizontal ? 0.4999 : 0.499;
      const int a = static_cast<int>(std::nearbyint(std::log10(vmin) - round));
      int b = static_cast<int>(std::nearbyint(std::log10(vmax) + round));
      if (a == b) ++b;
      axis.lo = std::pow(10.0, a);
      axis.ppu = span / (std::log(std::pow(10.0, b)) - std::log(axis.lo));
      for (int e = a; e <= b; ++e) {
        const double v = std::pow(10.0, e);
        Tick(d, Pixel(axis.Offset(v)), e != a, AxisNumberText(v));
      }
    } else {
      const double step = LinearStep(vmax);
      const int steps = StepsToTop(vmax, step);
      axis.ppu = span / (steps * step);
      const bool every = horizontal ? (0.1 < step && step < 100) || vmax / step <= 5 : vmax / step <= 7;
      for (int k = 0; k <= steps; ++k) {
        const double v = k * step;
        Tick(d, Pixel(v * axis.ppu), k != 0, every || k % 2 == 0 ? AxisNumberText(v) : "");
      }
    }
    return axis;
  }

  // A tick at `offset` pixels from the origin, its grid line and its label.
  void Tick(Direction d, int offset, bool gridLine, const std::string& label) {
    c_.SetPen(kPlotBlack, PenStyle::Solid);
    if (d == Direction::Horizontal) {
      const int x = offset + 30;
      c_.MoveTo(x, h_ - 20);
      c_.LineTo(x, h_ - 25);
      if (gridLine) GridLineTo(x, 10);
      c_.TextOut(x - 3, h_ - 17, label);
    } else {
      const int y = h_ - 25 - offset;
      c_.MoveTo(25, y);
      c_.LineTo(30, y);
      if (gridLine) GridLineTo(w_ - 15, y);
      c_.TextOut(6, y - 5, label);
    }
  }

  // The fitted curve (sign -1: its reflection through the origin) in blue,
  // only where it lies strictly inside the plot area: a point outside, or
  // one the axes have no place for, lifts the pen, and the line goes on
  // from the next point inside.
  template <class Map>
  void FittedLine(const FittedCurve& curve, int sign, Map map, int left, int right, int top, int bottom) {
    auto pixel = [&](int k, PlotPoint& p) {
      const auto [px, py] = map(sign * curve.X[static_cast<std::size_t>(k)], sign * curve.Y[static_cast<std::size_t>(k)]);
      if (std::isnan(px) || std::isnan(py)) return false;
      p = {Pixel(px), Pixel(py)};
      return left < p.x && p.x < right && top < p.y && p.y < bottom;
    };
    PlotPoint p;
    bool down = pixel(0, p);
    if (down) c_.MoveTo(p.x, p.y);
    c_.SetPen(kPlotBlue, PenStyle::Solid);
    for (int k = 0; k < FittedCurve::Points; ++k) {
      if (!pixel(k, p)) {
        down = false;
        continue;
      }
      if (down)
        c_.LineTo(p.x, p.y);
      else
        c_.MoveTo(p.x, p.y);
      down = true;
    }
  }

  TGraph& g_;
  PlotCanvas& c_;
  int w_;
  int h_;
  Axis x_;
  Axis y_;
};

}  // namespace

std::string AxisNumberText(double value) { return LabelText(value, false); }

std::string SignedAxisNumberText(double value) { return LabelText(value, true); }

void TGraph::Draw(PlotCanvas& canvas, const FittedCurve& curve) { GraphPainter(*this, canvas).Draw(curve); }

void TGraph::DrawLoop(PlotCanvas& canvas, const FittedCurve& curve) {
  GraphPainter(*this, canvas).DrawLoop(curve);
}

}  // namespace pakro

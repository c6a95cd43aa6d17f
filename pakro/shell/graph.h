#pragma once
// One characteristic curve of a component as typed from its datasheet, with
// the model fitted to it.
#include <array>
#include <cstdint>
#include <string_view>

#include "pakro/shell/iteration.h"
#include "pakro/shell/number_text.h"
#include "pakro/shell/short_string.h"

namespace pakro {

// The fitted curve that TGraph::ComputeCurve fills and the plot draws:
// 100 abscissae and the model values at them.
class PlotCanvas;

struct FittedCurve {
  static constexpr int Points = 100;
  std::array<long double, Points> X{};
  std::array<long double, Points> Y{};
};

class TGraph {
 public:
  static constexpr int MaxPoints = 12;

  // Axis tabs of a curve plot, horizontal scale first.
  static constexpr std::array<std::string_view, 4> TabCaptions = {"  lin - lin  ", "  log - lin  ",
                                                                  "  lin - log ", "  log - log "};

  TGraph(std::string_view xTitle, std::string_view yTitle, std::string_view xScale, std::string_view yScale);

  // Count := 0, ShowFitted := false, all points zero; everything else stays.
  void Clear();
  // Scales from the axis tab index (0 lin-lin, 1 log-lin, 2 lin-log,
  // 3 log-log; any other index keeps them), then "Lin" wherever a
  // non-positive flag is set.
  void ScalesFromTab(int tabIndex);
  // The tab index that shows the current scales; a scale that is not
  // exactly "Lin" counts as logarithmic.
  int TabFromScales() const;
  // Sorts points 0..Count-1 by X ascending; equal X keep their order.
  void SortPoints();
  // Stores the fitted model: parameters, kind, and the fixed inputs the
  // kind reads, so that the curve is drawn the same whatever the engine
  // computes later. The two-argument form takes the inputs the global
  // Iteration holds at this moment (none when there is no engine).
  void SetModel(const ParamVector& params, std::uint8_t kind, const TFitInputs& inputs);
  void SetModel(const ParamVector& params, std::uint8_t kind);
  // Fills the fitted curve from the points (sorted by X ascending) and the
  // stored model: a lead-in from a tenth of the smallest X, the intervals
  // between the points and a lead-out to about 2.3 times the last X, equally
  // many abscissae per interval. Without points every abscissa is 0 and
  // every value OutOfWindow, which the plot omits.
  void ComputeCurve(FittedCurve& curve) const;

  // Redraws the whole picture: frame, axes with grid and labels, titles,
  // the points and, when ShowFitted is set and every model value lies in
  // its window, the fitted curve clipped to the plot area. An axis whose
  // non-positive flag is set is made "Lin" in the record first.
  void Draw(PlotCanvas& canvas, const FittedCurve& curve);
  // The same for a B-H loop: axes through the origin, the points and their
  // reflection through it, both branches of the fitted loop. Sets both
  // non-positive flags, so the record keeps linear scales afterwards.
  void DrawLoop(PlotCanvas& canvas, const FittedCurve& curve);

  bool XIsLog() const { return !(XScale == "Lin"); }
  bool YIsLog() const { return !(YScale == "Lin"); }

  std::array<double, MaxPoints> X{};  // abscissae, points 0..Count-1 valid
  std::array<double, MaxPoints> Y{};  // ordinates
  int Count = 0;
  double CurveParam = 0;            // the bias at which the datasheet drew the curve
  ShortString<12> CurveParamText;   // the curve parameter as typed
  bool ShowFitted = false;          // the fitted curve exists and is drawn
  ShortString<6> XScale;            // "Lin" or "Log"
  ShortString<6> YScale;
  ShortString<12> XTitle;
  ShortString<12> YTitle;
  ParamVector FitParams{};          // fitted parameters in the order of FitKind
  std::uint8_t FitKind = 0;         // model kind the parameters belong to
  TFitInputs FitInputs;             // fixed inputs the kind read when it was fitted
  bool XNonPositive = false;        // some X <= 0: no log horizontal axis
  bool YNonPositive = false;        // some Y <= 0: no log vertical axis
  // The first point text typed into the form that is no number (empty when
  // every point is one); the datasheet check refuses such a curve. It is
  // not part of the library file.
  ShortString<12> NotNumber;
};

}  // namespace pakro

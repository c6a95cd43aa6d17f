#include "pakro/shell/graph.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace pakro {

TGraph::TGraph(std::string_view xTitle, std::string_view yTitle, std::string_view xScale, std::string_view yScale)
    : XScale(xScale), YScale(yScale), XTitle(xTitle), YTitle(yTitle) {
  Clear();
}

void TGraph::Clear() {
  Count = 0;
  ShowFitted = false;
  X.fill(0);
  Y.fill(0);
}

void TGraph::ScalesFromTab(int tabIndex) {
  if (tabIndex >= 0 && tabIndex <= 3) {
    XScale = (tabIndex & 1) ? "Log" : "Lin";
    YScale = (tabIndex & 2) ? "Log" : "Lin";
  }
  if (XNonPositive) XScale = "Lin";
  if (YNonPositive) YScale = "Lin";
}

int TGraph::TabFromScales() const { return (XIsLog() ? 1 : 0) + (YIsLog() ? 2 : 0); }

void TGraph::SortPoints() {
  const int n = std::clamp(Count, 0, MaxPoints);
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (int i = 0; i + 1 < n; ++i) {
      if (X[i] > X[i + 1]) {
        std::swap(X[i], X[i + 1]);
        std::swap(Y[i], Y[i + 1]);
        swapped = true;
      }
    }
  }
}

void TGraph::SetModel(const ParamVector& params, std::uint8_t kind, const TFitInputs& inputs) {
  FitParams = params;
  FitKind = kind;
  FitInputs = inputs;
}

void TGraph::SetModel(const ParamVector& params, std::uint8_t kind) {
  SetModel(params, kind, Iteration ? Iteration->Inputs() : TFitInputs{});
}

void TGraph::ComputeCurve(FittedCurve& curve) const {
  const int n = std::clamp(Count, 0, MaxPoints);
  if (n == 0) {
    curve.X.fill(0);
    curve.Y.fill(OutOfWindow);
    return;
  }
  constexpr int total = FittedCurve::Points;
  const int m = static_cast<int>(std::nearbyint(100.0 / (n + 1) + 1));  // halves to even
  const long double xmin = MinOfArray(X, n);
  auto put = [&](int k, long double x) {  // k counts from 1
    if (k <= total) curve.X[k - 1] = x;
  };
  for (int j = 1; j <= m; ++j) put(j, xmin * (0.1L + 0.9L * (j - 1) / m));
  for (int i = 1; i <= n - 1; ++i)
    for (int j = 1; j <= m; ++j)
      put(i * m + j, X[i - 1] + (static_cast<long double>(X[i]) - X[i - 1]) * (j - 1) / m);
  const long double last = X[n - 1];
  for (int j = 1; j <= m; ++j) put(n * m + j, last + 1.3L * (j - 1) * last / m);

  // A table of its own, so drawing leaves the fit's table alone.
  THysteric table;
  for (int k = 0; k < total; ++k) curve.Y[k] = ModelValue(FitParams, FitKind, curve.X[k], FitInputs, table);
}

}  // namespace pakro

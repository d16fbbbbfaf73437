#include "history/ErrorLines.h"

#include <cmath>

namespace {

// Columns across the whole span: about a pixel each.
constexpr double kColumns = 1000;

}  // namespace

TErrorLines ErrorLines(const THistory& history, const std::vector<TLocalPoint>& points) {
  TErrorLines result;
  TChartClock clock;
  // Where each epoch sits, first, so that the columns fit the span.
  std::vector<std::optional<double>> times;
  for (uint64_t i = history.First(); i < history.End(); ++i) {
    const std::optional<double> x = clock.Take(history.At(i));
    times.push_back(x);
    if (x && !history.At(i).Fixes.empty()) {
      if (!result.From) result.From = *x;
      result.To = *x;
    }
  }
  result.Dated = clock.Dated();
  const double column =
      result.From && *result.To > *result.From ? (*result.To - *result.From) / kColumns : 1;
  TChartLine horizontal{"Horizontal", TChartReducer(column)};
  TChartLine up{"Up", TChartReducer(column)};
  size_t point = 0;
  for (uint64_t i = history.First(); i < history.End() && point < points.size(); ++i) {
    const std::optional<double>& x = times[i - history.First()];
    for (size_t fix = 0; fix < history.At(i).Fixes.size() && point < points.size();
         ++fix, ++point) {
      const TLocalPoint& at = points[point];
      const double error = std::hypot(at.East, at.North);
      if (!x || !std::isfinite(error) || !std::isfinite(at.Up)) {
        horizontal.Points.Break();
        up.Points.Break();
        continue;
      }
      horizontal.Points.Add(*x, error);
      up.Points.Add(*x, at.Up);
    }
  }
  result.Lines.emplace(0, std::move(horizontal));
  result.Lines.emplace(1, std::move(up));
  return result;
}

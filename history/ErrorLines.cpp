#include "history/ErrorLines.h"

#include <cmath>

#include "history/AccuracyFollower.h"

namespace {

// Columns across the whole span: about a pixel each.
constexpr double kColumns = 1000;

}  // namespace

bool TErrorLinesFollower::Follow(const TAccuracyFollower& fixes) {
  const std::deque<TAccuracyFollower::TFix>& held = fixes.Fixes();
  std::optional<double> from;
  std::optional<double> to;
  if (fixes.Timed() > 0) {
    for (auto fix = held.begin(); !from; ++fix) from = fix->Time;
    for (auto fix = held.rbegin(); !to; ++fix) to = fix->Time;
  }
  const double span = from && *to > *from ? *to - *from : 1;
  const double column = std::exp2(std::ceil(std::log2(span / kColumns)));
  const bool letGo = !fixes.LetGo().empty();
  bool changed = false;
  if (fixes.Plane() != Plane || column != Column) {
    Plane = fixes.Plane();
    Column = column;
    End = fixes.FirstFix();
    Result.Lines.clear();
    Result.Lines.emplace(0, TChartLine{"Horizontal", TChartReducer(column)});
    Result.Lines.emplace(1, TChartLine{"Up", TChartReducer(column)});
    changed = true;
  } else if (letGo && from) {
    for (auto& [key, line] : Result.Lines) line.Points.DropBefore(*from);
  }
  TChartReducer& horizontal = Result.Lines.at(0).Points;
  TChartReducer& up = Result.Lines.at(1).Points;
  const TLocalPoint& offset = fixes.ReferenceOnPlane();
  for (size_t i = End - fixes.FirstFix(); i < held.size(); ++i) {
    const TAccuracyFollower::TFix& fix = held[i];
    const double east = fix.OnPlane.East - offset.East;
    const double north = fix.OnPlane.North - offset.North;
    const double height = fix.OnPlane.Up - offset.Up;
    const double error = std::hypot(east, north);
    if (!fix.Time || !std::isfinite(error) || !std::isfinite(height)) {
      horizontal.Break();
      up.Break();
      continue;
    }
    horizontal.Add(*fix.Time, error);
    up.Add(*fix.Time, height);
  }
  End = fixes.FirstFix() + held.size();
  // Most epochs fall within a column's low and high, and move the span by
  // less than a column: the plot stays as it was drawn.
  std::vector<std::vector<TChartSegment>> segments;
  for (const auto& [key, line] : Result.Lines) segments.push_back(line.Points.Segments());
  const auto moved = [this](const std::optional<double>& a, const std::optional<double>& b) {
    return a.has_value() != b.has_value() || (a && std::fabs(*a - *b) >= Column);
  };
  if (segments != Drawn || moved(from, Result.From) || moved(to, Result.To)) changed = true;
  if (!changed) return false;
  Drawn = std::move(segments);
  Result.From = from;
  Result.To = to;
  Result.Dated = fixes.Dated();
  return changed;
}

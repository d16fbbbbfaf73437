#include "history/ChartReducer.h"

#include <algorithm>
#include <cmath>

namespace {

int64_t ColumnOf(double x, double width) {
  return static_cast<int64_t>(std::floor(x / width));
}

// What is left starts a segment or span of its own.
template <typename TColumns>
void DropColumns(TColumns& columns, double x, double width) {
  const int64_t index = ColumnOf(x, width);
  while (!columns.empty() && columns.front().Index < index) columns.pop_front();
  if (!columns.empty()) columns.front().Starts = true;
}

}  // namespace

TChartReducer::TChartReducer(double column) : Width(column > 0 ? column : 1) {}

void TChartReducer::Add(double x, double y) {
  const int64_t index = ColumnOf(x, Width);
  if (!Columns.empty() && Columns.back().Index == index) {
    TColumn& last = Columns.back();
    if (y < last.Low.Y) last.Low = {x, y};
    if (y > last.High.Y) last.High = {x, y};
  } else {
    Columns.push_back({index, {x, y}, {x, y}, Broken});
  }
  Broken = false;
}

void TChartReducer::DropBefore(double x) {
  DropColumns(Columns, x, Width);
}

std::vector<TChartSegment> TChartReducer::Segments() const {
  std::vector<TChartSegment> segments;
  for (const TColumn& column : Columns) {
    if (column.Starts || segments.empty()) segments.emplace_back();
    TChartSegment& segment = segments.back();
    const bool lowFirst = column.Low.X <= column.High.X;
    segment.push_back(lowFirst ? column.Low : column.High);
    if (column.Low != column.High) segment.push_back(lowFirst ? column.High : column.Low);
  }
  return segments;
}

TChartBand::TChartBand(double column) : Width(column > 0 ? column : 1) {}

void TChartBand::Add(double x, int value) {
  const int64_t index = ColumnOf(x, Width);
  if (!Columns.empty() && Columns.back().Index == index) {
    TColumn& last = Columns.back();
    last.To = x;
    last.Value = std::min(last.Value, value);
  } else {
    Columns.push_back({index, x, x, value, Broken});
  }
  Broken = false;
}

void TChartBand::DropBefore(double x) {
  DropColumns(Columns, x, Width);
}

std::vector<TChartSpan> TChartBand::Spans() const {
  std::vector<TChartSpan> spans;
  for (const TColumn& column : Columns) {
    const bool joined = !spans.empty() && !column.Starts;
    if (joined && spans.back().Value == column.Value) {
      spans.back().To = column.To;
    } else {
      if (joined) spans.back().To = column.From;
      spans.push_back({column.From, column.To, column.Value});
    }
  }
  // Open ends: a span that nothing follows closely is at least a column wide.
  for (size_t i = 0; i < spans.size(); ++i) {
    const bool followed = i + 1 < spans.size() && spans[i + 1].From == spans[i].To;
    if (!followed) spans[i].To = std::max(spans[i].To, spans[i].From + Width);
  }
  return spans;
}

#pragma once
// The Position window's error over time: each fix's horizontal and up error
// on the Charts window's time axis, reduced as its lines are.

#include <map>
#include <optional>
#include <vector>

#include "history/Accuracy.h"
#include "history/ChartData.h"

struct TErrorLines {
  std::map<uint32_t, TChartLine> Lines;  // 0 horizontal, 1 up
  std::optional<double> From;            // the first and last fix's time
  std::optional<double> To;
  bool Dated = false;
};

// `points` are the history's fixes around the reference, in order.
TErrorLines ErrorLines(const THistory& history, const std::vector<TLocalPoint>& points);

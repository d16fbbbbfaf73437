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

class TAccuracyFollower;

// The lines kept up with the fixes a TAccuracyFollower holds: the new fixes
// go into the columns, which are a power of two seconds wide, so that
// they start over only when the span has doubled (or the plane was laid
// anew).
class TErrorLinesFollower {
 public:
  // False when nothing changed that a pixel would show.
  bool Follow(const TAccuracyFollower& fixes);
  const TErrorLines& Lines() const { return Result; }

 private:
  TErrorLines Result;
  uint64_t Plane = 0;
  uint64_t End = 0;  // one past the last fix taken
  double Column = 0;
  std::vector<std::vector<TChartSegment>> Drawn;
};

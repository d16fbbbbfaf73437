#pragma once
// One line of a chart, reduced to what the pixels can show: the time axis is
// cut into columns of a fixed width (about a pixel each), and a column keeps
// only its lowest and highest point, so a day of 1 Hz data draws as a few
// hundred points per line however long the history. A break (an epoch
// without the value, a receiver that went away) ends the line; the next
// point starts a new segment unless it falls in the same column, where a gap
// narrower than a pixel could not be seen.

#include <cstdint>
#include <deque>
#include <vector>

struct TChartPoint {
  double X = 0;
  double Y = 0;
  bool operator==(const TChartPoint&) const = default;
};

using TChartSegment = std::vector<TChartPoint>;

class TChartReducer {
 public:
  // Columns `column` seconds wide, counted from x = 0, so that a column
  // stays the same column as the view follows new data.
  explicit TChartReducer(double column = 1);

  void Add(double x, double y);
  // The next point starts a new segment.
  void Break() { Broken = true; }
  // Forgets the columns wholly before x (epochs the history let go).
  void DropBefore(double x);
  bool Empty() const { return Columns.empty(); }

  // The segments in time order; within a column the low and the high point
  // in the order they came (one point when they are the same).
  std::vector<TChartSegment> Segments() const;

 private:
  struct TColumn {
    int64_t Index = 0;
    TChartPoint Low;
    TChartPoint High;
    bool Starts = false;  // a new segment begins here
  };

  double Width;
  std::deque<TColumn> Columns;
  bool Broken = true;
};

// A stretch of time in which a value stood, as the bands under the charts
// show it: the fix quality, or interference suspected.
struct TChartSpan {
  double From = 0;
  double To = 0;
  int Value = 0;
  bool operator==(const TChartSpan&) const = default;
};

// A band reduced the same way: a column shows the lowest value that fell in
// it (the worst fix quality), and neighbouring columns of one value join
// into one span. A span reaches to the next one when nothing broke between
// them, and is at least a column wide, so that a single epoch shows.
class TChartBand {
 public:
  explicit TChartBand(double column = 1);

  void Add(double x, int value);
  void Break() { Broken = true; }
  void DropBefore(double x);

  std::vector<TChartSpan> Spans() const;

 private:
  struct TColumn {
    int64_t Index = 0;
    double From = 0;
    double To = 0;
    int Value = 0;
    bool Starts = false;
  };

  double Width;
  std::deque<TColumn> Columns;
  bool Broken = true;
};

#pragma once
// The labels of the charts' shared time axis, in UTC: Qt Charts' date-time
// axis shows local time, so the window places its own ticks. A step from
// the usual clock steps (1 s to 1 day) gives about the wanted number of
// ticks; a tick at midnight shows the date when the receiver gave one, else
// the days since the first ("+1d"); the window names the full span above.

#include <QString>
#include <vector>

struct TChartTick {
  double X = 0;  // on the charts' time axis (see TChartClock)
  QString Label;
};

std::vector<TChartTick> ChartTicks(double from, double to, int wanted, bool dated);

// "2026-01-07 10:15:03" when dated, "10:15:03" otherwise (and "10:15:03.5"
// for a fraction of a second).
QString ChartTimeText(double x, bool dated);

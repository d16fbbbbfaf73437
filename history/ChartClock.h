#pragma once
// Where an epoch sits on the charts' time axis: seconds since 1970-01-01
// UTC when the receiver has given a date, else seconds of the day counted
// from day 0. The epochs' order decides across midnight: a time of day that
// falls back by more than half a day is the next day, whether or not a date
// came with it (a receiver's RMC may still carry yesterday's date on the
// first epoch after midnight).

#include <optional>
#include <string>
#include <string_view>

#include "history/Epoch.h"

class TChartClock {
 public:
  TChartClock();

  // The epoch's place; none for an epoch without a readable time.
  std::optional<double> Take(const TEpoch& epoch);
  // True once any epoch had a date: the axis can show dates.
  bool Dated() const { return HadDate; }
  void Clear() { *this = TChartClock(); }

 private:
  int CurrentYear;       // two-digit years fall in the hundred years around it
  std::string DateText;  // the last date field read, and its day
  std::optional<long> DateDay;
  double DayStart = 0;
  std::optional<double> Last;
  bool HadDate = false;
};

// Days since 1970-01-01 of a "ddmmyy" field, its year in the hundred years
// around currentYear; none when it does not read as a date.
std::optional<long> EpochDay(std::string_view ddmmyy, int currentYear);

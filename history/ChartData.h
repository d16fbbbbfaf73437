#pragma once
// What the Charts window draws, worked out of the history without Qt: for
// each plot its lines, reduced to about a point pair per pixel column, and
// the fix-quality, interference and jamming bands, all on one time axis
// (TChartClock). It follows the history incrementally: each call takes only
// the epochs added since the last one, and it starts over when the history
// was cleared, or the view's range or the user's choice of signals changed.

#include <bitset>
#include <cstdint>
#include <deque>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "history/ChartClock.h"
#include "history/ChartReducer.h"
#include "history/EpochHistory.h"
#include "nmea/SkySystems.h"

enum class TChartPlot : uint8_t { CN0, Satellites, Dilution, Altitude };

constexpr int kChartPlotCount = 4;

// A system's signal as the pick list names it.
uint16_t ChartSignalKey(TSkySystem system, int signal);
TSkySystem ChartSignalSystem(uint16_t key);
int ChartSignalId(uint16_t key);

// Which C/N0 lines to draw: by default the mean per system and band, which
// reads well with 60 signals; else one line per satellite-signal. Systems
// and signals left out of the pick lists are left out of the means too.
struct TChartChoice {
  bool MeanPerBand = true;
  std::set<TSkySystem> HiddenSystems;
  std::set<uint16_t> HiddenSignals;  // ChartSignalKey
  bool operator==(const TChartChoice&) const = default;
};

// The part of the time axis to reduce, and the width of a column: a view
// that follows live data takes everything.
struct TChartRange {
  double From = -std::numeric_limits<double>::infinity();
  double To = std::numeric_limits<double>::infinity();
  double Column = 1;
  bool operator==(const TChartRange&) const = default;
};

struct TChartLine {
  std::string Name;
  TChartReducer Points;
  uint64_t Stamp = 0;  // the last epoch that gave the line a value
  // The system a line is of, for its colour (one per system throughout the
  // program), and its dash among the system's lines, with the dash's name:
  // "used" solid and "in view" dashed, or one band of the means each.
  std::optional<TSkySystem> System = std::nullopt;
  int Dash = 0;
  std::string DashName = {};
};

class TChartData {
 public:
  // A step between epochs breaks the lines when it is longer than this many
  // of the receiver's own steps (a 5 s receiver's gap is longer than a 1 Hz
  // one's) and than kGapSeconds. The first step, and any longer than
  // kLongestStep, cannot be the receiver's rate.
  static constexpr double kGapSeconds = 2;
  static constexpr double kGapSteps = 3;
  static constexpr double kLongestStep = 60;

  // Returns whether anything changed.
  bool Follow(const THistory& history, const TChartRange& range, const TChartChoice& choice);

  // In the order of their keys: by system, then signal or band.
  const std::map<uint32_t, TChartLine>& Lines(TChartPlot plot) const {
    return Plots[static_cast<size_t>(plot)];
  }
  // Values are TFixQuality.
  const TChartBand& Quality() const { return QualityBand; }
  // Value 1 where interference was suspected.
  const TChartBand& Interference() const { return InterferenceBand; }
  // The receiver's own jamming verdict: minus the worst TJammingState of
  // the epoch's RF blocks, so that a column shows its worst; no spans
  // where no epoch carried one.
  const TChartBand& Jamming() const { return JammingBand; }
  // The first and last epoch the history holds, on the time axis.
  std::optional<double> FirstTime() const;
  std::optional<double> LastTime() const;
  bool Dated() const { return Clock.Dated(); }
  // Every system's signal seen so far, for the pick list.
  const std::set<uint16_t>& SeenSignals() const { return Signals; }

 private:
  void StartOver(const THistory& history);
  void Reduce(const THistory& history, uint64_t from);
  void Take(const TEpoch& epoch, double x);
  void TakeSignals(const TEpoch& epoch, double x);
  void TakeMeans(const TEpoch& epoch, double x);
  void TakeSatellites(const TEpoch& epoch, double x);
  void TakeJamming(const TEpoch& epoch, double x);
  bool Shown(const TEpochSignal& signal) const;
  void Add(TChartPlot plot, uint32_t key, double x, std::optional<double> y);
  void AddTo(TChartLine& line, double x, double y);
  void NameLine(TChartPlot plot, std::pair<const uint32_t, TChartLine>& line) const;
  void DropEvicted(const THistory& history);

  std::map<uint32_t, TChartLine> Plots[kChartPlotCount];
  TChartBand QualityBand;
  TChartBand InterferenceBand;
  TChartBand JammingBand;
  TChartClock Clock;
  std::set<uint16_t> Signals;
  std::bitset<0x10000> SeenBits;  // the same, to look up at every signal
  // The time of every epoch the history holds from `TimesFrom` on; NaN for
  // an epoch without a time.
  std::deque<double> Times;
  uint64_t TimesFrom = 0;
  uint64_t Generation = 0;
  bool Started = false;
  TChartRange Range;
  TChartChoice Choice;
  std::bitset<0x10000> Hidden;  // the choice's signals left out, by ChartSignalKey
  // The last epoch reduced, for the gaps.
  std::optional<double> LastX;
  double Step = 0;
  uint64_t Stamp = 1;
};

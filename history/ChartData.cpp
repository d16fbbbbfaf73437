#include "history/ChartData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "history/FixQuality.h"

namespace {

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

const char* const kDilutionNames[] = {"PDOP", "HDOP", "VDOP"};
const char* const kBandNames[] = {"L1", "L2", "L5"};

uint32_t SignalLineKey(const TEpochSignal& signal) {
  return static_cast<uint32_t>(signal.System) << 24 | uint32_t{signal.Satellite} << 8 |
         signal.Signal;
}

std::string SignalLineName(uint32_t key) {
  const auto system = static_cast<TSkySystem>(key >> 24);
  const int signal = static_cast<int>(key & 0xFF);
  std::string name = SkySystemName(system);
  name += ' ' + std::to_string(key >> 8 & 0xFFFF);
  if (signal != 0) name += ' ' + SkySignalName(system, signal);
  return name;
}

std::string LineName(TChartPlot plot, uint32_t key, bool means) {
  switch (plot) {
    case TChartPlot::CN0:
      if (!means) return SignalLineName(key);
      return std::string(SkySystemName(static_cast<TSkySystem>(key >> 8))) + ' ' +
             kBandNames[key & 0xFF];
    case TChartPlot::Satellites:
      return std::string(SkySystemName(static_cast<TSkySystem>(key / 2))) +
             (key % 2 ? " used" : " in view");
    case TChartPlot::Dilution:
      return kDilutionNames[key];
    case TChartPlot::Altitude:
      break;
  }
  return "Altitude";
}

}  // namespace

uint16_t ChartSignalKey(TSkySystem system, int signal) {
  return static_cast<uint16_t>(static_cast<unsigned>(system) << 8 | (signal & 0xFF));
}

TSkySystem ChartSignalSystem(uint16_t key) {
  return static_cast<TSkySystem>(key >> 8);
}

int ChartSignalId(uint16_t key) {
  return key & 0xFF;
}

bool TChartData::Follow(const THistory& history, const TChartRange& range,
                        const TChartChoice& choice) {
  const bool fresh = !Started || history.Generation() != Generation;
  if (fresh) {
    Clock.Clear();
    Times.clear();
    TimesFrom = history.First();
    Signals.clear();
    SeenBits.reset();
    Generation = history.Generation();
    Started = true;
  }
  const bool evicted = history.First() > TimesFrom;
  DropEvicted(history);
  const uint64_t added = TimesFrom + Times.size();
  for (uint64_t index = added; index < history.End(); ++index) {
    const TEpoch& epoch = history.At(index);
    Times.push_back(Clock.Take(epoch).value_or(kNoTime));
    for (const TEpochSignal& signal : epoch.Signals) {
      const uint16_t key = ChartSignalKey(signal.System, signal.Signal);
      if (SeenBits.test(key)) continue;
      SeenBits.set(key);
      Signals.insert(key);
    }
  }
  if (fresh || range != Range || choice != Choice) {
    Range = range;
    Choice = choice;
    StartOver(history);
    return true;
  }
  Reduce(history, added);
  return evicted || added < history.End();
}

void TChartData::DropEvicted(const THistory& history) {
  if (history.First() <= TimesFrom) return;
  const uint64_t gone = std::min<uint64_t>(history.First() - TimesFrom, Times.size());
  Times.erase(Times.begin(), Times.begin() + static_cast<std::ptrdiff_t>(gone));
  TimesFrom = history.First();
  const std::optional<double> first = FirstTime();
  if (!first) return;
  for (auto& plot : Plots)
    for (auto& [key, line] : plot) line.Points.DropBefore(*first);
  QualityBand.DropBefore(*first);
  InterferenceBand.DropBefore(*first);
  JammingBand.DropBefore(*first);
}

void TChartData::StartOver(const THistory& history) {
  for (auto& plot : Plots) plot.clear();
  Hidden.reset();
  for (uint16_t key : Choice.HiddenSignals) Hidden.set(key);
  for (TSkySystem system : Choice.HiddenSystems)
    for (int signal = 0; signal < 0x100; ++signal) Hidden.set(ChartSignalKey(system, signal));
  QualityBand = TChartBand(Range.Column);
  InterferenceBand = TChartBand(Range.Column);
  JammingBand = TChartBand(Range.Column);
  LastX.reset();
  Step = 0;
  Reduce(history, TimesFrom);
}

void TChartData::Reduce(const THistory& history, uint64_t from) {
  for (uint64_t index = std::max(from, history.First()); index < history.End(); ++index) {
    const double x = Times[index - TimesFrom];
    if (std::isnan(x) || x < Range.From - Range.Column || x > Range.To + Range.Column) continue;
    Take(history.At(index), x);
  }
}

void TChartData::Take(const TEpoch& epoch, double x) {
  if (LastX) {
    const double step = x - *LastX;
    const double longest = Step > 0 ? std::max(kGapSeconds, kGapSteps * Step) : kLongestStep;
    if (step > longest) {
      ++Stamp;  // every line misses an epoch: each breaks
      QualityBand.Break();
      InterferenceBand.Break();
      JammingBand.Break();
    }
    if (step > 0 && step <= kLongestStep) Step = step;
  }
  LastX = x;
  ++Stamp;
  if (Choice.MeanPerBand)
    TakeMeans(epoch, x);
  else
    TakeSignals(epoch, x);
  TakeSatellites(epoch, x);
  Add(TChartPlot::Dilution, 0, x, epoch.PDOP);
  Add(TChartPlot::Dilution, 1, x, epoch.HDOP);
  Add(TChartPlot::Dilution, 2, x, epoch.VDOP);
  Add(TChartPlot::Altitude, 0, x, epoch.Altitude);
  const std::optional<TFixQuality> quality =
      epoch.Quality ? FixQualityOf(*epoch.Quality) : std::nullopt;
  if (quality)
    QualityBand.Add(x, static_cast<int>(*quality));
  else
    QualityBand.Break();
  if (epoch.Interference)
    InterferenceBand.Add(x, 1);
  else
    InterferenceBand.Break();
  TakeJamming(epoch, x);
}

void TChartData::TakeJamming(const TEpoch& epoch, double x) {
  if (epoch.Jamming.empty()) return JammingBand.Break();
  TJammingState worst = TJammingState::Unknown;
  for (const TRfJamming& block : epoch.Jamming) worst = std::max(worst, block.State);
  JammingBand.Add(x, -static_cast<int>(worst));
}

// The epoch's signals come in the order of the lines' keys: the place of
// the last one found is where the search for the next begins.
void TChartData::TakeSignals(const TEpoch& epoch, double x) {
  auto& lines = Plots[static_cast<size_t>(TChartPlot::CN0)];
  auto at = lines.begin();
  for (const TEpochSignal& signal : epoch.Signals) {
    if (!Shown(signal)) continue;
    const uint32_t key = SignalLineKey(signal);
    while (at != lines.end() && at->first < key) ++at;
    if (at == lines.end() || at->first != key) {
      at = lines.emplace_hint(at, std::piecewise_construct, std::forward_as_tuple(key),
                              std::forward_as_tuple());
      NameLine(TChartPlot::CN0, *at);
    }
    AddTo(at->second, x, signal.SNR);
  }
}

bool TChartData::Shown(const TEpochSignal& signal) const {
  return signal.HasSNR() && !Hidden.test(ChartSignalKey(signal.System, signal.Signal));
}

void TChartData::TakeMeans(const TEpoch& epoch, double x) {
  std::array<std::array<int, kSkyBandCount>, kSkySystemCount> sums{};
  std::array<std::array<int, kSkyBandCount>, kSkySystemCount> counts{};
  for (const TEpochSignal& signal : epoch.Signals) {
    if (!Shown(signal)) continue;
    const auto system = static_cast<size_t>(signal.System);
    const auto band = static_cast<size_t>(SkySignalBand(signal.System, signal.Signal));
    sums[system][band] += signal.SNR;
    ++counts[system][band];
  }
  for (size_t system = 0; system < sums.size(); ++system)
    for (size_t band = 0; band < sums[system].size(); ++band)
      if (counts[system][band] > 0)
        Add(TChartPlot::CN0, static_cast<uint32_t>(system << 8 | band), x,
            static_cast<double>(sums[system][band]) / counts[system][band]);
}

// A satellite is in view once however many of its signals are listed, and
// used when any of them is.
void TChartData::TakeSatellites(const TEpoch& epoch, double x) {
  std::array<int, kSkySystemCount> inView{};
  std::array<int, kSkySystemCount> used{};
  const TEpochSignal* previous = nullptr;
  bool previousUsed = false;
  for (const TEpochSignal& signal : epoch.Signals) {
    const auto system = static_cast<size_t>(signal.System);
    const bool same = previous != nullptr && previous->System == signal.System &&
                      previous->Satellite == signal.Satellite;
    if (!same) {
      ++inView[system];
      previousUsed = false;
    }
    if (signal.Used && !previousUsed) {
      ++used[system];
      previousUsed = true;
    }
    previous = &signal;
  }
  const auto& lines = Lines(TChartPlot::Satellites);
  for (uint32_t system = 0; system < kSkySystemCount; ++system) {
    if (inView[system] == 0 && !lines.contains(system * 2)) continue;
    Add(TChartPlot::Satellites, system * 2, x, inView[system]);
    Add(TChartPlot::Satellites, system * 2 + 1, x, used[system]);
  }
}

// A line that missed the epoch before this one breaks before its new point.
void TChartData::Add(TChartPlot plot, uint32_t key, double x, std::optional<double> y) {
  if (!y) return;
  auto& lines = Plots[static_cast<size_t>(plot)];
  auto [at, made] = lines.try_emplace(key);
  if (made) NameLine(plot, *at);
  AddTo(at->second, x, *y);
}

void TChartData::AddTo(TChartLine& line, double x, double y) {
  if (line.Stamp + 1 != Stamp) line.Points.Break();
  line.Stamp = Stamp;
  line.Points.Add(x, y);
}

void TChartData::NameLine(TChartPlot plot, std::pair<const uint32_t, TChartLine>& line) const {
  const uint32_t key = line.first;
  line.second.Name = LineName(plot, key, Choice.MeanPerBand);
  if (plot == TChartPlot::Satellites) {
    line.second.System = static_cast<TSkySystem>(key / 2);
    line.second.Dash = key % 2 ? 0 : 1;
    line.second.DashName = key % 2 ? "used" : "in view";
  } else if (plot == TChartPlot::CN0 && Choice.MeanPerBand) {
    line.second.System = static_cast<TSkySystem>(key >> 8);
    line.second.Dash = static_cast<int>(key & 0xFF);
    line.second.DashName = kBandNames[key & 0xFF];
  } else if (plot == TChartPlot::CN0) {
    line.second.System = static_cast<TSkySystem>(key >> 24);
  }
  line.second.Points = TChartReducer(Range.Column);
}

std::optional<double> TChartData::FirstTime() const {
  for (double time : Times)
    if (!std::isnan(time)) return time;
  return std::nullopt;
}

std::optional<double> TChartData::LastTime() const {
  const auto last =
      std::find_if(Times.rbegin(), Times.rend(), [](double time) { return !std::isnan(time); });
  if (last == Times.rend()) return std::nullopt;
  return *last;
}

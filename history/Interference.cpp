#include "history/Interference.h"

#include <algorithm>
#include <array>

namespace {

uint32_t SignalKey(const TEpochSignal& signal) {
  return static_cast<uint32_t>(signal.System) << 24 | static_cast<uint32_t>(signal.Satellite) << 8 |
         signal.Signal;
}

// The median of `values`, reordering them; a median of an even count is the
// mean of the two middle values.
template <typename T>
double MedianOf(std::vector<T>& values) {
  const size_t middle = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + middle, values.end());
  const double upper = values[middle];
  if (values.size() % 2 == 1) return upper;
  const double lower = *std::max_element(values.begin(), values.begin() + middle);
  return (lower + upper) / 2;
}

}  // namespace

std::optional<TSkyBand> InterferenceBand(TSkySystem system, int signal) {
  switch (system) {
    case TSkySystem::NavIC:
      return std::nullopt;
    case TSkySystem::Galileo:
      if (signal == 4 || signal == 5) return std::nullopt;  // E6
      break;
    case TSkySystem::QZSS:
      if (signal == 9 || signal == 10) return std::nullopt;  // L6
      break;
    case TSkySystem::Other:
      if (signal != 0) return std::nullopt;
      break;
    default:
      break;
  }
  return SkySignalBand(system, signal);
}

bool TInterferenceWatch::Take(const std::vector<TEpochSignal>& sky, bool hasFix) {
  std::array<std::vector<double>, kSkyBandCount> drops;
  for (const TEpochSignal& signal : sky) {
    if (!signal.HasSNR() || !signal.HasElevation() || signal.Elevation < kMinimumElevation)
      continue;
    const std::optional<TSkyBand> band = InterferenceBand(signal.System, signal.Signal);
    if (!band) continue;
    const auto found = Baselines.find(SignalKey(signal));
    if (found == Baselines.end()) continue;
    if (const std::optional<double> baseline = Median(found->second))
      drops[static_cast<size_t>(*band)].push_back(*baseline - signal.SNR);
  }

  bool counted = false;
  bool allDropped = true;
  bool allNear = true;
  for (std::vector<double>& band : drops) {
    if (band.size() < static_cast<size_t>(kMinimumSignals)) continue;
    counted = true;
    allNear = allNear &&
              std::all_of(band.begin(), band.end(), [](double drop) { return drop <= kClearDrop; });
    allDropped = allDropped && MedianOf(band) >= kSuspectDrop;
  }
  SuspectRun = counted && allDropped ? SuspectRun + 1 : 0;
  if (SuspectRun >= kSuspectRun)
    Alarm = true;
  else if (Alarm && counted && allNear)
    Alarm = false;

  if (hasFix && !Alarm) Learn(sky);
  return Alarm;
}

void TInterferenceWatch::Clear() {
  Baselines.clear();
  Qualifying = 0;
  SuspectRun = 0;
  Alarm = false;
}

void TInterferenceWatch::Forget(TBaseline& baseline) const {
  auto& values = baseline.Values;
  while (baseline.Head < values.size() &&
         values[baseline.Head].first + kBaselineEpochs <= Qualifying)
    ++baseline.Head;
  if (baseline.Head > values.size() / 2) {
    values.erase(values.begin(), values.begin() + static_cast<ptrdiff_t>(baseline.Head));
    baseline.Head = 0;
  }
}

std::optional<double> TInterferenceWatch::Median(TBaseline& baseline) {
  Forget(baseline);
  const size_t count = baseline.Values.size() - baseline.Head;
  if (count < static_cast<size_t>(kMinimumBaseline)) return std::nullopt;
  Scratch.clear();
  for (size_t i = baseline.Head; i < baseline.Values.size(); ++i)
    Scratch.push_back(baseline.Values[i].second);
  return MedianOf(Scratch);
}

void TInterferenceWatch::Learn(const std::vector<TEpochSignal>& sky) {
  ++Qualifying;
  for (const TEpochSignal& signal : sky) {
    if (signal.HasSNR() && InterferenceBand(signal.System, signal.Signal))
      Baselines[SignalKey(signal)].Values.emplace_back(Qualifying, signal.SNR);
  }
  // Satellites that set stay in the map until a sweep finds all their values
  // aged out.
  if (Qualifying % kBaselineEpochs == 0) {
    for (auto entry = Baselines.begin(); entry != Baselines.end();) {
      Forget(entry->second);
      if (entry->second.Head == entry->second.Values.size())
        entry = Baselines.erase(entry);
      else
        ++entry;
    }
  }
}

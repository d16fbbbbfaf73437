// The figures worked out afresh, as `tolvane-decode --report` does: a day
// at 1 Hz is 86,400 fixes to put on the tangent plane and sort twice (the
// Position window keeps them up as epochs come instead). And a day's export
// as GPX.

#include <benchmark/benchmark.h>

#include <cmath>

#include "history/Accuracy.h"
#include "history/TrackWriter.h"

namespace {

constexpr size_t kDay = 86'400;

std::vector<TEpochFix> DayOfFixes() {
  std::vector<TEpochFix> fixes(kDay);
  for (size_t i = 0; i < kDay; ++i) {
    const double wobble = std::sin(static_cast<double>(i) * 0.37);
    fixes[i].Latitude = 48.1173 + 2e-6 * wobble;
    fixes[i].Longitude = 11.5167 + 3e-6 * std::cos(static_cast<double>(i) * 0.11);
    fixes[i].Altitude = 545.4 + 0.5 * wobble;
    fixes[i].Quality = 1 + static_cast<int>(i % 5);
    fixes[i].Time = static_cast<double>(i);
  }
  return fixes;
}

void FiguresOfADay(benchmark::State& state) {
  const std::vector<TEpochFix> fixes = DayOfFixes();
  for (auto _ : state) benchmark::DoNotOptimize(MeasureAccuracy(fixes));
}
BENCHMARK(FiguresOfADay)->Unit(benchmark::kMillisecond);

void GpxOfADay(benchmark::State& state) {
  THistory history;
  for (const TEpochFix& fix : DayOfFixes()) {
    TEpoch epoch;
    epoch.Date = "071226";
    epoch.Fixes = {fix};
    history.Append(std::move(epoch));
  }
  for (auto _ : state) benchmark::DoNotOptimize(TrackText(history, TTrackFormat::Gpx));
}
BENCHMARK(GpxOfADay)->Unit(benchmark::kMillisecond);

}  // namespace

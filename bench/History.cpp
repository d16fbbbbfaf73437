// The history's memory for a day at 1 Hz of a receiver reporting 60
// satellite-signals: 86,400 epochs as the recorder builds them (time and
// date text, the fix, 60 packed signals, one fix GGA). "bytes_per_epoch" is
// the heap the full history holds divided by its epochs; the goal is at most
// 1.5 KB, 150 MB for the day.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>

#include "history/EpochHistory.h"

namespace {

TEpoch DayEpoch(int second) {
  TEpoch epoch;
  char time[48];
  std::snprintf(time, sizeof time, "%02d%02d%02d.00", second / 3600, second / 60 % 60, second % 60);
  epoch.Time = time;
  epoch.Date = "071226";
  epoch.Quality = 4;
  epoch.Mode = 3;
  epoch.Latitude = 48.1173;
  epoch.Longitude = 11.5167;
  epoch.Altitude = 545.4;
  epoch.Used = 40;
  epoch.PDOP = 1.1;
  epoch.HDOP = 0.6;
  epoch.VDOP = 0.9;
  epoch.DiffAge = 1.2;
  epoch.Lines = 40;
  epoch.Signals.resize(60);
  for (int i = 0; i < 60; ++i) {
    TEpochSignal& signal = epoch.Signals[i];
    signal.System = static_cast<TSkySystem>(i % 6);
    signal.Satellite = static_cast<uint16_t>(i / 6 + 1);
    signal.Signal = i % 2 ? 7 : 1;
    signal.Elevation = static_cast<int8_t>(i + 10);
    signal.Azimuth = static_cast<uint16_t>(i * 6);
    signal.SNR = static_cast<uint8_t>(30 + i % 20);
  }
  TEpochFix& fix = epoch.Fixes.emplace_back();
  fix.Latitude = 48.1173;
  fix.Longitude = 11.5167;
  fix.Altitude = 545.4;
  fix.Quality = 4;
  fix.Time = second;
  return epoch;
}

void DayOfHistory(benchmark::State& state) {
  double bytesPerEpoch = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    THistory history;
    for (int second = 0; second < 86'400; ++second) history.Append(DayEpoch(second));
    bytesPerEpoch = static_cast<double>(mallinfo2().uordblks - before) / history.Size();
    benchmark::DoNotOptimize(history);
  }
  state.counters["bytes_per_epoch"] = bytesPerEpoch;
}
BENCHMARK(DayOfHistory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

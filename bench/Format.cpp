#include <benchmark/benchmark.h>

#include "format/DateTimePattern.h"
#include "format/FormatRoutines.h"

namespace {

TFieldFormats Layout(int32_t layout) {
  TFieldFormats formats;
  formats.PositionFormat = layout;
  formats.TimeFormat = "hh:mm:ss";
  return formats;
}

void FormatLatitudes(benchmark::State& state) {
  const TFieldFormats formats = Layout(static_cast<int32_t>(state.range(0)));
  double latitude = -42.8424769;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatLatitude(latitude, formats));
    latitude += 1e-7;
  }
}
BENCHMARK(FormatLatitudes)->DenseRange(0, 5);

void FormatTimes(benchmark::State& state) {
  TFieldFormats formats = Layout(0);
  if (state.range(0) == 1) formats.TimeFormat = "h:mm:ss AMPM";
  TDateTime value = 0.5876;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatTime(value, formats));
    value += 1e-6;
  }
}
BENCHMARK(FormatTimes)->Arg(0)->Arg(1);

void FormatFixedNumbers(benchmark::State& state) {
  const auto decimals = static_cast<int32_t>(state.range(0));
  double value = 12.3456789;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatFixed(value, decimals));
    value += 0.001;
  }
}
BENCHMARK(FormatFixedNumbers)->Arg(0)->Arg(2)->Arg(9)->Arg(18);

}  // namespace

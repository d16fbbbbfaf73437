// The Position window refreshing from a history of an hour and of a day at
// 1 Hz: gathering the fixes, the figures, the scatter, the error plot and
// the table, then one paint into an image (offscreen platform unless
// QT_QPA_PLATFORM says otherwise). Past 50 ms a refresh makes the window
// wait four times as long before the next. And a live 10 Hz feed on a full
// day at 10 Hz: one epoch, one refresh and the paint of what it changed;
// "core" is the processor time ten of them take, per second (10 ms is 1 %
// of a core).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <cmath>
#include <cstdio>

#include "app/AppSettings.h"
#include "app/PositionWindow.h"

namespace {

TEpoch EpochAt(size_t i) {
  const double wobble = std::sin(static_cast<double>(i) * 0.37);
  TEpoch epoch;
  epoch.Quality = i % 3 == 0 ? 5 : 4;
  TEpochFix& fix = epoch.Fixes.emplace_back();
  fix.Latitude = 48.1173 + 2e-7 * wobble;
  fix.Longitude = 11.5167 + 3e-7 * std::cos(static_cast<double>(i) * 0.11);
  fix.Altitude = 545.4 + 0.05 * wobble;
  fix.Quality = *epoch.Quality;
  fix.Time = static_cast<double>(i % 864'000) / 10;
  char time[16];
  std::snprintf(time, sizeof time, "%02zu%02zu%04.1f", i / 36'000 % 24, i / 600 % 60,
                static_cast<double>(i % 600) / 10);
  epoch.Time = time;
  epoch.Date = "071226";
  return epoch;
}

THistory HistoryOf(size_t epochs) {
  THistory history(epochs);
  for (size_t i = 0; i < epochs; ++i) history.Append(EpochAt(i));
  return history;
}

void PositionWindowRefresh(benchmark::State& state) {
  const THistory history = HistoryOf(static_cast<size_t>(state.range(0)));
  TPositionWindow form{TAppSettings()};
  form.resize(1150, 780);
  form.ShowHistory(history);
  QImage image(form.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    form.Refresh();
    form.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(PositionWindowRefresh)->Arg(3'600)->Arg(86'400)->Unit(benchmark::kMillisecond);

void PositionWindowFigures(benchmark::State& state) {
  const THistory history = HistoryOf(static_cast<size_t>(state.range(0)));
  TPositionWindow form{TAppSettings()};
  form.resize(1150, 780);
  form.ShowHistory(history);
  for (auto _ : state) form.Refresh();
}
BENCHMARK(PositionWindowFigures)->Arg(3'600)->Arg(86'400)->Unit(benchmark::kMillisecond);

void PositionWindowLive(benchmark::State& state) {
  const auto epochs = static_cast<size_t>(state.range(0));
  THistory history = HistoryOf(epochs);
  TPositionWindow form{TAppSettings()};
  form.resize(1150, 780);
  form.show();
  form.ShowHistory(history);
  form.Refresh();
  QApplication::processEvents();
  size_t next = epochs;
  for (auto _ : state) {
    history.Append(EpochAt(next++));
    form.ShowHistory(history);
    form.Refresh();
    QApplication::processEvents();  // and paints what changed
  }
  state.counters["core"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / 10,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(PositionWindowLive)->Arg(864'000)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench/WidgetsMain.h"

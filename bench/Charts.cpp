// The Charts window with a full day at 1 Hz: 86,400 epochs of 60
// satellite-signals (GPS, Galileo and BeiDou, ten satellites each on two
// signals), RTK fixed with a fallback to float every twenty minutes, a
// five-minute outage and an hour of interference. The goal is at most 50 ms
// for a repaint of the whole window, by default (mean C/N0 per system and
// band) and with one line per satellite-signal. Also the reduction of the
// whole day from scratch (a zoom or a cleared history) and a live refresh:
// one epoch more, the oldest let go, the window repainted.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/AppSettings.h"
#include "app/ChartsWindow.h"
#include "history/ChartData.h"
#include "history/EpochHistory.h"

namespace {

constexpr int kDay = 86'400;
constexpr TSkySystem kSystems[] = {TSkySystem::GPS, TSkySystem::Galileo, TSkySystem::BeiDou};

TEpoch DayEpoch(int second) {
  TEpoch epoch;
  char time[48];
  std::snprintf(time, sizeof time, "%02d%02d%02d", second / 3600 % 24, second / 60 % 60,
                second % 60);
  epoch.Time = time;
  epoch.Date = "070126";
  epoch.Quality = second % 1200 < 30 ? 5 : 4;
  epoch.Altitude = 500 + std::sin(second / 500.0) * 0.05;
  epoch.PDOP = 1.4 + std::sin(second / 3000.0) * 0.3;
  epoch.HDOP = 0.8;
  epoch.VDOP = 1.1;
  epoch.Interference = second >= 40'000 && second < 43'600;
  for (TSkySystem system : kSystems) {
    for (int satellite = 1; satellite <= 10; ++satellite) {
      for (int signal : {1, 7}) {
        TEpochSignal entry;
        entry.System = system;
        entry.Satellite = static_cast<uint16_t>(satellite);
        entry.Signal = static_cast<uint8_t>(signal);
        entry.SNR =
            static_cast<uint8_t>(35 + 10 * std::sin((second + satellite * 997) / 1800.0 + signal));
        entry.Used = satellite % 3 != 0;
        epoch.Signals.push_back(entry);
      }
    }
  }
  return epoch;
}

// The day, less five minutes after 03:00 when the receiver was away.
const THistory& Day() {
  static const THistory history = [] {
    THistory day;
    for (int second = 0; second < kDay; ++second)
      if (second < 10'800 || second >= 11'100) day.Append(DayEpoch(second));
    return day;
  }();
  return history;
}

void Repaint(benchmark::State& state, bool means) {
  TAppSettings settings;
  TChartsWindow form(settings);
  form.resize(1000, 760);
  form.show();
  form.findChild<QCheckBox*>("MeanCheck")->setChecked(means);
  form.SetHistory(Day());
  QApplication::processEvents();
  QImage image(form.size() * form.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(form.devicePixelRatio());
  for (auto _ : state) {
    form.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  size_t lines = form.Data().Lines(TChartPlot::CN0).size();
  state.counters["cn0_lines"] = static_cast<double>(lines);
}

void ChartsRepaintMeans(benchmark::State& state) {
  Repaint(state, true);
}
BENCHMARK(ChartsRepaintMeans)->Unit(benchmark::kMillisecond);

void ChartsRepaintEachSignal(benchmark::State& state) {
  Repaint(state, false);
}
BENCHMARK(ChartsRepaintEachSignal)->Unit(benchmark::kMillisecond);

// The whole day reduced again, as a zoom or a new choice of signals does.
void ChartsReduceDay(benchmark::State& state) {
  const THistory& day = Day();
  const bool means = state.range(0) != 0;
  for (auto _ : state) {
    TChartData data;
    TChartChoice choice;
    choice.MeanPerBand = means;
    data.Follow(day, {.Column = 128}, choice);
    benchmark::DoNotOptimize(data.Lines(TChartPlot::CN0).size());
  }
}
BENCHMARK(ChartsReduceDay)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Following live with the history full: each new epoch pushes out the
// oldest; the window takes it and repaints.
void ChartsLiveRefresh(benchmark::State& state) {
  THistory history = Day();
  TAppSettings settings;
  TChartsWindow form(settings);
  form.resize(1000, 760);
  form.show();
  form.SetHistory(history);
  QApplication::processEvents();
  QImage image(form.size() * form.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(form.devicePixelRatio());
  int second = kDay;
  for (auto _ : state) {
    state.PauseTiming();
    history.Append(DayEpoch(second++));
    state.ResumeTiming();
    form.Refresh();
    form.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(ChartsLiveRefresh)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench/WidgetsMain.h"

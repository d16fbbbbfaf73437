// A repaint of the sky plot with 100 satellites of four systems, half of
// them used, rendered into an image as the window paints it on screen
// (offscreen platform unless QT_QPA_PLATFORM says otherwise). The goal is at
// most 2 ms. Also the whole Satellites window taking a changed model, with
// its table, and repainting.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <string>

#include "app/AppSettings.h"
#include "app/SatellitesTable.h"
#include "app/SatellitesWindow.h"
#include "app/SkyPlot.h"
#include "common/Routines.h"

namespace {

std::vector<TSkySatellite> HundredSatellites() {
  std::vector<TSkySatellite> satellites;
  for (int i = 0; i < 100; ++i) {
    TSkySatellite satellite;
    satellite.System = static_cast<TSkySystem>((i % 4) * 2 % 5);  // GPS, GLONASS, BeiDou, SBAS
    satellite.Satellite = 1 + i;
    satellite.Elevation = (i * 7) % 90;
    satellite.Azimuth = (i * 37) % 360;
    satellite.Used = i % 2 == 0;
    satellite.FirstEntry = static_cast<uint32_t>(i);
    satellite.EntryCount = 1;
    satellites.push_back(satellite);
  }
  return satellites;
}

void SkyPlotRepaint(benchmark::State& state) {
  TSkyPlot plot;
  plot.resize(500, 420);
  plot.SetSatellites(HundredSatellites());
  QImage image(plot.size() * plot.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(plot.devicePixelRatio());
  for (auto _ : state) {
    plot.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(SkyPlotRepaint)->Unit(benchmark::kMillisecond);

struct TSeriesPlan {
  const char* Talker;
  int FirstNumber;
  int Count;
};

// 32 GPS, 32 GLONASS and 36 Galileo satellites on two signals each, one
// series per talker and signal.
constexpr TSeriesPlan kPlan[] = {{"GP", 1, 32}, {"GL", 65, 32}, {"GA", 1, 36}};

void TakeSeries(TSkyModel& sky, const TSeriesPlan& plan, char signal, int snr) {
  const int parts = (plan.Count + 3) / 4;
  for (int part = 1; part <= parts; ++part) {
    std::string body = std::string(plan.Talker) + "GSV," + std::to_string(parts) + "," +
                       std::to_string(part) + "," + std::to_string(plan.Count);
    for (int k = (part - 1) * 4; k < std::min(part * 4, plan.Count); ++k) {
      for (const int field :
           {plan.FirstNumber + k, (k * 7) % 90, (plan.FirstNumber * 11 + k * 37) % 360, snr})
        body.append(",").append(std::to_string(field));
    }
    sky.Take(FrameSentence(body + "," + signal));
  }
}

// 100 satellites on two signals, every SNR one up at each call: ShowSky,
// then a repaint of the whole window (plot and table).
void SatellitesWindowUpdate(benchmark::State& state) {
  TAppSettings settings;
  TSatellitesWindow form(settings);
  form.resize(1000, 560);
  form.show();
  QImage image(form.size() * form.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(form.devicePixelRatio());
  TSkyModel sky;
  int snr = 20;
  for (auto _ : state) {
    state.PauseTiming();
    snr = snr == 50 ? 20 : snr + 1;
    for (const TSeriesPlan& plan : kPlan) {
      for (char signal : {'1', '7'}) TakeSeries(sky, plan, signal, snr);
    }
    state.ResumeTiming();
    form.ShowSky(sky);
    QApplication::processEvents();
    form.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["rows"] = form.Table().rowCount();
}
BENCHMARK(SatellitesWindowUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench/WidgetsMain.h"

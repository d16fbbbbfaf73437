// One tick of the main window's receive loop: a replayed receiver cycle
// (GGA, RMC, GSA, three GSV, RME, a GLL nobody decodes) taken one line a tick
// through the decoder, the view and the fix display; and an idle tick. The
// loop may take up to 100 lines a second, so a tick has 10 ms to spare.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/MainWindow.h"
#include "common/Routines.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_ReceiveLoop";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  return application;
}

const char* const kCycle[] = {
    "GPRMC,223745.00,A,3806.62964,N,12237.61382,W,0.040,,110720,,",
    "GPGGA,223745.00,3806.62964,N,12237.61382,W,2,12,0.54,83.1,M,-29.5,M,,0000",
    "GPGSA,A,3,29,20,18,16,,13,,26,,,,,0.99,0.54,0.83",
    "GPGSV,3,1,11,05,01,047,,10,29,224,,13,22,062,23,15,40,094,",
    "GPGSV,3,2,11,16,25,306,30,18,68,358,39,20,63,235,37,21,35,292,",
    "GPGSV,3,3,11,26,37,173,32,27,08,034,,29,64,088,42",
    "PGRME,15.0,M,45.0,M,25.0,M",
    "GPGLL,3806.62964,N,12237.61382,W,223745.00,A",
};

std::string WriteReplayFile(const QTemporaryDir& folder, int cycles) {
  std::string path = folder.filePath("replay.TXT").toStdString();
  std::ofstream file(path, std::ios::binary);
  for (int cycle = 0; cycle < cycles; ++cycle)
    for (const char* body : kCycle) file << FrameSentence(body) << "\r\n";
  return path;
}

void ReplayedLineTick(benchmark::State& state) {
  Application();
  QTemporaryDir folder;
  const std::string path = WriteReplayFile(folder, 2000);
  TMainWindow window;
  window.ReceiveTimer()->stop();
  for (auto _ : state) {
    if (!window.Receiver().Replaying()) {
      state.PauseTiming();
      window.StartReplay(path);
      state.ResumeTiming();
    }
    window.onReceiveTick();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReplayedLineTick);

void IdleTick(benchmark::State& state) {
  Application();
  TMainWindow window;
  window.ReceiveTimer()->stop();
  for (auto _ : state) window.onReceiveTick();
}
BENCHMARK(IdleTick);

}  // namespace

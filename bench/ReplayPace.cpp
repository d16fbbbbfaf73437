// What placing a replayed line on the recorded pace costs, per line, for a
// 1 Hz receiver's epoch of RMC, GGA, four GSA and twenty GSV lines, and for a
// log written with timestamps. Each line is read for a new time, and for the
// epoch's first line the due moment is worked out.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "history/ReplayPace.h"

namespace {

std::vector<std::string> Epochs(int count, bool stamped) {
  std::vector<std::string> lines;
  for (int epoch = 0; epoch < count; ++epoch) {
    char time[48];
    std::snprintf(time, sizeof time, "%02d%02d%02d.00", 12 + epoch / 3600, epoch / 60 % 60,
                  epoch % 60);
    std::vector<std::string> bodies = {
        std::string("GNRMC,") + time + ",A,6010.1234,N,02456.7890,E,012.0,045.0,071226,,",
        std::string("GNGGA,") + time + ",6010.1234,N,02456.7890,E,1,20,0.7,25.0,M,18.3,M,,"};
    for (int system = 1; system <= 4; ++system)
      bodies.push_back("GNGSA,A,3,01,02,03,04,05,06,,,,,,,1.2,0.7,1.0," + std::to_string(system));
    for (int gsv = 1; gsv <= 20; ++gsv)
      bodies.push_back("GPGSV,5,1,20,01,45,120,40,02,30,200,35,03,60,045,44,04,15,300,28,1");
    for (std::string& body : bodies) {
      std::string line = FrameSentence(body);
      if (stamped) line = "~" + std::to_string(epoch * 1000 + 5) + "," + line;
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

void PlaceLines(benchmark::State& state, bool stamped) {
  const std::vector<std::string> lines = Epochs(600, stamped);
  TReplayPace pace(10);
  const auto now = TReplayPace::TTime() + std::chrono::hours(1);
  size_t index = 0;
  for (auto _ : state) {
    if (index == lines.size()) {
      index = 0;
      pace.Restart();
    }
    benchmark::DoNotOptimize(pace.Place(lines[index++], now));
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_PlaceNmeaLine(benchmark::State& state) {
  PlaceLines(state, false);
}
void BM_PlaceStampedLine(benchmark::State& state) {
  PlaceLines(state, true);
}

}  // namespace

BENCHMARK(BM_PlaceNmeaLine);
BENCHMARK(BM_PlaceStampedLine);

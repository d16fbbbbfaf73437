// What placing a replayed line on the recorded pace costs, per line, for a
// 1 Hz receiver's epoch of RMC, GGA, four GSA and twenty GSV lines, and for a
// log written with timestamps. Each line is read for a new time, and for the
// epoch's first line the due moment is worked out.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/ReceiverEpoch.h"
#include "history/ReplayPace.h"

namespace {

std::vector<std::string> Epochs(int count, bool stamped) {
  std::vector<std::string> lines;
  for (int epoch = 0; epoch < count; ++epoch) {
    for (std::string& line : ReceiverEpoch(static_cast<uint64_t>(epoch), 12)) {
      if (stamped) line.insert(0, "~" + std::to_string(epoch * 1000 + 5) + ",");
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

void PlaceNmeaLine(benchmark::State& state) {
  PlaceLines(state, false);
}
void PlaceStampedLine(benchmark::State& state) {
  PlaceLines(state, true);
}

}  // namespace

BENCHMARK(PlaceNmeaLine);
BENCHMARK(PlaceStampedLine);

// Sentence statistics as the receive loop counts them: every line of a
// multi-constellation receiver's one-second cycle (GPS, GLONASS and
// Galileo satellites, AIS and proprietary sentences among them), one line in
// twenty a noise line without a "$", one in ten with a failed checksum, the
// tick advancing a second per cycle. The steady state allocates nothing.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/SentenceStats.h"

namespace {

const std::vector<std::string> kCycle = {
    "$GNRMC,223745.00,A,3806.62964,N,12237.61382,W,0.040,,110720,,,D,V*3F",
    "$GNVTG,,T,,M,0.040,N,0.075,K,D*3C",
    "$GNGGA,223745.00,3806.62964,N,12237.61382,W,2,12,0.54,83.1,M,-29.5,M,,0000*7A",
    "$GNGSA,A,3,29,20,18,16,51,13,44,26,,,,,0.99,0.54,0.83,1*0A",
    "$GPGSV,3,1,11,05,01,047,,10,29,224,,13,22,062,23,15,40,094,,1*61",
    "$GPGSV,3,2,11,16,25,306,30,18,68,358,39,20,63,235,37,21,35,292,,1*6B",
    "$GPGSV,3,3,11,26,37,173,32,27,08,034,,29,64,088,42,,,,*7A",
    "$GLGSV,2,1,08,65,23,045,28,66,61,011,33,67,36,300,30,75,14,171,21*6E",
    "$GLGSV,2,2,08,76,53,226,35,77,38,316,29,81,12,063,,88,09,334,*67",
    "$GAGSV,1,1,03,02,45,123,31,11,23,287,27,36,51,061,33,7*70",
    "$GNGLL,3806.62964,N,12237.61382,W,223745.00,A,D*6B",
    "$PGRME,15.0,M,45.0,M,25.0,M*1C",
    "!AIVDM,1,1,,B,15M67N0000G?Uf6E`FepT@3n00Sa,0*73",
    "$GNZDA,223745.00,11,07,2020,00,00*7F",
};

struct TLine {
  std::string Text;
  TLineFault Fault;
};

std::vector<TLine> Stream() {
  std::vector<TLine> lines;
  for (int cycle = 0; cycle < 50; ++cycle) {
    for (const std::string& text : kCycle) {
      const size_t n = lines.size();
      if (n % 20 == 7) lines.push_back({"\x13\x7f" + text.substr(5), TLineFault::None});
      lines.push_back({text, n % 10 == 3 ? TLineFault::BadChecksum : TLineFault::None});
    }
  }
  return lines;
}

void CountMixedStream(benchmark::State& state) {
  const std::vector<TLine> lines = Stream();
  TSentenceStats stats;
  uint32_t tick = 0xFFFF0000u;  // wraps during the run
  for (auto _ : state) {
    for (const TLine& line : lines) {
      stats.Count(line.Text, line.Fault, tick);
      tick += 1000 / static_cast<uint32_t>(kCycle.size());
    }
  }
  benchmark::DoNotOptimize(stats.Total().Count);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(CountMixedStream);

// What the window asks for twice a second: every row's rate.
void ReadRates(benchmark::State& state) {
  TSentenceStats stats;
  uint32_t tick = 0;
  for (const TLine& line : Stream()) stats.Count(line.Text, line.Fault, tick += 70);
  for (auto _ : state) {
    double sum = 0;
    for (const TSentenceStatsRow* row : stats.SortedRows()) sum += stats.LinesPerSecond(*row, tick);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(ReadRates);

}  // namespace

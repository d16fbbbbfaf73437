// Decode on a receiver's stream: a one-second cycle as a multi-constellation
// receiver sends it (GGA, RMC, GSA, three GSV, RME, and the GLL, VTG and ZDA
// that nobody decodes), one line in twenty with a broken checksum; and each
// sentence type alone.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "nmea/NMEA.h"

namespace {

const std::vector<std::string> kCycle = {
    "GNRMC,223745.00,A,3806.62964,N,12237.61382,W,0.040,,110720,,,D,V",
    "GNVTG,,T,,M,0.040,N,0.075,K,D",
    "GNGGA,223745.00,3806.62964,N,12237.61382,W,2,12,0.54,83.1,M,-29.5,M,,0000",
    "GNGSA,A,3,29,20,18,16,51,13,44,26,,,,,0.99,0.54,0.83,1",
    "GPGSV,3,1,11,05,01,047,,10,29,224,,13,22,062,23,15,40,094,,1",
    "GPGSV,3,2,11,16,25,306,30,18,68,358,39,20,63,235,37,21,35,292,,1",
    "GPGSV,3,3,11,26,37,173,32,27,08,034,,29,64,088,42,,,,",
    "GNGLL,3806.62964,N,12237.61382,W,223745.00,A,D",
    "PGRME,15.0,M,45.0,M,25.0,M",
    "GNZDA,223745.00,11,07,2020,00,00",
};

std::vector<std::string> MixedStream() {
  std::vector<std::string> lines;
  for (int cycle = 0; cycle < 100; ++cycle) {
    for (const std::string& body : kCycle) {
      std::string line = FrameSentence(body);
      if (lines.size() % 20 == 7) line.back() = line.back() == '0' ? '1' : '0';
      lines.push_back(line);
    }
  }
  return lines;
}

// One line per iteration, so that the time column reads as time per line.
void CountLines(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations());
  state.counters["lines/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void DecodeMixedStream(benchmark::State& state) {
  const std::vector<std::string> lines = MixedStream();
  TNMEA decoder;
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(decoder.Decode(lines[next]));
    if (++next == lines.size()) next = 0;
  }
  CountLines(state);
}
BENCHMARK(DecodeMixedStream);

void DecodeOneType(benchmark::State& state) {
  static const char* const kBodies[] = {
      "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
      "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
      "GPGSV,3,2,11,16,25,306,30,18,68,358,39,20,63,235,37,21,35,292,",
      "GPGSA,A,3,29,20,18,16,51,13,44,26,,,,,0.99,0.54,0.83",
      "PGRME,15.0,M,45.0,M,25.0,M",
      "GPZDA,223745.00,11,07,2020,00,00",
  };
  const std::string line = FrameSentence(kBodies[state.range(0)]);
  state.SetLabel(line.substr(3, 3));
  TNMEA decoder;
  for (auto _ : state) benchmark::DoNotOptimize(decoder.Decode(line));
  CountLines(state);
}
BENCHMARK(DecodeOneType)->DenseRange(0, 5);

}  // namespace

// The sky model's cost per GSV sentence in the steady state of a dual-band
// four-system receiver: one series per system and signal, 100 entries in all,
// with the GSA and time sentences of each epoch. The "allocs" counter is the
// number of heap allocations per sentence taken in the timed loop; the model
// promises none once it has seen the stream.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "nmea/SkyModel.h"

namespace {

std::atomic<uint64_t> Allocations{0};

struct TSeriesPlan {
  const char* Talker;
  int FirstNumber;
  int Count;
  char Signal;
};

// 24 + 12 GPS (L1, L5), 12 + 8 GLONASS (L1, L2), 12 + 10 Galileo (E1, E5a),
// 12 + 10 BeiDou (B1I, B2a): 100 entries from 26 GSV sentences.
constexpr TSeriesPlan kPlan[] = {
    {"GP", 1, 24, '1'}, {"GP", 1, 12, '7'}, {"GL", 65, 12, '1'}, {"GL", 65, 8, '3'},
    {"GA", 1, 12, '7'}, {"GA", 1, 10, '1'}, {"GB", 1, 12, '1'},  {"GB", 1, 10, '5'},
};

void AddSeries(std::vector<std::string>& lines, const TSeriesPlan& plan, int epoch) {
  const int parts = (plan.Count + 3) / 4;
  for (int part = 1; part <= parts; ++part) {
    std::string body = std::string(plan.Talker) + "GSV," + std::to_string(parts) + "," +
                       std::to_string(part) + "," + std::to_string(plan.Count);
    for (int k = (part - 1) * 4; k < std::min(part * 4, plan.Count); ++k) {
      const int number = plan.FirstNumber + k;
      for (const int field : {number, 5 + k * 3, (k * 37) % 360, 20 + (k + epoch) % 25})
        body.append(",").append(std::to_string(field));
    }
    lines.push_back(FrameSentence(body + "," + plan.Signal));
  }
}

// Two epochs, so that the times differ and the SNRs move.
std::vector<std::string> Stream(bool withEpochLines) {
  std::vector<std::string> lines;
  for (int epoch = 0; epoch < 2; ++epoch) {
    const std::string time = "12000" + std::to_string(epoch) + ".00";
    if (withEpochLines) {
      lines.push_back(
          FrameSentence("GNRMC," + time + ",A,4807.038,N,01131.000,E,0.0,,010126,,,A,V"));
      lines.push_back(
          FrameSentence("GNGGA," + time + ",4807.038,N,01131.000,E,1,12,0.9,545.4,M,,M,,"));
      for (int id = 1; id <= 4; ++id)
        lines.push_back(FrameSentence("GNGSA,A,3,01,02,03,04,05,06,07,08,,,,,1.0,0.5,0.8," +
                                      std::to_string(id)));
    }
    for (const TSeriesPlan& plan : kPlan) AddSeries(lines, plan, epoch);
  }
  return lines;
}

// When the benchmark reads the model, as a display or --sky would.
enum TReads { kNoReads, kReadPerEpoch, kReadPerLine };

void Run(benchmark::State& state, const std::vector<std::string>& lines, TReads reads) {
  TSkyModel sky;
  for (const std::string& line : lines) sky.Take(line);  // the steady state
  benchmark::DoNotOptimize(sky.Satellites().data());
  int gsv = 0;
  std::vector<bool> epochStarts;
  for (const std::string& line : lines) {
    gsv += line.find("GSV,") != std::string::npos ? 1 : 0;
    epochStarts.push_back(line.find("RMC,") != std::string::npos);
  }
  const uint64_t before = Allocations.load();
  for (auto _ : state) {
    for (size_t i = 0; i < lines.size(); ++i) {
      sky.Take(lines[i]);
      if (reads == kReadPerLine || (reads == kReadPerEpoch && epochStarts[i]))
        benchmark::DoNotOptimize(sky.Satellites().data());
    }
  }
  const double taken = static_cast<double>(state.iterations()) * static_cast<double>(lines.size());
  state.counters["per_gsv"] = benchmark::Counter(
      gsv, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["allocs"] = static_cast<double>(Allocations.load() - before) / taken;
  state.counters["entries"] = static_cast<double>(sky.Entries().size());
}

// Only the GSV sentences: the cost the model adds to every one of them.
void SkyGsvOnly(benchmark::State& state) {
  Run(state, Stream(false), kNoReads);
}
BENCHMARK(SkyGsvOnly)->Unit(benchmark::kMicrosecond);

// Whole epochs: time sentences and GSA too, still counted per GSV sentence;
// the model read never, once per epoch (as --sky does), or after every line
// (far more than a display that refreshes once per turn of its event loop).
void SkyWholeEpochs(benchmark::State& state) {
  Run(state, Stream(true), static_cast<TReads>(state.range(0)));
}
BENCHMARK(SkyWholeEpochs)
    ->ArgName("reads")
    ->Arg(kNoReads)
    ->Arg(kReadPerEpoch)
    ->Arg(kReadPerLine)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// Counting every allocation of the program; the benchmarks read the count
// around their timed loops.
void* operator new(std::size_t size) {
  Allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

// Indexing a 1 GB replay file in the page cache, and jumping in it: the
// epochs of a 1 Hz receiver (RMC, GGA, four GSA and twenty GSV lines, about
// 1.7 KB) over and over, the time going on across days. The file is written
// into a temporary folder once and removed at the end.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "bench/ReceiverEpoch.h"
#include "history/ReplayIndex.h"
#include "monitor/Monitor.h"

namespace {

constexpr uint64_t kFileBytes = uint64_t{1} << 30;

std::string Epoch(uint64_t number) {
  std::string text;
  for (const std::string& line : ReceiverEpoch(number)) text += line + "\r\n";
  return text;
}

class TBigLog {
 public:
  TBigLog() {
    Folder = std::filesystem::temp_directory_path() / "tolvane-bench-index";
    std::filesystem::create_directories(Folder);
    Path = (Folder / "big.TXT").string();
    std::ofstream out(Path, std::ios::binary);
    for (uint64_t written = 0, number = 0; written < kFileBytes; ++number) {
      const std::string epoch = Epoch(number);
      out << epoch;
      written += epoch.size();
    }
  }
  ~TBigLog() {
    std::error_code ignored;
    std::filesystem::remove_all(Folder, ignored);
  }
  const std::string& File() const { return Path; }

 private:
  std::filesystem::path Folder;
  std::string Path;
};

const TBigLog& BigLog() {
  static const TBigLog log;
  return log;
}

void IndexOneGigabyte(benchmark::State& state) {
  const TBigLog& log = BigLog();
  TReplayIndex::Build(log.File());  // into the page cache
  size_t epochs = 0;
  for (auto _ : state) {
    const std::optional<TReplayIndex> index = TReplayIndex::Build(log.File());
    epochs = index->Size();
    benchmark::DoNotOptimize(epochs);
  }
  state.counters["epochs"] = static_cast<double>(epochs);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}
BENCHMARK(IndexOneGigabyte)->Unit(benchmark::kSecond)->Iterations(2);

// A jump from the top to `range(0)` per cent of the file on a fresh replay:
// with range(1) 0 as soon as the index is ready (no checkpoint saved yet),
// with 1 once the checkpoints are saved, with 2 back to half that after a
// first jump there.
void JumpInOneGigabyte(benchmark::State& state) {
  const TBigLog& log = BigLog();
  const int64_t when = state.range(1);
  for (auto _ : state) {
    state.PauseTiming();
    TMonitor monitor;
    monitor.StartReplay(log.File());
    while (!monitor.Replay().Index() || (when > 0 && !monitor.Replay().Checkpointed()))
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const size_t epochs = monitor.Replay().Index()->Size();
    const size_t target = epochs * static_cast<size_t>(state.range(0)) / 100;
    if (when == 2) monitor.JumpTo(target);
    state.ResumeTiming();
    // A far jump waits for the checkpoints, ticking as the window would.
    TTickResult result = monitor.JumpTo(when == 2 ? target / 2 : target);
    while (!result.Jumped) {
      std::this_thread::sleep_for(std::chrono::milliseconds(TReplay::kJumpWaitInterval));
      result = monitor.Tick();
    }
    benchmark::DoNotOptimize(result.Updates.size());
    state.PauseTiming();
    monitor.Stop();
    state.ResumeTiming();
  }
}
BENCHMARK(JumpInOneGigabyte)
    ->Args({10, 0})
    ->Args({100, 0})
    ->Args({50, 1})
    ->Args({100, 1})
    ->Args({100, 2})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// The whole pass of a replay's indexing thread: the index, then the
// checkpoints along the file.
void IndexAndCheckpointOneGigabyte(benchmark::State& state) {
  const TBigLog& log = BigLog();
  for (auto _ : state) {
    TMonitor monitor;
    monitor.StartReplay(log.File());
    while (!monitor.Replay().Checkpointed())
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    monitor.Stop();
  }
}
BENCHMARK(IndexAndCheckpointOneGigabyte)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

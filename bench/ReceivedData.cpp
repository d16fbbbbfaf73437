// The received-data view under a long session: what one line costs in
// memory, what an append costs at the first line and at the ten millionth,
// what one receive tick (an append and the repaint it causes) takes on a
// shown view, and how long a day of lines (most of them in the temporary
// file) takes to show its first line when the user scrolls back to it.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/ReceivedDataView.h"

namespace {

const std::string kGGA =
    "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47";  // 66 bytes

// Resident memory of the process, in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096.0;
}

std::unique_ptr<TReceivedDataView> ShownView(std::size_t lines) {
  auto view = std::make_unique<TReceivedDataView>();
  view->resize(600, 200);
  view->show();
  for (std::size_t i = 0; i < lines; ++i) view->AppendLine(kGGA);
  QApplication::processEvents();
  return view;
}

void MemoryPerLine(benchmark::State& state) {
  const auto lines = static_cast<std::size_t>(state.range(0));
  double heldRatio = 0, residentRatio = 0, residentAfterClear = 0;
  for (auto _ : state) {
    double before = ResidentBytes();
    auto view = ShownView(lines);
    double text = static_cast<double>(lines * kGGA.size());
    heldRatio = static_cast<double>(view->MemoryUsed()) / text;
    residentRatio = (ResidentBytes() - before) / text;
    view->Clear();
    residentAfterClear = (ResidentBytes() - before) / (1024.0 * 1024.0);
  }
  state.counters["held_per_text_byte"] = heldRatio;
  state.counters["resident_per_text_byte"] = residentRatio;
  state.counters["resident_MiB_after_clear"] = residentAfterClear;
}
BENCHMARK(MemoryPerLine)->Arg(1'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);

void AppendOneLine(benchmark::State& state) {
  auto view = ShownView(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) view->AppendLine(kGGA);
  state.counters["lines_at_end"] = static_cast<double>(view->LineCount());
}
BENCHMARK(AppendOneLine)->Arg(0)->Arg(10'000'000)->Unit(benchmark::kNanosecond);

// One receive tick at 100 lines a second: append, then let the event loop
// repaint what changed. Reports the percentiles of single ticks, by the wall
// clock and by this thread's own processor time (which other programs on a
// busy machine do not inflate).
double ThreadMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

void ReportPercentiles(benchmark::State& state, const char* name, std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  auto at = [&](double q) { return micros[static_cast<std::size_t>(q * (micros.size() - 1))]; };
  state.counters[std::string(name) + "_p50_us"] = at(0.5);
  state.counters[std::string(name) + "_p99_us"] = at(0.99);
}

void ReceiveTick(benchmark::State& state) {
  auto view = ShownView(static_cast<std::size_t>(state.range(0)));
  std::vector<double> wall, cpu;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    double cpuStart = ThreadMicros();
    view->AppendLine(kGGA);
    QApplication::processEvents();
    cpu.push_back(ThreadMicros() - cpuStart);
    wall.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  ReportPercentiles(state, "wall", wall);
  ReportPercentiles(state, "cpu", cpu);
  state.counters["following"] =
      view->verticalScrollBar()->value() == view->verticalScrollBar()->maximum();
}
BENCHMARK(ReceiveTick)->Arg(1000)->Arg(10'000'000)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// 280 lines a second for a day, spilled to a folder of this run; then the
// top row is asked for and painted, as dragging the scroll bar to the top
// does. The goal: within 50 ms. Peak resident memory is that of the whole
// benchmark process.
void ScrollToFirstLine(benchmark::State& state) {
  QTemporaryDir folder;
  const auto lines = static_cast<std::size_t>(state.range(0));
  auto view = std::make_unique<TReceivedDataView>(
      nullptr, TLineStoreLimits{.Folder = folder.path().toStdString()});
  view->resize(600, 400);
  view->show();
  double before = ResidentBytes();
  auto fillStart = std::chrono::steady_clock::now();
  for (std::size_t i = 0; i < lines; ++i) view->AppendLine(kGGA);
  QApplication::processEvents();
  double fillSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - fillStart).count();
  std::vector<double> millis;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    view->verticalScrollBar()->setValue(0);
    view->viewport()->repaint();
    millis.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
    state.PauseTiming();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    view->viewport()->repaint();
    state.ResumeTiming();
  }
  std::sort(millis.begin(), millis.end());
  state.counters["first_row_ms_p50"] = millis[millis.size() / 2];
  state.counters["first_row_ms_max"] = millis.back();
  state.counters["resident_MiB_added"] = (ResidentBytes() - before) / (1024.0 * 1024.0);
  state.counters["held_MiB"] = static_cast<double>(view->MemoryUsed()) / (1024.0 * 1024.0);
  state.counters["fill_lines_per_s"] = static_cast<double>(lines) / fillSeconds;
}
BENCHMARK(ScrollToFirstLine)->Arg(280 * 86400)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

#include "bench/WidgetsMain.h"

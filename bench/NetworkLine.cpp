// The network line path: lines a second through ReadLine from a TCP peer on
// the loopback address, taken as an arrival takes them (the event loop runs,
// then up to 100 lines), and resident memory while a peer floods the
// program with bytes that never end a line, or with more lines than it takes.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <string>

#include "monitor/Monitor.h"
#include "source/PortSlot.h"
#include "tests/support/LoopbackPeer.h"

namespace {

const std::string kSentence =
    "$GPGGA,123519.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
constexpr uint64_t kEndless = uint64_t(1) << 40;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_NetworkLine";
  static char* argv[] = {name, nullptr};
  static QCoreApplication application(argc, argv);
}
// A source on COM1 connected to `peer`, or nothing.
bool Connect(TPortSlot& source, const TLoopbackPeer& peer) {
  qputenv("TOLVANE_COM1", QByteArray("tcp://127.0.0.1:") + QByteArray::number(peer.Port));
  source.Open();
  for (int turn = 0; turn < 5000 && source.LinkState() != TLinkState::Connected; ++turn)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  return source.LinkState() == TLinkState::Connected;
}

// One arrival of a network source; the lines it took.
int Tick(TPortSlot& source) {
  QCoreApplication::processEvents();
  int taken = 0;
  while (taken < TMonitor::kLinesPerArrival && source.ReadLine()) ++taken;
  return taken;
}

void LinesThroughATick(benchmark::State& state) {
  EnsureApplication();
  std::string chunk;
  while (chunk.size() < 64 * 1024) chunk += kSentence;
  TLoopbackPeer peer(chunk, kEndless);
  TPortSlot source([] { return 0; });
  if (!Connect(source, peer)) return state.SkipWithError("no connection");
  int64_t lines = 0;
  for (auto _ : state) lines += Tick(source);
  source.Close();
  state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
  state.counters["lines/arrival"] = double(lines) / double(state.iterations());
}

// `chunk` repeated without end: resident memory before and at the end.
void Flood(benchmark::State& state, const std::string& chunk) {
  EnsureApplication();
  TLoopbackPeer peer(chunk, kEndless);
  TPortSlot source([] { return 0; });
  if (!Connect(source, peer)) return state.SkipWithError("no connection");
  for (int i = 0; i < 1000; ++i) Tick(source);
  const long before = ResidentKiB();
  const uint64_t sentBefore = peer.Sent;
  for (auto _ : state) Tick(source);
  state.counters["MiB received"] = double(peer.Sent - sentBefore) / (1024 * 1024);
  state.counters["RSS growth KiB"] = double(ResidentKiB() - before);
  state.counters["dropped MiB"] = double(source.DroppedBytes()) / (1024 * 1024);
  source.Close();
}

void FloodWithoutLineEnds(benchmark::State& state) {
  Flood(state, std::string(64 * 1024, 'x'));
}

void FloodOfLines(benchmark::State& state) {
  std::string chunk;
  while (chunk.size() < 64 * 1024) chunk += kSentence;
  Flood(state, chunk);
}

}  // namespace

BENCHMARK(LinesThroughATick)->MinTime(2);
BENCHMARK(FloodWithoutLineEnds)->Iterations(20000);
BENCHMARK(FloodOfLines)->Iterations(20000);

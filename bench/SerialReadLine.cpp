// The cost of one ReadLine, the receive tick's whole share of the serial
// port: with one sentence arriving per read, and with the port saturated
// (a full 1024-byte read every time, so that the buffer sits at its bound
// and every line taken out moves it).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "source/PortSlot.h"
#include "source/SerialDevice.h"

namespace {

const std::string kSentence =
    "$GPGGA,123519.00,4807.0380,N,01131.0000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";

// Serves an endless stream of the same sentence, `perRead` bytes a read.
class TStreamDevice : public ISerialDevice {
 public:
  explicit TStreamDevice(size_t perRead) : PerRead(perRead) {}
  bool Open(const std::string&) override { return true; }
  bool SetQueueSizes(int, int) override { return true; }
  bool Configure(int32_t) override { return true; }
  bool SetImmediateReads() override { return true; }
  TSignalResult RaiseDTR() override { return TSignalResult::Done; }
  TSignalResult RaiseRTS() override { return TSignalResult::Done; }
  void Purge() override {}
  int64_t Read(char* buffer, int64_t maxSize) override {
    const size_t count = std::min(PerRead, static_cast<size_t>(maxSize));
    for (size_t i = 0; i < count; ++i, Offset = (Offset + 1) % kSentence.size())
      buffer[i] = kSentence[Offset];
    return static_cast<int64_t>(count);
  }
  bool Write(std::string_view) override { return true; }
  std::optional<bool> ReadDSR() override { return false; }
  void Close() override {}

 private:
  size_t PerRead;
  size_t Offset = 0;
};

void ReadLineAt(benchmark::State& state) {
  const auto perRead = static_cast<size_t>(state.range(0));
  TPortSlot port([] { return 0; }, [perRead] { return std::make_unique<TStreamDevice>(perRead); });
  port.Open();
  // Fill the buffer to its steady state before timing.
  for (int i = 0; i < 1000; ++i) benchmark::DoNotOptimize(port.ReadLine());
  for (auto _ : state) benchmark::DoNotOptimize(port.ReadLine());
  state.SetItemsProcessed(state.iterations());
  port.Close();
}

}  // namespace

BENCHMARK(ReadLineAt)->Arg(static_cast<int64_t>(kSentence.size()))->Arg(1024);

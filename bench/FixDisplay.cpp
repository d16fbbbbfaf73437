// The cost of the fix display's decisions after one GSA sentence with a full
// satellite table (bench_ReceiveLoop measures them applied to the window).

#include <benchmark/benchmark.h>

#include "monitor/FixDisplay.h"

namespace {

TGSV FullTable() {
  TGSV gsv;
  gsv.MessageCount = 3;
  gsv.MessageNumber = 3;
  gsv.SatsInView = kSatelliteSlots;
  for (int slot = 0; slot < kSatelliteSlots; ++slot)
    gsv.Sats[slot] = {slot + 1, 10 + slot * 6, slot * 30, 20 + slot * 2};
  return gsv;
}

TGSA EightUsed() {
  TGSA gsa;
  gsa.Mode.push_back('A');  // assigning a literal trips a false GCC 12 -Wrestrict
  gsa.FixType = 3;
  for (int i = 0; i < 8; ++i) gsa.UsedPRN[i] = static_cast<uint8_t>(i * 2 + 1);
  gsa.PDOP = 1.8F;
  gsa.HDOP = 1.0F;
  gsa.VDOP = 1.5F;
  return gsa;
}

void DisplayGSAFullTable(benchmark::State& state) {
  const TGSV gsv = FullTable();
  const TGSA gsa = EightUsed();
  for (auto _ : state) benchmark::DoNotOptimize(DisplayGSA(gsa, gsv));
}
BENCHMARK(DisplayGSAFullTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

// The cost of the fix display after one GSA sentence with a full satellite
// table: the decisions alone, and the decisions applied to the main window.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "monitor/FixDisplay.h"
#include "app/MainFrm.h"
#include "format/LocaleFormats.h"

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

// The whole ShowGSA of the window: the decisions, the field lookups, the
// texts and the twelve bars redrawn. With the table changing on every call
// (every number and bar moves) and steady (a receiver at rest, where most
// texts come again as they were).
void ShowGSAFullTable(benchmark::State& state) {
  LoadSystemLocaleFormats();
  TMainForm form;
  form.show();
  TGSV tables[2] = {FullTable(), FullTable()};
  if (state.range(0) != 0)
    for (TSatellite& sat : tables[1].Sats)
      sat = {sat.PRN + 1, sat.Elevation + 1, sat.Azimuth + 1, sat.SNR + 1};
  form.Decoder.GSA = EightUsed();
  int turn = 0;
  for (auto _ : state) {
    form.Decoder.GSV = tables[turn ^= 1];
    form.ShowGSA();
  }
}
BENCHMARK(ShowGSAFullTable)->ArgName("changing")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace

// The window's benchmark needs a QApplication, so this program has its own main.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

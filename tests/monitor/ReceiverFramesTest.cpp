// A rover's NAV-PVT, before or after its GGA, beside a base's RTCM 1005: the
// claims, the RTK label and the station's line with the baseline from the fix.

#include <gtest/gtest.h>

#include "history/HistoryFigures.h"
#include "monitor/StatusTexts.h"
#include "source/FrameBuilder.h"
#include "tests/monitor/MonitorHarness.h"

namespace {

// At 12:00:ss, 1,234 m over the station, vAcc twice hAcc; carrSoln 0 none,
// 1 float, 2 fixed.
std::string NavPvt(int carrier, uint32_t hAcc, uint8_t second) {
  TUbxPayload pvt;
  pvt.U4(0).U2(2024).U1(3).U1(5).U1(12).U1(0).U1(second).U1(0x07).U4(20).I4(0);
  pvt.U1(3).U1(uint8_t(1 | carrier << 6)).U1(0).U1(20).I4(115'167'000).I4(481'173'000);
  pvt.I4(1'779'400).I4(0).U4(hAcc).U4(2 * hAcc).Zeros(44);
  return UbxFrame(0x01, 0x07, pvt.Bytes());
}

// Over the station, its ellipsoidal height 545.4 + 46.9 m.
std::string Gga(int second, int quality) {
  return FrameSentence("GPGGA,12000" + std::to_string(second) + ".00,4807.038,N,01131.002,E," +
                       std::to_string(quality) + ",08,0.9,545.4,M,46.9,M,,");
}

TEST(ReceiverFrames, ClaimsLabelAndStation) {
  TRtcm3Bits bits;  // station 42 (and the flags), then 48.1173 N 11.5167 E, 545.4 m
  bits.Put(1005, 12).Put(42, 22).Put(41804833903, 38).Put(0, 2).Put(8517979558, 38);
  const std::string station = Rtcm3Frame(bits.Put(0, 2).Put(47259997687, 38).Bytes());
  const struct {
    const char* Legend;
    int Quality, Carrier;  // of the GGA; -1 for no NAV-PVT
    bool After;            // NAV-PVT after its GGA
    const char* Label;
    const char* Baseline;
  } rows[] = {
      {"carrSoln fixed over a GGA float", 5, 2, false, "RTK fixed", "; baseline 1.234 km"},
      {"carrSoln float over a GGA fixed, after it", 4, 1, true, "RTK float", "; baseline 1.234 km"},
      {"carrSoln none takes the GGA's RTK away", 4, 0, false, "", "; baseline 1.234 km"},
      {"no NAV-PVT: the GGA's quality and height", 4, -1, false, "RTK fixed", "; baseline 46.9 m"},
      {"no NAV-PVT, no fix: no baseline", 0, -1, false, "", ""},
  };
  for (const auto& row : rows) {
    TMonitorHarness harness;
    harness.Monitor.OpenPort(2);
    std::vector<std::string> lines = {station};  // two epochs claiming 10 and 30 mm
    for (uint8_t second : {0, 1}) {
      lines.push_back(Gga(second, row.Quality));
      if (row.Carrier < 0) continue;
      lines.insert(lines.end() - (row.After ? 0 : 1),
                   NavPvt(row.Carrier, 10 + 20 * second, second));
    }
    lines.push_back(Gga(2, row.Quality));
    harness.Receive(lines);
    const THistory& history = harness.Monitor.History();
    EXPECT_EQ(FixStatusText(history, harness.Monitor.Recorder()).Text, row.Label) << row.Legend;
    const TClaimedErrors claimed = MeanClaimedErrors(history);
    EXPECT_NEAR(claimed.HAcc.value_or(0), row.Carrier < 0 ? 0 : 0.02, 1e-9) << row.Legend;
    EXPECT_NEAR(claimed.VAcc.value_or(0), row.Carrier < 0 ? 0 : 0.04, 1e-9) << row.Legend;
    EXPECT_EQ(harness.Monitor.StationLine(),
              std::string("Base 1005: 48.117300, 11.516700, 545.4 m") + row.Baseline)
        << row.Legend;
  }
}

}  // namespace

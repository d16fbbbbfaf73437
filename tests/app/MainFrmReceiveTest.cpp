#include <gtest/gtest.h>

#include <QLabel>

#include "app/Images.h"
#include "tests/app/MainFrmHarness.h"

namespace {

const std::string kGGA = Framed("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kRMC = Framed("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
const std::string kGSV = Framed("GPGSV,1,1,03,01,40,083,46,02,17,308,41,12,07,344,39");
const std::string kGSA = Framed("GPGSA,A,3,01,02,,,,,,,,,,,2.5,1.3,2.1");
const std::string kRME = Framed("PGRME,15.0,M,45.0,M,25.0,M");
const std::string kGLL = Framed("GPGLL,4916.45,N,12311.12,W,225444,A");
const std::string kBadChecksum = "$GPGLL,4916.45,N,12311.12,W,225444,A*00";
const std::string kInvalidGGA = Framed("GPGGA,123519,48x7.038,N,01131.000,E,1,08,0.9,545.4,M,,M,,");

TEST(ReceiveLoop, SentencesForTheTestsDecodeAsIntended) {
  TNMEA decoder;
  EXPECT_EQ(decoder.Decode(kGGA), srGGA);
  EXPECT_EQ(decoder.Decode(kRMC), srRMC);
  EXPECT_EQ(decoder.Decode(kGSV), srGSV);
  EXPECT_EQ(decoder.Decode(kGSA), srGSA);
  EXPECT_EQ(decoder.Decode(kRME), srRME);
  EXPECT_EQ(decoder.Decode(kGLL), srUnrecognised);
  EXPECT_EQ(decoder.Decode(kBadChecksum), srBadChecksum);
  EXPECT_EQ(decoder.Decode(kInvalidGGA), srInvalid);
}

TEST(ReceiveLoop, FiltersDropTheirSentencesOnly) {
  const struct {
    const char* Legend;
    std::vector<const char*> Ticked;
    std::string Line;
    bool Shown;
  } cases[] = {
      {"no filter, bad checksum", {}, kBadChecksum, true},
      {"invalid filter, bad checksum", {"IgnoreInvalid"}, kBadChecksum, false},
      {"invalid filter, invalid field", {"IgnoreInvalid"}, kInvalidGGA, false},
      {"invalid filter, unhandled type", {"IgnoreInvalid"}, kGLL, true},
      {"GGA filter, GGA", {"IgnoreGGA"}, kGGA, false},
      {"GGA filter, RMC", {"IgnoreGGA"}, kRMC, true},
      {"RMC filter, RMC", {"IgnoreRMC"}, kRMC, false},
      {"GSV filter, GSV", {"IgnoreGSV"}, kGSV, false},
      {"GSV filter, GSA", {"IgnoreGSV"}, kGSA, true},
      {"GSA filter, GSA", {"IgnoreGSA"}, kGSA, false},
      {"every filter, RME",
       {"IgnoreInvalid", "IgnoreGGA", "IgnoreRMC", "IgnoreGSV", "IgnoreGSA"},
       kRME,
       true},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    for (const char* option : c.Ticked) harness.Check(option);
    harness.SelectPort(0);
    harness.Script->Incoming = c.Line + "\r\n";
    harness.Ticks(1);
    EXPECT_EQ(harness.Shown(),
              c.Shown ? std::vector<std::string>{c.Line} : std::vector<std::string>{})
        << c.Legend;
  }
}

TEST(ReceiveLoop, FilteredSentenceIsStillDecoded) {
  TWindowHarness harness;
  harness.Check("IgnoreGSV");
  harness.SelectPort(0);
  harness.Script->Incoming = kGSV + "\r\n";
  harness.Ticks(1);
  EXPECT_TRUE(harness.Shown().empty());
  EXPECT_EQ(harness.Main->Decoder.GSV.SatsInView, 3);
}

TEST(ReceiveLoop, FilterChangeActsAtTheNextTick) {
  TWindowHarness harness;
  harness.SelectPort(0);
  harness.Script->Incoming = kGGA + "\r\n" + kGGA + "\r\n";
  harness.Ticks(1);
  harness.Check("IgnoreGGA");
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown().size(), 1u);
}

TEST(ReceiveLoop, OneLinePerTickAndEmptyLinesAreIgnored) {
  TWindowHarness harness;
  harness.SelectPort(0);
  harness.Script->Incoming = "\r\n\x01\x02\r\n" + kGLL + "\r\n" + kGLL + "\r\n";
  harness.Ticks(2);
  EXPECT_TRUE(harness.Shown().empty()) << "an empty and an unprintable line";
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown().size(), 1u);
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown().size(), 2u);
}

TEST(ReceiveLoop, RelativeStampsCountFromThePortSelection) {
  const struct {
    const char* Legend;
    uint32_t SelectedAt;
    uint32_t ReceivedAt;
    const char* Stamp;
  } cases[] = {
      {"at once", 1000, 1000, "~0,"},
      {"a little later", 1000, 1250, "~250,"},
      {"across the counter's wrap", 0xFFFFFF00u, 0x10, "~272,"},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.Check("RecordTimestamps");
    harness.Tick = c.SelectedAt;
    harness.SelectPort(0);
    harness.Tick = c.ReceivedAt;
    harness.Script->Incoming = kGLL + "\r\n";
    harness.Ticks(1);
    EXPECT_EQ(harness.Shown(), std::vector<std::string>{c.Stamp + kGLL}) << c.Legend;
  }
}

TEST(ReceiveLoop, StampFollowsTheChosenForm) {
  TDateTime afternoon = 0;
  TryEncodeTime(14, 3, 7, 45, afternoon);
  const struct {
    const char* Legend;
    const char* Selected;  // nullptr: neither item selected
    std::string Expected;
  } cases[] = {
      {"local PC time", "LocalPCTime", "~14:03:07.045," + kGLL},
      {"relative", "RelativeTimestamp", "~40," + kGLL},
      {"nothing selected counts as relative", nullptr, "~40," + kGLL},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.Now = 45356 + afternoon;
    harness.Check("RecordTimestamps");
    auto* relative = harness.Dialogs.GeneralOptions->findChild<QRadioButton*>("RelativeTimestamp");
    auto* local = harness.Dialogs.GeneralOptions->findChild<QRadioButton*>("LocalPCTime");
    relative->setAutoExclusive(false);
    local->setAutoExclusive(false);
    relative->setChecked(c.Selected && std::string(c.Selected) == "RelativeTimestamp");
    local->setChecked(c.Selected && std::string(c.Selected) == "LocalPCTime");
    harness.SelectPort(0);
    harness.Tick += 40;
    harness.Script->Incoming = kGLL + "\r\n";
    harness.Ticks(1);
    EXPECT_EQ(harness.Shown(), std::vector<std::string>{c.Expected}) << c.Legend;
  }
}

TEST(ReceiveLoop, PPSCommandGoesOutOncePerRisingEdge) {
  const struct {
    const char* Legend;
    std::vector<bool> DSR;  // one reading per tick
    const char* Command;
    int Sent;
  } cases[] = {
      {"on at the first tick", {true}, "$PGRMO,,3", 1},
      {"off at the first tick", {false}, "$PGRMO,,3", 0},
      {"held on", {true, true, true}, "$PGRMO,,3", 1},
      {"two pulses", {true, false, true}, "$PGRMO,,3", 2},
      {"falling edge sends nothing", {false, true, false}, "$PGRMO,,3", 1},
      {"empty command", {true, false, true}, "", 0},
  };
  for (const auto& c : cases) {
    TWindowHarness harness;
    harness.Dialogs.GeneralOptions->findChild<QLineEdit*>("PPSCommand")->setText(c.Command);
    harness.SelectPort(0);
    for (bool dsr : c.DSR) {
      harness.Script->DSR = dsr;
      harness.Ticks(1);
    }
    std::string expected;
    for (int pulse = 0; pulse < c.Sent; ++pulse) expected += std::string(c.Command) + "\r\n";
    EXPECT_EQ(harness.Script->Written, expected) << c.Legend;
    EXPECT_EQ(harness.Main->LastDSR, c.DSR.back() ? 1 : 0) << c.Legend;
  }
}

TEST(ReceiveLoop, LampShowsDSRAndStaysAfterThePortCloses) {
  TWindowHarness harness;
  const auto* lamp = harness.Find<QLabel>("PPSImage");
  EXPECT_TRUE(lamp->pixmap().isNull()) << "empty before any port";
  const QRgb lit = LampPixmap(true).toImage().pixel(8, 8);
  const QRgb dark = LampPixmap(false).toImage().pixel(8, 8);
  harness.SelectPort(0);
  harness.Script->DSR = true;
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), lit);
  harness.Script->DSR = false;
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), dark);
  harness.Main->StopButtonClick();
  harness.Ticks(1);
  EXPECT_EQ(lamp->pixmap().toImage().pixel(8, 8), dark);
  EXPECT_EQ(harness.Main->LastDSR, 0);
}

TEST(ReceiveLoop, FailedPPSCommandLeavesTheLineForTheNextTick) {
  TWindowHarness harness;
  harness.Dialogs.GeneralOptions->findChild<QLineEdit*>("PPSCommand")->setText("X");
  harness.SelectPort(0);
  harness.Script->WriteFails = true;
  harness.Script->DSR = true;
  harness.Script->Incoming = kGLL + "\r\n";
  harness.Ticks(1);
  EXPECT_EQ(harness.ErrorsShown(), std::vector<std::string>{"Error sending data."});
  EXPECT_TRUE(harness.Shown().empty());
  harness.Ticks(1);
  EXPECT_EQ(harness.Shown(), std::vector<std::string>{kGLL});
}

TEST(ReceiveLoop, ModeCaptionBlinksEveryEleventhTickWhileLogging) {
  TWindowHarness harness;
  const auto* caption = harness.Find<QLabel>("ModeCaption");
  harness.Ticks(30);
  EXPECT_TRUE(caption->isHidden()) << "idle: no blinking";
  harness.Main->StartLogging(harness.Home.Path() + "/blink.TXT");
  harness.Main->BlinkCount = 0;
  std::vector<bool> visible;
  for (int tick = 0; tick < 22; ++tick) {
    harness.Ticks(1);
    visible.push_back(!caption->isHidden());
  }
  for (int tick = 0; tick < 22; ++tick)
    EXPECT_EQ(visible[tick], tick >= 10 && tick < 21) << "tick " << tick;
  EXPECT_EQ(caption->text(), "LOGGING");
}

}  // namespace

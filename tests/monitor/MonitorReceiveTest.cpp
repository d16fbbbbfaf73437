// The receive loop over a scripted port: filters, stamps, DSR and the PPS
// command, every line as it arrives, and what the fix display is told.

#include <gtest/gtest.h>

#include <optional>

#include "source/FrameBuilder.h"
#include "tests/monitor/MonitorHarness.h"
#include "tests/support/EventLoop.h"
#include "tests/support/Sentences.h"
#include "tests/support/TextFiles.h"

namespace {

const std::string kGGA =
    FrameSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kRMC =
    FrameSentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
const std::string kGSV = FrameSentence("GPGSV,1,1,03,01,40,083,46,02,17,308,41,12,07,344,39");
const std::string kGSA = FrameSentence("GPGSA,A,3,01,02,,,,,,,,,,,2.5,1.3,2.1");
const std::string kRME = FrameSentence("PGRME,15.0,M,45.0,M,25.0,M");
const std::string kGLL = FrameSentence("GPGLL,4916.45,N,12311.12,W,225444,A");
const std::string kBadChecksum = "$GPGLL,4916.45,N,12311.12,W,225444,A*00";
const std::string kInvalidGGA =
    FrameSentence("GPGGA,123519,48x7.038,N,01131.000,E,1,08,0.9,545.4,M,,M,,");

using TFlag = bool TMonitorOptions::*;

std::string TextWritten(const TFieldUpdates& updates, TFixField field) {
  std::string text = "<none>";
  for (const TFieldUpdate& update : updates)
    if (update.Kind == TFieldUpdate::TKind::Text && update.Field == field) text = update.Text;
  return text;
}

std::optional<bool> UsedWritten(const TFieldUpdates& updates, int slot) {
  std::optional<bool> used;
  for (const TFieldUpdate& update : updates)
    if (update.Kind == TFieldUpdate::TKind::Used &&
        update.Field == TFixField{TFixFieldKind::Used, slot})
      used = update.Used;
  return used;
}

TEST(MonitorReceive, SentencesForTheTestsDecodeAsIntended) {
  TNMEA decoder;
  const std::pair<std::string, TSentenceResult> cases[] = {
      {kGGA, TSentenceResult::GGA},
      {kRMC, TSentenceResult::RMC},
      {kGSV, TSentenceResult::GSV},
      {kGSA, TSentenceResult::GSA},
      {kRME, TSentenceResult::RME},
      {kGLL, TSentenceResult::Unrecognised},
      {kBadChecksum, TSentenceResult::BadChecksum},
      {kInvalidGGA, TSentenceResult::Invalid},
  };
  for (const auto& [line, result] : cases) EXPECT_EQ(decoder.Decode(line), result) << line;
}

TEST(MonitorReceive, FiltersDropTheirSentencesOnly) {
  const struct {
    const char* Legend;
    std::vector<TFlag> Ticked;
    std::string Line;
    bool Shown;
  } cases[] = {
      {"no filter, bad checksum", {}, kBadChecksum, true},
      {"invalid filter, bad checksum", {&TMonitorOptions::IgnoreInvalid}, kBadChecksum, false},
      {"invalid filter, invalid field", {&TMonitorOptions::IgnoreInvalid}, kInvalidGGA, false},
      {"invalid filter, unhandled type", {&TMonitorOptions::IgnoreInvalid}, kGLL, true},
      {"GGA filter, GGA", {&TMonitorOptions::IgnoreGGA}, kGGA, false},
      {"GGA filter, RMC", {&TMonitorOptions::IgnoreGGA}, kRMC, true},
      {"RMC filter, RMC", {&TMonitorOptions::IgnoreRMC}, kRMC, false},
      {"GSV filter, GSV", {&TMonitorOptions::IgnoreGSV}, kGSV, false},
      {"GSV filter, GSA", {&TMonitorOptions::IgnoreGSV}, kGSA, true},
      {"GSA filter, GSA", {&TMonitorOptions::IgnoreGSA}, kGSA, false},
      {"every filter, RME",
       {&TMonitorOptions::IgnoreInvalid, &TMonitorOptions::IgnoreGGA, &TMonitorOptions::IgnoreRMC,
        &TMonitorOptions::IgnoreGSV, &TMonitorOptions::IgnoreGSA},
       kRME,
       true},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    for (TFlag flag : c.Ticked) harness.Set(flag);
    harness.Monitor.OpenPort(0);
    harness.Receive({c.Line});
    EXPECT_EQ(harness.Shown,
              c.Shown ? std::vector<std::string>{c.Line} : std::vector<std::string>{})
        << c.Legend;
    EXPECT_EQ(harness.Results.back().Updates.empty(),
              !c.Shown || c.Line == kGLL || c.Line == kBadChecksum)
        << c.Legend << ": a dropped line changes nothing on the display";
  }
}

TEST(MonitorReceive, FilteredSentenceIsStillDecodedAndReachesTheTableAtTheNextGSA) {
  TMonitorHarness harness;
  harness.Set(&TMonitorOptions::IgnoreGSV);
  harness.Monitor.OpenPort(0);
  harness.Receive({kGSV});
  EXPECT_TRUE(harness.Shown.empty());
  EXPECT_EQ(harness.Monitor.Decoder().GSV.SatsInView, 3);
  harness.Receive({kGSA});
  EXPECT_EQ(TextWritten(harness.Results.back().Updates, {TFixFieldKind::PRN, 3}), "12");
  EXPECT_EQ(UsedWritten(harness.Results.back().Updates, 1), true);
}

TFieldColour BarColourWritten(const TFieldUpdates& updates, int slot) {
  for (const TFieldUpdate& update : updates)
    if (update.Kind == TFieldUpdate::TKind::Bar && update.Field.Slot == slot) return update.Colour;
  return TFieldColour::Yellow;  // no bar written
}

TEST(MonitorReceive, UsedMarksOfTheLastGSAColourTheNextGSV) {
  TMonitorHarness harness;
  harness.Monitor.OpenPort(0);
  harness.Receive({kGSV});
  EXPECT_EQ(BarColourWritten(harness.Results.back().Updates, 1), TFieldColour::Red)
      << "before any GSA nothing is used";
  harness.Receive({kGSA, kGSV});
  const TFieldUpdates& updates = harness.Results.back().Updates;
  EXPECT_EQ(BarColourWritten(updates, 1), TFieldColour::ButtonFace) << "used";
  EXPECT_EQ(BarColourWritten(updates, 3), TFieldColour::Red) << "received, not used";
}

TEST(MonitorReceive, OptionChangeActsOnTheNextLineThatArrives) {
  TMonitorHarness harness;
  harness.Monitor.OpenPort(0);
  harness.Receive({kGGA});
  harness.Set(&TMonitorOptions::IgnoreGGA);
  harness.Receive({kGGA});
  EXPECT_EQ(harness.Shown.size(), 1u);
}

TEST(MonitorReceive, EveryLineThatArrivedIsTakenAndEmptyLinesAreIgnored) {
  TMonitorHarness harness;
  harness.Monitor.OpenPort(0);
  harness.Script->Incoming = "\r\n\x01\x02\r\n" + kGLL + "\r\n" + kRMC + "\r\n$GPG";
  harness.Arrived();
  EXPECT_EQ(harness.Shown, (std::vector<std::string>{kGLL, kRMC}))
      << "an empty and an unprintable line go; the unfinished one waits";
  harness.Receive({"LL,1*00"});
  EXPECT_EQ(harness.Shown.back(), "$GPGLL,1*00");
}

TEST(MonitorReceive, StampsFollowTheChosenFormAndCountFromThePortSelection) {
  TDateTime afternoon = 0;
  TryEncodeTime(14, 3, 7, 45, afternoon);
  const struct {
    const char* Legend;
    int Form;
    uint32_t SelectedAt;
    uint32_t ReceivedAt;
    std::string Expected;
  } cases[] = {
      {"relative, at once", kRelativeTimestamp, 1000, 1000, "~0," + kGLL},
      {"relative, a little later", kRelativeTimestamp, 1000, 1250, "~250," + kGLL},
      {"relative, across the counter's wrap", kRelativeTimestamp, 0xFFFFFF00u, 0x10,
       "~272," + kGLL},
      {"nothing selected counts as relative", kNoTimestampFormat, 1000, 1040, "~40," + kGLL},
      {"local PC time", kLocalPCTime, 1000, 1040, "~14:03:07.045," + kGLL},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    harness.Now = 45356 + afternoon;
    TMonitorOptions options;
    options.RecordTimestamps = true;
    options.TimestampFormat = c.Form;
    harness.Monitor.SetOptions(options);
    harness.Tick = c.SelectedAt;
    harness.Monitor.OpenPort(0);
    harness.Tick = c.ReceivedAt;
    harness.Receive({kGLL});
    EXPECT_EQ(harness.Shown, std::vector<std::string>{c.Expected}) << c.Legend;
  }
}

TEST(MonitorReceive, PPSCommandGoesOutOncePerRisingEdge) {
  const struct {
    const char* Legend;
    std::vector<bool> DSR;  // one reading per tick
    const char* Command;
    int Sent;
    std::vector<int> Lamp;  // per tick: -1 unchanged, 0 dark, 1 lit
  } cases[] = {
      {"on at the first tick", {true}, "$PGRMO,,3", 1, {1}},
      {"off at the first tick", {false}, "$PGRMO,,3", 0, {0}},
      {"held on", {true, true, true}, "$PGRMO,,3", 1, {1, -1, -1}},
      {"two pulses", {true, false, true}, "$PGRMO,,3", 2, {1, 0, 1}},
      {"falling edge sends nothing", {false, true, false}, "$PGRMO,,3", 1, {0, 1, 0}},
      {"empty command: the lamp still follows", {true, false, true}, "", 0, {1, 0, 1}},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    harness.SetPPSCommand(c.Command);
    harness.Monitor.OpenPort(0);
    for (bool dsr : c.DSR) {
      harness.Script->DSR = dsr;
      harness.Ticks(1);
    }
    std::string expected;
    for (int pulse = 0; pulse < c.Sent; ++pulse) expected += std::string(c.Command) + "\r\n";
    EXPECT_EQ(harness.Script->Written, expected) << c.Legend;
    std::vector<int> lamp;
    for (const TTickResult& result : harness.Results)
      lamp.push_back(result.Lamp ? int(*result.Lamp) : -1);
    EXPECT_EQ(lamp, c.Lamp) << c.Legend;
  }
}

TEST(MonitorReceive, DSRChangesFromAWaitingThreadActAsSamplesDo) {
  TMonitorHarness harness;
  harness.SetPPSCommand("$PGRMO,,3");
  harness.Monitor.OpenPort(0);
  const auto at = std::chrono::steady_clock::now();
  for (bool on : {true, true, false, true}) harness.Gather(harness.Monitor.TakeDSREdge({on, at}));
  EXPECT_EQ(harness.Script->Written, "$PGRMO,,3\r\n$PGRMO,,3\r\n") << "one per rising edge";
  EXPECT_EQ(harness.Results[1].Lamp, std::nullopt) << "no change, nothing drawn";
  EXPECT_EQ(harness.Monitor.LastDSRChange(), at) << "the moment the driver reported it";
}

TEST(MonitorReceive, TicksAreNeededOnlyForAReplayOrToSampleDSR) {
  const struct {
    const char* Legend;
    std::optional<bool> DSR;  // nothing: the device has no modem lines
    bool Replay;
    bool Needed;
  } cases[] = {
      {"modem lines that cannot be waited for", false, false, true},
      {"no modem lines (a pseudo-terminal)", std::nullopt, false, false},
      {"a replay", std::nullopt, true, true},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    harness.Script->DSR = c.DSR;
    if (c.Replay) {
      ASSERT_TRUE(WriteAll(harness.Home.Path() + "/r.TXT", kGLL + "\r\n"));
      harness.Monitor.StartReplay(harness.Home.Path() + "/r.TXT");
    } else {
      harness.Monitor.OpenPort(0);
    }
    EXPECT_EQ(harness.Monitor.NeedsTicks(), c.Needed) << c.Legend;
    harness.Script->Vanished = true;
    harness.Script->OpenFails = true;
    harness.Arrived();
    EXPECT_EQ(harness.Monitor.NeedsTicks(), c.Replay) << c.Legend << ": the device went away";
  }
}

// Nothing of the last source is shown as the present, nor beside "No source".
TEST(MonitorReceive, ANewSourceOrStopStartsFromEmpty) {
  const struct {
    const char* Legend;
    std::function<void(TMonitorHarness&)> Change;
  } cases[] = {
      {"Stop", [](auto& h) { h.Monitor.Stop(); }},
      {"another slot", [](auto& h) { h.Monitor.OpenPort(3); }},
      {"a replay",
       [](auto& h) {
         ASSERT_TRUE(WriteAll(h.Home.Path() + "/r.TXT", kGLL + "\r\n"));
         h.Monitor.StartReplay(h.Home.Path() + "/r.TXT");
       }},
      {"the receiver back after it went",
       [](auto& h) {
         h.Script->Vanished = true;
         h.Arrived();
         h.Script->Vanished = false;
         ASSERT_TRUE(ProcessEventsUntil(
             [&] { return h.Monitor.Port()->LinkState() == TLinkState::Connected; }, 5000));
         h.Arrived();
       }},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    harness.Monitor.OpenPort(2);
    harness.Receive({kRMC, kGSV, kGGA, kGLL});  // an epoch, ended by the GLL's new time
    int freshStarts = 0;
    harness.Monitor.SetFreshStartHandler([&] { ++freshStarts; });
    c.Change(harness);
    EXPECT_EQ(freshStarts, 1) << c.Legend;
    EXPECT_EQ(harness.Monitor.Decoder().RMC, TRMC()) << c.Legend << ": no course of before";
    EXPECT_TRUE(harness.Monitor.History().Empty()) << c.Legend << ": nor its fix label";
  }
}

TEST(MonitorReceive, LampShowsDSRAtOnceAfterTheOpening) {
  const struct {
    const char* Legend;
    std::optional<bool> DSR;
    std::optional<bool> Lamp;
  } cases[] = {
      {"DSR on", true, true},
      {"DSR off", false, false},
      {"no modem lines: dark", std::nullopt, false},
  };
  for (const auto& c : cases) {
    TMonitorHarness harness;
    harness.Script->DSR = c.DSR;
    harness.Monitor.OpenPort(0);
    harness.Arrived();
    harness.Arrived();
    EXPECT_EQ(harness.Results[0].Lamp, c.Lamp) << c.Legend;
    EXPECT_EQ(harness.Results[1].Lamp, std::nullopt) << c.Legend << ": drawn once";
  }
}

TEST(MonitorReceive, LastDSRSurvivesAReopen) {
  TMonitorHarness harness;
  harness.Monitor.OpenPort(0);
  harness.Script->DSR = true;
  harness.Ticks(1);
  harness.Monitor.Stop();
  harness.Monitor.OpenPort(0);
  harness.Ticks(1);
  EXPECT_FALSE(harness.Results.back().Lamp) << "still on: nothing new to draw";
}

TEST(MonitorReceive, FailedPPSCommandKeepsTheLampAndLosesNoLine) {
  TMonitorHarness harness;
  harness.SetPPSCommand("X");
  harness.Monitor.OpenPort(0);
  harness.Script->WriteFails = true;
  harness.Script->DSR = true;
  harness.Script->Incoming = kGLL + "\r\n";
  harness.Ticks(1);
  EXPECT_EQ(harness.Errors, std::vector<std::string>{"Error sending data"});
  EXPECT_EQ(harness.Results.back().Lamp, std::optional<bool>(true)) << "drawn before the send";
  harness.Arrived();
  EXPECT_EQ(harness.Shown, std::vector<std::string>{kGLL});
}

TEST(MonitorReceive, WithNothingOpenNothingHappens) {
  TMonitorHarness harness;
  EXPECT_FALSE(harness.Monitor.NeedsTicks());
  harness.Ticks(3);
  harness.Arrived();
  for (const TTickResult& result : harness.Results)
    EXPECT_TRUE(!result.ModeVisible && !result.Lamp && result.Lines.empty());
}

// A frame shows as a summary line and counts in a row of its own, beside
// the lines' total; without "Binary frames" it is counted all the same.
TEST(MonitorReceive, AFrameIsShownAndCountedBesideTheSentences) {
  const std::string gga =
      FrameSentence("GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  for (const bool shown : {true, false}) {
    TMonitorHarness harness;
    harness.Set(&TMonitorOptions::ShowBinaryFrames, shown);
    harness.Monitor.OpenPort(2);
    harness.Receive({gga + UbxFrame(0x01, 0x07, std::string(92, '\r'))});
    const std::vector<std::string> expected =
        shown ? std::vector<std::string>{"[UBX NAV-PVT 92 bytes]", gga} : std::vector{gga};
    EXPECT_EQ(harness.Shown, expected);
    const TSentenceStats& stats = harness.Monitor.Stats();
    EXPECT_EQ(stats.Total().Count, 1u) << "the sentence alone";
    EXPECT_EQ(stats.BinaryBytes(), 100u);
    ASSERT_EQ(stats.Rows().size(), 2u);
    EXPECT_EQ(stats.Rows()[0].Address, "UBX NAV-PVT");
    EXPECT_EQ(stats.Rows()[0].Count, 1u);
  }
}

}  // namespace

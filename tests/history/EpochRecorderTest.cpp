// The recorder on short streams: where epochs end, what each one keeps, and
// the history they go into.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "history/EpochHistory.h"
#include "history/EpochJson.h"
#include "history/EpochRecorder.h"

namespace {

struct TRecording {
  TSkyModel Sky;
  TNMEA Decoder;
  TEpochRecorder Recorder{Sky};
  std::vector<TEpoch> Epochs;
  uint64_t Number = 0;

  TRecording() {
    Recorder.SetEpochHandler([this](TEpoch& epoch) { Epochs.push_back(std::move(epoch)); });
  }
  void Take(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Recorder.Take(++Number, line, Decoder.Decode(line));
  }
  const std::vector<TEpoch>& Finish() {
    Recorder.Finish(Number);
    return Epochs;
  }
};

const std::string kGsv = FrameSentence("GPGSV,1,1,02,10,45,120,38,12,30,200,41");

std::string Gga(const std::string& time, const std::string& rest) {
  return FrameSentence("GPGGA," + time + "," + rest);
}

TEST(EpochRecorder, Boundaries) {
  struct TRow {
    const char* Legend;
    std::vector<std::string> Lines;
    std::vector<std::optional<std::string>> Times;
    std::vector<uint64_t> Ends;
  };
  const std::string fix = "4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  const TRow rows[] = {
      {"nothing", {}, {}, {}},
      {"lines before the first time without satellites make no epoch",
       {"hello", Gga("120000", fix)},
       {"120000"},
       {2}},
      {"satellites before the first time do, with no time",
       {kGsv, Gga("120000", fix)},
       {std::nullopt, "120000"},
       {2, 2}},
      {"the same time text twice is one epoch; another text starts the next",
       {Gga("120000", fix), FrameSentence("GPRMC,120000,A,,,,,,,010126,,"), Gga("120001", fix)},
       {"120000", "120001"},
       {3, 3}},
      {"a bad checksum's time starts nothing",
       {Gga("120000", fix), "$GPGGA,120001,,*00", Gga("120000", fix)},
       {"120000"},
       {3}},
  };
  for (const TRow& row : rows) {
    TRecording recording;
    recording.Take(row.Lines);
    std::vector<std::optional<std::string>> times;
    std::vector<uint64_t> ends;
    for (const TEpoch& epoch : recording.Finish()) {
      times.push_back(epoch.Time);
      ends.push_back(epoch.Line);
    }
    EXPECT_EQ(times, row.Times) << row.Legend;
    EXPECT_EQ(ends, row.Ends) << row.Legend;
  }
}

TEST(EpochRecorder, GsvEveryFiveSecondsLeavesTheSkyInEveryEpoch) {
  TRecording recording;
  for (int second = 0; second < 10; ++second) {
    char time[48];
    std::snprintf(time, sizeof time, "1200%02d", second);
    recording.Take({Gga(time, "4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,")});
    if (second % 5 == 0) recording.Take({kGsv});
  }
  const std::vector<TEpoch>& epochs = recording.Finish();
  ASSERT_EQ(epochs.size(), 10u);
  for (const TEpoch& epoch : epochs) {
    EXPECT_EQ(epoch.Signals.size(), 2u) << *epoch.Time;
    EXPECT_EQ(EpochCn0(epoch)[0], 39.5) << *epoch.Time;
  }
}

TEST(EpochRecorder, FieldsAndFixes) {
  TRecording recording;
  recording.Take({
      FrameSentence("GPGSA,A,2,10,12,,,,,,,,,,,2.5,1.9,2.2"),
      Gga("120000.50", "4807.038,N,01131.000,W,2,07,1.0,545.4,M,46.9,M,3.5,0042"),
      FrameSentence("GPGSA,A,3,10,12,,,,,,,,,,,1.5,0.9,1.2"),
      Gga("120000.50", "4807.038,S,01131.000,E,4,09,0.8,,M,46.9,M,,"),
      Gga("120000.50", "4807.038,S,01131.000,E,1,08,0.7,540.0,M,46.9,M,,"),
      FrameSentence("GPRMC,120000.50,A,4807.038,S,01131.000,E,0.5,87.0,311226,,"),
      "$GPGGA,120000.50,,,,,0,,,,,,,,*00",
      FrameSentence("GPGST,120000.50,1.2,0.8,0.6,45.0,0.7,0.6,1.1"),
      FrameSentence("PGRME,2.5,M,3.5,M,4.3,M"),
  });
  const std::vector<TEpoch>& epochs = recording.Finish();
  ASSERT_EQ(epochs.size(), 2u) << "the GSA before the first time is an epoch of its own";
  const TEpoch& epoch = epochs[1];
  EXPECT_EQ(epoch.Quality, 1) << "the last GGA whose checksum holds";
  EXPECT_EQ(epoch.Altitude, 540.0);
  EXPECT_EQ(epoch.DiffAge, std::nullopt) << "the last GGA had none";
  EXPECT_NEAR(*epoch.Latitude, -(48 + 7.038 / 60), 1e-12);
  EXPECT_EQ(epoch.Mode, 3);
  EXPECT_EQ(epoch.VDOP, 1.2);
  EXPECT_EQ(epoch.Date, "311226");
  EXPECT_EQ(epoch.Speed, 0.5);
  EXPECT_EQ(epoch.Course, 87.0);
  EXPECT_EQ(epoch.LongitudeError, 0.6);
  EXPECT_EQ(epoch.SphericalError, 4.3);
  EXPECT_EQ(epoch.Lines, 8u);
  EXPECT_EQ(epoch.BadChecksums, 1u);
  ASSERT_EQ(epoch.Fixes.size(), 2u) << "the GGA without altitude is no fix";
  const TEpochFix& first = epoch.Fixes[0];
  EXPECT_EQ(first.Quality, 2);
  EXPECT_NEAR(first.Longitude, -(11 + 31.0 / 60), 1e-12);
  EXPECT_EQ(first.Time, 43200.5);
  EXPECT_EQ(first.Used, 7);
  EXPECT_EQ(first.Mode, 2) << "the GSA before it, not the epoch's last";
  EXPECT_EQ(first.PDOP, 2.5);
  EXPECT_EQ(epoch.Fixes[1].Mode, 3);
}

// Each GGA holds its checksum and reads here, but the decoder refuses it.
const struct {
  const char* Legend;
  const char* Rest;
} kRefusedGgas[] = {
    {"an altitude past a float's range", "4807.038,N,01131.000,E,1,08,0.9,1e39,M,46.9,M,,"},
    {"no satellite count", "4807.038,N,01131.000,E,1,,0.9,545.4,M,46.9,M,,"},
};

TEST(EpochRecorder, AGgaTheDecoderRefusesIsNoFix) {
  for (const auto& test : kRefusedGgas) {
    SCOPED_TRACE(test.Legend);
    TRecording recording;
    recording.Take({Gga("120000.00", test.Rest)});
    const std::vector<TEpoch>& epochs = recording.Finish();
    ASSERT_EQ(epochs.size(), 1u);
    EXPECT_TRUE(epochs[0].Fixes.empty());
  }
}

// A receiver's empty GGA, which the decoder refuses, beside a fix.
TEST(EpochRecorder, TheLastGgaThatDecodesSetsTheFields) {
  const std::string fix = Gga("120000", "4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
  const std::string noFix = Gga("120000", ",,,,0,,,,,,,,");
  const struct {
    const char* Legend;
    std::vector<std::string> Lines;
    int Quality;
  } cases[] = {
      {"an empty GGA after the fix leaves the fix", {fix, "$GPGGA,,,,,,0,,,,,,,,*66"}, 1},
      {"no fix, then an empty GGA: still none", {noFix, "$GPGGA,,,,,,0,,,,,,,,*66"}, 0},
  };
  for (const auto& test : cases) {
    TRecording recording;
    recording.Take(test.Lines);
    ASSERT_EQ(recording.Finish().size(), 1u) << test.Legend;
    EXPECT_EQ(recording.Epochs[0].Quality, test.Quality) << test.Legend;
    EXPECT_EQ(recording.Epochs[0].Fixes.size(), size_t(test.Quality)) << test.Legend;
  }
}

// The receiver's jamming verdicts go with every epoch from the one they came
// in, and into its JSON, until 10 s of the epochs' time pass without any.
TEST(EpochRecorder, JammingGoesWithTheEpochsAndTheirJson) {
  const std::string fix = "4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
  TRecording recording;
  recording.Take({Gga("235954", fix), Gga("235955", fix)});
  recording.Recorder.TakeJamming({0, {{0, TJammingState::Ok}, {1, TJammingState::Warning}}});
  recording.Take({Gga("000004", fix), Gga("000005", fix)});
  std::vector<std::string> endings;
  for (const TEpoch& epoch : recording.Finish()) {
    const std::string json = EpochJson(epoch);
    endings.push_back(json.substr(json.find("\"interference\"")));
  }
  const std::string with = R"("interference":false,"jamming":{"L1":"ok","L2":"warning"}})";
  const std::string without = R"("interference":false})";
  // Before the MON-RF, in its epoch, 9 s on over midnight, 10 s on.
  EXPECT_EQ(endings, (std::vector<std::string>{without, with, with, without}));
}

TEST(EpochRecorder, ClearForgetsTheDateAndTheSky) {
  TRecording recording;
  recording.Take({FrameSentence("GPRMC,120000,A,,,,,,,010126,,"), kGsv});
  recording.Recorder.Clear();
  recording.Take({Gga("120001", ",,,,0,,,,,,,,")});
  const std::vector<TEpoch>& epochs = recording.Finish();
  ASSERT_EQ(epochs.size(), 1u);
  EXPECT_EQ(epochs[0].Date, std::nullopt);
  EXPECT_TRUE(epochs[0].Signals.empty());
}

TEST(EpochHistory, KeepsTheNewestWithinItsCapacity) {
  THistory history(3);
  for (uint64_t line = 1; line <= 5; ++line) {
    TEpoch epoch;
    epoch.Line = line;
    history.Append(std::move(epoch));
  }
  EXPECT_EQ(history.Size(), 3u);
  EXPECT_EQ(history.First(), 2u);
  EXPECT_EQ(history.End(), 5u);
  EXPECT_EQ(history.At(2).Line, 3u) << "absolute index 2 is the third epoch";
  const uint64_t generation = history.Generation();
  history.Clear();
  EXPECT_TRUE(history.Empty());
  EXPECT_EQ(history.First(), 0u);
  EXPECT_NE(history.Generation(), generation);
}

}  // namespace

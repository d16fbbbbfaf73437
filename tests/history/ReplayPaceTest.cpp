#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "history/ReplayPace.h"
#include "tests/support/Sentences.h"

namespace {

using TTime = TReplayPace::TTime;
using std::chrono::milliseconds;

std::string Rmc(const std::string& time, const std::string& date = "071226") {
  return FrameSentence("GNRMC," + time + ",A,6010.1234,N,02456.7890,E,012.0,045.0," + date + ",,");
}
// A multiplexer's TAG block in front of a sentence.
std::string Tagged(const std::string& tags, const std::string& sentence) {
  return "\\" + FrameSentence(tags).substr(1) + "\\" + sentence;
}
const std::string kGsv = FrameSentence("GPGSV,1,1,01,07,45,120,40");

constexpr int64_t kAtOnce = -1;

struct TLine {
  std::string Text;
  int64_t DueMs;  // after the first epoch's line, or kAtOnce
  double Crossed = 0;
};

struct TPaceCase {
  const char* Legend;
  double Speed;
  std::vector<TLine> Lines;
};

const std::vector<TPaceCase> kPaceCases = {
    {"1 Hz at 1x: an epoch a second, its other lines with it",
     1,
     {{Gga("120000"), 0}, {kGsv, 0}, {Gga("120001"), 1000}, {kGsv, 1000}, {Gga("120002"), 2000}}},
    {"1 Hz at 10x: ten epochs a second",
     10,
     {{Gga("120000"), 0}, {Gga("120001"), 100}, {Gga("120002"), 200}, {Gga("120003"), 300}}},
    {"1 Hz at 0.5x: an epoch every two seconds", 0.5, {{Gga("120000"), 0}, {Gga("120001"), 2000}}},
    {"10 Hz: fractions of a second",
     1,
     {{Gga("120000.00"), 0}, {Gga("120000.10"), 100}, {Gga("120000.20"), 200}}},
    {"midnight: the step back is crossed at once, then the pace goes on",
     1,
     {{Gga("235958"), 0},
      {Gga("235959"), 1000},
      {Gga("000000"), 1000, -86399},
      {Gga("000001"), 2000}}},
    {"midnight with dates, the GGA before the RMC: a second forward",
     1,
     {{Rmc("235959", "081226"), 0}, {Gga("000000"), 1000}, {Rmc("000000", "091226"), 1000}}},
    {"taken for midnight, but the RMC keeps the day: the step back is said there",
     1,
     {{Rmc("235959", "081226"), 0},
      {Gga("000000"), 1000},
      {Rmc("000000", "081226"), 1000, -86399}}},
    {"the epoch after brings no date: the step back is said late",
     1,
     {{Rmc("235959", "081226"), 0}, {Gga("000000"), 1000}, {Gga("000001"), 2000, -86399}}},
    {"a 10-minute gap is crossed at once",
     1,
     {{Gga("120000"), 0},
      {Gga("120001"), 1000},
      {Gga("121001"), 1000, 600},
      {Gga("121002"), 2000}}},
    {"a gap of exactly 10 s is waited for", 1, {{Gga("120000"), 0}, {Gga("120010"), 10000}}},
    {"a later session that starts earlier in the day",
     1,
     {{Gga("150000"), 0}, {Gga("093000"), 0, -19800}, {Gga("093001"), 1000}}},
    {"lines before the first time come at once",
     1,
     {{"garbage", kAtOnce}, {kGsv, kAtOnce}, {Gga("120000"), 0}, {Gga("120001"), 1000}}},
    {"RMC and GGA of one time are one epoch",
     1,
     {{Rmc("120000"), 0}, {Gga("120000"), 0}, {kGsv, 0}, {Rmc("120001"), 1000}}},
    {"a bad checksum marks no epoch",
     1,
     {{Gga("120000"), 0}, {Gga("120001").replace(1, 1, "X"), 0}, {Gga("120002"), 2000}}},
    {"a time that cannot be read comes with the epoch before",
     1,
     {{Gga("120000"), 0}, {Gga("12xx00"), 0}, {Gga("120001"), 1000}}},
    {"GLL: the time after the position",
     1,
     {{FrameSentence("GPGLL,6010.1234,N,02456.7890,E,120000,A,A"), 0},
      {FrameSentence("GPGLL,6010.1234,N,02456.7890,E,120003,A,A"), 3000}}},
    {"a TAG block in front of the sentence",
     1,
     {{Gga("120000"), 0}, {Tagged("s:buoy", Gga("120002")), 2000}}},
    {"millisecond stamps set the pace, not the sentences' times",
     1,
     {{"# a comment", kAtOnce},
      {"~100," + Gga("120000"), 0},
      {"~350," + kGsv, 250},
      {"~1100," + Gga("120005"), 1000},
      {Gga("120009"), 1000}}},
    {"clock stamps at 2x; a repeated stamp is the same moment",
     2,
     {{"~23:59:58.500," + Gga("235958"), 0},
      {"~23:59:59.500," + Gga("235959"), 500},
      {"~23:59:59.500," + kGsv, 500},
      {"~23:59:59.900," + kGsv, 700},
      {"~23:59:59.900," + kGsv, 700}}},
    {"as fast as possible: nothing waits",
     TReplayPace::kFastest,
     {{Gga("120000"), kAtOnce}, {Gga("120001"), kAtOnce}, {Gga("121001"), kAtOnce, 600}}},
};

// The caller of the pace, on a synthetic clock: it waits until each line is
// due, and shows it.
TEST(ReplayPace, PlacesEpochsByTheirRecordedTime) {
  for (const TPaceCase& test : kPaceCases) {
    SCOPED_TRACE(test.Legend);
    TReplayPace pace(test.Speed);
    const TTime start = TTime() + std::chrono::hours(1);
    TTime now = start;
    for (const TLine& line : test.Lines) {
      SCOPED_TRACE(line.Text);
      const TReplayPace::TPlace place = pace.Place(line.Text, now);
      if (line.DueMs == kAtOnce) {
        EXPECT_EQ(place.Due, TTime::min());
      } else {
        EXPECT_EQ(std::chrono::round<milliseconds>(place.Due - start).count(), line.DueMs);
      }
      EXPECT_DOUBLE_EQ(place.Crossed.value_or(0), line.Crossed);
      now = std::max(now, place.Due);
    }
  }
}

struct TChangeCase {
  const char* Legend;
  void (*Change)(TReplayPace& pace, TTime start);
  int64_t DueMs;  // of the epoch placed at 1000 ms at 1x before the change
};

const TChangeCase kChangeCases[] = {
    {"a pause of 5 s half-way waits 5 s more",
     [](TReplayPace& pace, TTime start) {
       pace.Hold(start + milliseconds(500));
       pace.Resume(start + milliseconds(5500));
     },
     6000},
    {"2x half-way: the half second left takes a quarter",
     [](TReplayPace& pace, TTime start) { pace.SetSpeed(2, start + milliseconds(500)); }, 750},
    {"a speed change during a pause counts from its end",
     [](TReplayPace& pace, TTime start) {
       pace.Hold(start + milliseconds(500));
       pace.SetSpeed(0.5, start + milliseconds(800));
       pace.Resume(start + milliseconds(2000));
     },
     3000},
    {"as fast as possible half-way: at once",
     [](TReplayPace& pace, TTime start) {
       pace.SetSpeed(TReplayPace::kFastest, start + milliseconds(500));
     },
     kAtOnce},
};

TEST(ReplayPace, FollowsPauseAndSpeedChanges) {
  for (const TChangeCase& test : kChangeCases) {
    SCOPED_TRACE(test.Legend);
    TReplayPace pace(1);
    const TTime start = TTime() + std::chrono::hours(1);
    pace.Place(Gga("120000"), start);
    pace.Place(Gga("120001"), start);
    test.Change(pace, start);
    if (test.DueMs == kAtOnce) {
      EXPECT_EQ(pace.CurrentDue(), TTime::min());
    } else {
      EXPECT_EQ(std::chrono::round<milliseconds>(pace.CurrentDue() - start).count(), test.DueMs);
    }
  }
}

struct TCrossedCase {
  const char* Legend;
  double Seconds;
  const char* Text;
};

const TCrossedCase kCrossedCases[] = {
    {"minutes and seconds", 192, "Gap of 3 min 12 s skipped"},
    {"just over the limit", 10.6, "Gap of 11 s skipped"},
    {"whole minutes keep their seconds", 600, "Gap of 10 min 0 s skipped"},
    {"hours", 3725, "Gap of 1 h 2 min 5 s skipped"},
    {"midnight", -86399, "Time went back 23 h 59 min 59 s"},
};

TEST(ReplayPace, NamesTheCrossedStep) {
  for (const TCrossedCase& test : kCrossedCases) {
    SCOPED_TRACE(test.Legend);
    EXPECT_EQ(CrossedText(test.Seconds), test.Text);
  }
}

struct TSpeedCase {
  const char* Legend;
  const char* Text;
  std::optional<double> Speed;
};

const TSpeedCase kSpeedCases[] = {
    {"a whole number", "10", 10},
    {"a fraction", "0.25", 0.25},
    {"with an x, as the menu shows it", "60x", 60},
    {"as fast as possible", "max", TReplayPace::kFastest},
    {"zero would never move", "0", std::nullopt},
    {"negative", "-2", std::nullopt},
    {"text behind the number", "2 times", std::nullopt},
    {"empty", "", std::nullopt},
    {"not a number", "nan", std::nullopt},
    {"beyond the quickest", "1e9", std::nullopt},
    {"upper case", "MAX", std::nullopt},
};

TEST(ReplayPace, ReadsTheSpeedAsGiven) {
  for (const TSpeedCase& test : kSpeedCases) {
    SCOPED_TRACE(test.Legend);
    EXPECT_EQ(ParseSpeed(test.Text), test.Speed);
  }
}

}  // namespace

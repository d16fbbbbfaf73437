// A replay on its own, playing into a state and history of the test's: the
// status bar names a gap in the recorded time only where the replay goes by
// that time; at the fixed interval the gap is just the next line.

#include <gtest/gtest.h>

#include "common/Routines.h"
#include "monitor/Replay.h"
#include "tests/support/SettingsHome.h"
#include "tests/support/TextFiles.h"

namespace {

std::string Gga(const std::string& time) {
  return FrameSentence("GPGGA," + time + ",6010.1234,N,02456.7890,E,1,08,0.9,25.0,M,18.3,M,,");
}

TEST(Replay, AGapIsNamedOnlyAtTheRecordedPace) {
  const struct {
    const char* Legend;
    TReplayPacing Pacing;
    std::optional<double> Crossed;  // before the second line
  } cases[] = {
      {"the fixed interval", {TReplayMode::FixedInterval, 1}, std::nullopt},
      {"the recorded pace, as fast as possible",
       {TReplayMode::RecordedPace, TReplayPace::kFastest},
       300},
  };
  TTempSettingsHome home;
  const std::string file = home.Path() + "/gap.TXT";
  ASSERT_TRUE(WriteAll(file, AsLog({Gga("120000"), Gga("120500")})));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    TReceiverState state;
    THistory epochs;
    TReplay replay(state, epochs);
    replay.SetPacing(c.Pacing);
    replay.Start(file, 0);
    const TReplay::TStep first = replay.Next();
    const TReplay::TStep second = replay.Next();
    EXPECT_EQ(first.Line, Gga("120000"));
    EXPECT_EQ(second.Line, Gga("120500"));
    EXPECT_EQ(second.Crossed, c.Crossed);
    EXPECT_TRUE(replay.Next().Ended);
  }
}

}  // namespace

// The start-up arguments with --speed beside them.

#include <gtest/gtest.h>

#include "app/StartCommand.h"

namespace {

TEST(StartCommand, SpeedBesideTheReplaySelectsTheRecordedPace) {
  const struct {
    const char* Legend;
    std::vector<std::string> Arguments;
    TStartAction Action;
    std::optional<double> Speed;
  } cases[] = {
      {"no --speed: the saved choice", {"R", "f"}, TStartAction::Replay, std::nullopt},
      {"after the file", {"R", "f", "--speed", "10"}, TStartAction::Replay, 10},
      {"before the operation", {"--speed", "0.5", "R", "f"}, TStartAction::Replay, 0.5},
      {"with an equals sign", {"R", "f", "--speed=max"}, TStartAction::Replay, 0},
      {"a speed that is no number", {"R", "f", "--speed", "fast"}, TStartAction::BadSpeed, {}},
      {"no value after it", {"R", "f", "--speed"}, TStartAction::BadSpeed, {}},
      {"zero", {"R", "f", "--speed=0"}, TStartAction::BadSpeed, {}},
      {"it does not count as a parameter", {"R", "--speed", "2"}, TStartAction::BadCount, 2},
      {"a file named like an option is still a file",
       {"R", "--speedy"},
       TStartAction::Replay,
       std::nullopt},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.Legend);
    const TStartCommand command = ParseStartCommand(test.Arguments);
    EXPECT_EQ(command.Action, test.Action);
    if (command.Action != TStartAction::BadSpeed) {
      EXPECT_EQ(command.Speed, test.Speed);
    }
  }
}

TEST(StartCommand, VersionAndHelpAloneAreAnsweredWithoutAWindow) {
  const struct {
    const char* Legend;
    std::vector<std::string> Arguments;
    std::string Starts;  // empty: the window opens
  } cases[] = {
      {"version", {"--version"}, "tolvane " TOLVANE_VERSION "\n"},
      {"help", {"--help"}, "Usage: tolvane "},
      {"beside a command: the window says what is wrong", {"--version", "R"}, ""},
      {"a command", {"R", "f"}, ""},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> info = CommandLineInfo(c.Arguments);
    EXPECT_EQ(info.value_or("").substr(0, c.Starts.size()), c.Starts) << c.Legend;
    EXPECT_EQ(info.has_value(), !c.Starts.empty()) << c.Legend;
  }
}

}  // namespace

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

struct TCase {
  const char* Legend;
  std::vector<std::string> Arguments;
  TStartAction Action;
  std::optional<int> PortIndex;
};

TEST(CommandLine, ArgumentsChooseTheStartAction) {
  const TCase cases[] = {
      {"no arguments: nothing", {}, TStartAction::None, {}},
      {"one argument", {"L3"}, TStartAction::BadCount, {}},
      {"three arguments", {"L3", "a.txt", "b"}, TStartAction::BadCount, {}},
      {"L3 opens COM3:", {"L3", "a.txt"}, TStartAction::Log, 2},
      {"L1 opens COM1:", {"L1", "a.txt"}, TStartAction::Log, 0},
      {"L8 opens COM8:", {"L8", "a.txt"}, TStartAction::Log, 7},
      {"bare L: no port", {"L", "a.txt"}, TStartAction::Log, std::nullopt},
      {"L0 selects none", {"L0", "a.txt"}, TStartAction::Log, -1},
      {"L9 is held at COM8:", {"L9", "a.txt"}, TStartAction::Log, 7},
      {"LX is held at COM8:", {"LX", "a.txt"}, TStartAction::Log, 7},
      {"L! is held at none", {"L!", "a.txt"}, TStartAction::Log, -1},
      {"8-bit digit is held at COM8:", {"L\xE9", "a.txt"}, TStartAction::Log, 7},
      {"only the second character counts", {"L2junk", "a.txt"}, TStartAction::Log, 1},
      {"lower-case l", {"l3", "a.txt"}, TStartAction::BadCommand, {}},
      {"R replays", {"R", "a.txt"}, TStartAction::Replay, {}},
      {"Replay is not R", {"Replay", "a.txt"}, TStartAction::BadCommand, {}},
      {"lower-case r", {"r", "a.txt"}, TStartAction::BadCommand, {}},
      {"empty operation", {"", "a.txt"}, TStartAction::BadCommand, {}},
  };
  for (const TCase& c : cases) {
    const TCommandLine parsed = ParseCommandLine(c.Arguments);
    EXPECT_EQ(parsed.Action, c.Action) << c.Legend;
    EXPECT_EQ(parsed.PortIndex, c.PortIndex) << c.Legend;
  }
}

TEST(CommandLine, FileNameIsTakenAsGiven) {
  EXPECT_EQ(ParseCommandLine({"L", "trip %DATE.TXT"}).FileName, "trip %DATE.TXT");
  EXPECT_EQ(ParseCommandLine({"R", ""}).FileName, "");
}

}  // namespace

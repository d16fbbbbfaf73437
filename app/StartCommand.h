#pragma once
// The two start-up arguments ("L" with an optional port digit, or "R", then a
// file name) turned into the one thing the main window does when first shown.
// "--speed X" beside them (X a number or "max") replays at the recorded pace,
// X times as fast, for this run.

#include <optional>
#include <string>
#include <vector>

enum class TStartAction {
  None,        // no arguments
  Log,         // start logging, after choosing a port when one is given
  Replay,      // start replaying
  BadCount,    // not exactly two arguments
  BadCommand,  // two arguments, but the first is neither "L..." nor "R"
  BadSpeed,    // --speed without a number or "max" after it
};

struct TStartCommand {
  TStartAction Action = TStartAction::None;
  // For Log: the port selection to make (-1 none, 0..7), absent for a bare "L".
  std::optional<int> PortIndex;
  std::string FileName;
  // For Replay: the speed given with --speed, which selects the recorded pace.
  std::optional<double> Speed;
};

extern const char* const kBadCountMessage;
extern const char* const kBadCommandMessage;
extern const char* const kBadSpeedMessage;

// `arguments` excludes the program name.
TStartCommand ParseStartCommand(std::vector<std::string> arguments);

// "--version" or "--help" alone: the text to print on standard output, and
// the program ends there, without a window or a display; nothing for any
// other command line.
std::optional<std::string> CommandLineInfo(const std::vector<std::string>& arguments);

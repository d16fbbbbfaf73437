#pragma once
// The two start-up arguments ("L" with an optional port digit, or "R", then a
// file name) turned into the one thing the main window does when first shown.

#include <optional>
#include <string>
#include <vector>

enum class TStartAction {
  None,        // no arguments
  Log,         // start logging, after choosing a port when one is given
  Replay,      // start replaying
  BadCount,    // not exactly two arguments
  BadCommand,  // two arguments, but the first is neither "L..." nor "R"
};

struct TStartCommand {
  TStartAction Action = TStartAction::None;
  // For Log: the port selection to make (-1 none, 0..7), absent for a bare "L".
  std::optional<int> PortIndex;
  std::string FileName;
};

extern const char* const kBadCountMessage;
extern const char* const kBadCommandMessage;

// `arguments` excludes the program name.
TStartCommand ParseStartCommand(const std::vector<std::string>& arguments);

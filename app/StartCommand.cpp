#include "app/StartCommand.h"

#include <algorithm>

#include "history/ReplayPace.h"

const char* const kBadCountMessage = "Two parameters required: Operation and filename";
const char* const kBadCommandMessage =
    "Invalid parameter. First parameter must be \"L\" for log or \"R\" for replay and second "
    "parameter is filename.";
const char* const kBadSpeedMessage =
    "Invalid speed. --speed must be followed by a number from 0.01 to 10000 or by \"max\".";

namespace {

// "L1".."L8" pick COM1: to COM8:; any higher character picks COM8: and any
// lower one picks none, so a typo never reaches past the port list.
int PortIndexOf(char digit) {
  const int index = static_cast<unsigned char>(digit) - '1';
  return std::clamp(index, -1, 7);
}

// Takes "--speed X" or "--speed=X" out of `arguments`; false for a speed
// that cannot be read or is missing.
bool TakeSpeed(std::vector<std::string>& arguments, std::optional<double>& speed) {
  constexpr std::string_view kOption = "--speed";
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (!argument.starts_with(kOption)) continue;
    std::optional<std::string> text;
    size_t taken = 1;
    if (argument == kOption && i + 1 < arguments.size()) {
      text = arguments[i + 1];
      taken = 2;
    } else if (argument.starts_with("--speed=")) {
      text = std::string(argument.substr(kOption.size() + 1));
    } else if (argument != kOption) {
      continue;
    }
    speed = text ? ParseSpeed(*text) : std::nullopt;
    arguments.erase(arguments.begin() + std::ptrdiff_t(i),
                    arguments.begin() + std::ptrdiff_t(i + taken));
    return speed.has_value();
  }
  return true;
}

}  // namespace

TStartCommand ParseStartCommand(std::vector<std::string> arguments) {
  TStartCommand result;
  if (!TakeSpeed(arguments, result.Speed)) {
    result.Action = TStartAction::BadSpeed;
    return result;
  }
  if (arguments.empty()) return result;
  if (arguments.size() != 2) {
    result.Action = TStartAction::BadCount;
    return result;
  }
  const std::string& operation = arguments[0];
  result.FileName = arguments[1];
  if (!operation.empty() && operation[0] == 'L') {
    result.Action = TStartAction::Log;
    if (operation.size() > 1) result.PortIndex = PortIndexOf(operation[1]);
  } else if (operation == "R") {
    result.Action = TStartAction::Replay;
  } else {
    result.Action = TStartAction::BadCommand;
  }
  return result;
}

std::optional<std::string> CommandLineInfo(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return std::nullopt;
  if (arguments[0] == "--version") return std::string("tolvane ") + TOLVANE_VERSION + "\n";
  if (arguments[0] != "--help") return std::nullopt;
  return "Usage: tolvane [L[n] FILE | R FILE [--speed X]]\n"
         "A monitor for GPS receivers that speak NMEA 0183.\n"
         "\n"
         "  L FILE        log to FILE from the port chosen last\n"
         "  Ln FILE       choose COMn: (1 to 8), then log to FILE\n"
         "  R FILE        replay FILE at the saved pace\n"
         "  --speed X     replay at the recorded pace, X times as fast (or max)\n"
         "  --version     print the version and end\n"
         "  --help        print this text and end\n";
}

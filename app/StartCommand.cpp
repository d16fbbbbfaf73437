#include "app/StartCommand.h"

#include <algorithm>

const char* const kBadCountMessage = "Two parameters required: Operation and filename";
const char* const kBadCommandMessage =
    "Invalid parameter. First parameter must be \"L\" for log or \"R\" for replay and second "
    "parameter is filename.";

namespace {

// "L1".."L8" pick COM1: to COM8:; any higher character picks COM8: and any
// lower one picks none, so a typo never reaches past the port list.
int PortIndexOf(char digit) {
  const int index = static_cast<unsigned char>(digit) - '1';
  return std::clamp(index, -1, 7);
}

}  // namespace

TStartCommand ParseStartCommand(const std::vector<std::string>& arguments) {
  TStartCommand result;
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

// Where a COM slot leads and at what speed. The settings object reads the
// store; these rules turn what it read into a path and a rate.

#include <charconv>
#include <cstdlib>

#include "source/PortSlot.h"

namespace {

#ifndef _WIN32
const char* const kDefaultPaths[kPortCount] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1",
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
};
#endif

// Spaces in front and a '+' are taken; anything after the digits is not.
bool ParseWholeNumber(std::string_view text, int32_t& number) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  if (text[start] == '+') ++start;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + start, end, number);
  return error == std::errc() && stop == end;
}

}  // namespace

std::string SlotEnvironmentPath(int index) {
  if (index < 0 || index >= kPortCount) return {};
  const char* path = std::getenv(("TOLVANE_COM" + std::to_string(index + 1)).c_str());
  return path ? path : "";
}

std::string SlotDevicePath(int index, const std::string& stored) {
  if (index < 0 || index >= kPortCount) return {};
  std::string fromEnvironment = SlotEnvironmentPath(index);
  if (!fromEnvironment.empty()) return fromEnvironment;
  if (!stored.empty()) return stored;
#ifdef _WIN32
  return "COM" + std::to_string(index + 1);
#else
  return kDefaultPaths[index];
#endif
}

// A number outside the usual list is passed on as it stands: some receivers
// run at odd rates.
int32_t BaudRateFromText(std::string_view text) {
  if (text == kAutoBaudRate) return kAutoRate;
  int32_t rate = 0;
  if (ParseWholeNumber(text, rate)) return rate;
  ParseWholeNumber(kDefaultBaudRate, rate);
  return rate;
}

std::optional<int32_t> SlotBaudRateFromText(std::string_view text) {
  if (text == kAutoBaudRate) return kAutoRate;
  int32_t rate = 0;
  if (ParseWholeNumber(text, rate) && rate > 0) return rate;
  return std::nullopt;
}

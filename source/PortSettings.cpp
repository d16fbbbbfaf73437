// Where a COM slot leads and at what speed, from the environment and the
// settings store.

#include <charconv>
#include <cstdlib>

#include "common/Settings.h"
#include "source/Serial.h"

namespace {

#ifndef _WIN32
const char* const kDefaultPaths[kPortCount] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1",
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
};
#endif

}  // namespace

std::string PortDevicePath(int index) {
  if (index < 0 || index >= kPortCount) return {};
  const std::string slot = "COM" + std::to_string(index + 1);
  const char* fromEnvironment = std::getenv(("TOLVANE_" + slot).c_str());
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
  std::string fromSettings = ReadSettingStr("Ports", slot, "");
  if (!fromSettings.empty()) return fromSettings;
#ifdef _WIN32
  return slot;
#else
  return kDefaultPaths[index];
#endif
}

// A number outside the usual list is passed on as it stands: some receivers
// run at odd rates.
int32_t StoredBaudRate() {
  const auto parse = [](std::string_view text, int32_t& rate) {
    size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return false;
    if (text[start] == '+') ++start;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + start, end, rate);
    return error == std::errc() && stop == end;
  };
  int32_t rate = 0;
  if (parse(ReadSettingStr(kOptionsSection, kBaudRateName, ""), rate)) return rate;
  parse(kDefaultBaudRate, rate);
  return rate;
}

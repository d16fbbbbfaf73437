// Where a COM slot leads and at what speed. The settings object reads the
// store; these rules turn what it read into a path and a rate.

#include <algorithm>
#include <cstdlib>

#include "common/Routines.h"
#include "source/PortSlot.h"

namespace {

#ifndef _WIN32
const char* const kDefaultPaths[kPortCount] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1",
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
};
#endif

// Spaces in front and a '+' are taken; anything after the digits is not.
std::optional<int32_t> StoredWhole(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.starts_with('+')) text.remove_prefix(1);
  return ParseWhole<int32_t>(text);
}

}  // namespace

std::string SlotName(int index) {
  return "COM" + std::to_string(index + 1);
}

std::string SlotEnvironmentPath(int index) {
  if (index < 0 || index >= kPortCount) return {};
  const char* path = std::getenv(("TOLVANE_" + SlotName(index)).c_str());
  return path ? path : "";
}

std::string SlotDevicePath(int index, const std::string& stored) {
  if (index < 0 || index >= kPortCount) return {};
  std::string fromEnvironment = SlotEnvironmentPath(index);
  if (!fromEnvironment.empty()) return fromEnvironment;
  if (!stored.empty()) return stored;
#ifdef _WIN32
  return SlotName(index);  // Windows names its ports as we name the slots
#else
  return kDefaultPaths[index];
#endif
}

// A number outside the usual list is passed on as it stands: some receivers
// run at odd rates.
int32_t BaudRateFromText(std::string_view text) {
  if (text == kAutoBaudRate) return kAutoRate;
  if (const std::optional<int32_t> rate = StoredWhole(text)) return *rate;
  return StoredWhole(kDefaultBaudRate).value_or(0);
}

std::optional<int32_t> SlotBaudRateFromText(std::string_view text) {
  if (text == kAutoBaudRate) return kAutoRate;
  const std::optional<int32_t> rate = StoredWhole(text);
  if (rate && *rate > 0) return rate;
  return std::nullopt;
}

#include "app/AppSettings.h"

#include <charconv>
#include <cstdlib>
#include <limits>

#include "common/Settings.h"
#include "format/FieldFormatSettings.h"
#include "source/Serial.h"

namespace {

constexpr const char* kWindowsSection = "Windows";
constexpr int32_t kMissing = std::numeric_limits<int32_t>::min();

#ifndef _WIN32
const char* const kDefaultPaths[kPortCount] = {
    "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM1",
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",
};
#endif

// Spaces in front and a '+' are taken; anything after the digits is not.
std::optional<int32_t> WholeNumber(std::string_view text) {
  std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  if (text[start] == '+') ++start;
  int32_t number = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data() + start, end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

int32_t WindowValue(std::string_view window, const char* what) {
  return ReadSettingInt(kWindowsSection, std::string(window) + what, kMissing);
}

}  // namespace

TFieldFormats TAppSettings::FieldFormats(const TLocaleFormats& locale) const {
  return StoredFieldFormats(locale);
}

void TAppSettings::StoreFieldFormats(const TFieldFormats& formats) {
  ::StoreFieldFormats(formats);
}

TGeneralOptions TAppSettings::GeneralOptions() const {
  return StoredGeneralOptions();
}

void TAppSettings::StoreGeneralOptions(const TGeneralOptions& options) {
  ::StoreGeneralOptions(options);
}

int TAppSettings::ReplaySpeed() const {
  return StoredReplaySpeed();
}

void TAppSettings::StoreReplaySpeed(int milliseconds) {
  ::StoreReplaySpeed(milliseconds);
}

int32_t TAppSettings::BaudRate() const {
  const std::optional<int32_t> stored =
      WholeNumber(ReadSettingStr(kOptionsSection, kBaudRateName, ""));
  return stored ? *stored : *WholeNumber(kDefaultBaudRate);
}

std::string TAppSettings::PortDevicePath(int index) const {
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

TWindowPlace TAppSettings::WindowPlace(std::string_view window) const {
  TWindowPlace place;
  const int32_t left = WindowValue(window, "Left");
  const int32_t top = WindowValue(window, "Top");
  const int32_t width = WindowValue(window, "Width");
  const int32_t height = WindowValue(window, "Height");
  if (left != kMissing && top != kMissing) place.Position = QPoint(left, top);
  if (width > 0 && height > 0) place.Size = QSize(width, height);
  return place;
}

void TAppSettings::StoreWindowPlace(std::string_view window, QPoint position, QSize size) {
  const std::string name(window);
  WriteSettingInt(kWindowsSection, name + "Left", position.x());
  WriteSettingInt(kWindowsSection, name + "Top", position.y());
  WriteSettingInt(kWindowsSection, name + "Width", size.width());
  WriteSettingInt(kWindowsSection, name + "Height", size.height());
}

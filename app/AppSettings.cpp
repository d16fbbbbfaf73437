#include "app/AppSettings.h"

#include <limits>

#include "common/Settings.h"
#include "format/FieldFormatSettings.h"
#include "source/Serial.h"

namespace {

constexpr const char* kWindowsSection = "Windows";
constexpr int32_t kMissing = std::numeric_limits<int32_t>::min();

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
  return BaudRateFromText(ReadSettingStr(kOptionsSection, kBaudRateName, ""));
}

std::string TAppSettings::PortDevicePath(int index) const {
  if (index < 0 || index >= kPortCount) return {};
  return SlotDevicePath(index, ReadSettingStr("Ports", "COM" + std::to_string(index + 1), ""));
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

TFilesPlace TAppSettings::FilesPlace() const {
  return {ReadSettingStr(kWindowsSection, "FilesFolder", ""),
          ReadSettingStr(kWindowsSection, "FilesFilter", "")};
}

void TAppSettings::StoreFilesPlace(const TFilesPlace& place) {
  WriteSettingStr(kWindowsSection, "FilesFolder", place.Folder);
  WriteSettingStr(kWindowsSection, "FilesFilter", place.Filter);
}

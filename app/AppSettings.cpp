#include "app/AppSettings.h"

#include <limits>

#include "common/Settings.h"
#include "format/FieldFormatSettings.h"
#include "source/PortSlot.h"

namespace {

constexpr const char* kWindowsSection = "Windows";
constexpr const char* kPortsSection = "Ports";
constexpr int32_t kMissing = std::numeric_limits<int32_t>::min();

std::string StoredSlotText(int index, const char* what = "") {
  return ReadSettingStr(kPortsSection, SlotName(index) + what, "");
}

// Only what changed is written: a slot left alone adds nothing to the file.
void StoreSlotText(int index, const char* what, const std::string& text) {
  if (StoredSlotText(index, what) != text)
    WriteSettingStr(kPortsSection, SlotName(index) + what, text);
}

// The slot's own baud rate, when it has one.
std::optional<int32_t> OwnBaudRate(int index) {
  return SlotBaudRateFromText(StoredSlotText(index, "BaudRate"));
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

TReplayPacing TAppSettings::ReplayPacing() const {
  return StoredReplayPacing();
}

void TAppSettings::StoreReplayPacing(const TReplayPacing& pacing) {
  ::StoreReplayPacing(pacing);
}

int32_t TAppSettings::BaudRate() const {
  return BaudRateFromText(ReadSettingStr(kOptionsSection, kBaudRateName, ""));
}

int32_t TAppSettings::BaudRate(int index) const {
  if (index < 0 || index >= kPortCount) return BaudRate();
  return OwnBaudRate(index).value_or(BaudRate());
}

std::string TAppSettings::PortDevicePath(int index) const {
  if (index < 0 || index >= kPortCount) return {};
  return SlotDevicePath(index, StoredSlotText(index));
}

std::string TAppSettings::PortToolTip(int index) const {
  std::string path = PortDevicePath(index);
  const std::optional<int32_t> own = OwnBaudRate(index);
  if (!own || path.empty()) return path;
  if (*own == kAutoRate) return path + ", baud rate found by listening";
  return path + " at " + std::to_string(*own) + " baud";
}

int32_t TAppSettings::FoundBaudRate(int index) const {
  return SlotBaudRateFromText(StoredSlotText(index, "FoundBaudRate")).value_or(0);
}

void TAppSettings::StoreFoundBaudRate(int index, int32_t rate) {
  if (index < 0 || index >= kPortCount) return;
  StoreSlotText(index, "FoundBaudRate", std::to_string(rate));
}

TPortChoices TAppSettings::PortChoices() const {
  TPortChoices ports;
  for (int index = 0; index < kPortCount; ++index) {
    TPortChoice& port = ports[index];
    port.Device = StoredSlotText(index);
    port.BaudRate = StoredSlotText(index, "BaudRate");
    port.Environment = SlotEnvironmentPath(index);
    if (port.Environment.empty()) port.DefaultPath = SlotDevicePath(index, {});
  }
  return ports;
}

void TAppSettings::StorePortChoices(const TPortChoices& ports) {
  for (int index = 0; index < kPortCount; ++index) {
    StoreSlotText(index, "", ports[index].Device);
    StoreSlotText(index, "BaudRate", ports[index].BaudRate);
  }
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

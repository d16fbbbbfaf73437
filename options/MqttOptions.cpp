#include "options/MqttOptions.h"

#include <filesystem>
#include <system_error>

#include "common/Settings.h"

TMqttSettings StoredMqttSettings() {
  TMqttSettings settings;
  settings.Enabled = ReadSettingBool(kMqttSection, "Enabled", false);
  settings.Url = ReadSettingStr(kMqttSection, "Url", "");
  settings.User = ReadSettingStr(kMqttSection, "User", "");
  settings.RememberPassword = ReadSettingBool(kMqttSection, "RememberPassword", false);
  if (settings.RememberPassword) settings.Password = ReadSettingStr(kMqttSection, "Password", "");
  settings.ClientId = ReadSettingStr(kMqttSection, "ClientId", "");
  return settings;
}

void StoreMqttSettings(const TMqttSettings& settings) {
  WriteSettingBool(kMqttSection, "Enabled", settings.Enabled);
  WriteSettingStr(kMqttSection, "Url", settings.Url);
  WriteSettingStr(kMqttSection, "User", settings.User);
  WriteSettingBool(kMqttSection, "RememberPassword", settings.RememberPassword);
  WriteSettingStr(kMqttSection, "Password", settings.RememberPassword ? settings.Password : "");
  WriteSettingStr(kMqttSection, "ClientId", settings.ClientId);
#ifndef _WIN32
  // The file is replaced whole at every write, keeping its permissions.
  if (!settings.RememberPassword || settings.Password.empty()) return;
  std::error_code error;
  std::filesystem::permissions(
      SettingsLocation(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
      error);
  if (error) throw ESettingsError("Failed to set data for 'Password'\n" + error.message());
#endif
}

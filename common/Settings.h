#pragma once
// The per-user settings store: a read and a write for each of three value
// types, addressed by section and value name. Reads never throw and fall back
// to the caller's default; a failed write throws ESettingsError with the text
// "Failed to set data for '<name>'" and, on a second line, the reason.
// Nothing is cached.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// The section of the program's options, the replay rate and the field formats.
inline constexpr const char* kOptionsSection = "Options";

class ESettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Said once at start when the store will be neither read nor written (a
// settings file beyond the size limit); empty when all is well.
std::string SettingsNotice();

int32_t ReadSettingInt(std::string_view section, std::string_view name, int32_t defaultValue);
void WriteSettingInt(std::string_view section, std::string_view name, int32_t value);
bool ReadSettingBool(std::string_view section, std::string_view name, bool defaultValue);
void WriteSettingBool(std::string_view section, std::string_view name, bool value);
std::string ReadSettingStr(std::string_view section, std::string_view name,
                           std::string_view defaultValue);
void WriteSettingStr(std::string_view section, std::string_view name, std::string_view value);

// Where the store lives, for people to read: the settings file's path, or
// the registry key on Windows.
std::string SettingsLocation();

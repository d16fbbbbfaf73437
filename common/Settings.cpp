#include "common/Settings.h"

#include <bit>
#include <exception>
#include <optional>

#include "common/SettingsStore.h"

namespace {

// Reads never fail: whatever goes wrong below, the caller gets its default.
std::optional<TStoredValue> Load(std::string_view section, std::string_view name) {
  try {
    return LoadStoredValue(section, name);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void Store(std::string_view section, std::string_view name, const TStoredValue& value) {
  std::string whyNot;
  bool saved = false;
  try {
    saved = SaveStoredValue(section, name, value, whyNot);
  } catch (const std::exception& error) {
    whyNot = error.what();
  }
  if (saved) return;
  std::string text = "Failed to set data for '" + std::string(name) + "'";
  if (!whyNot.empty()) text += "\n" + whyNot;
  throw ESettingsError(text);
}

std::optional<uint32_t> LoadDword(std::string_view section, std::string_view name) {
  const std::optional<TStoredValue> value = Load(section, name);
  if (!value || !std::holds_alternative<uint32_t>(*value)) return std::nullopt;
  return std::get<uint32_t>(*value);
}

}  // namespace

std::string SettingsNotice() {
  try {
    return StoreNotice();
  } catch (const std::exception&) {
    return {};
  }
}

int32_t ReadSettingInt(std::string_view section, std::string_view name, int32_t defaultValue) {
  const std::optional<uint32_t> dword = LoadDword(section, name);
  return dword ? std::bit_cast<int32_t>(*dword) : defaultValue;
}

void WriteSettingInt(std::string_view section, std::string_view name, int32_t value) {
  Store(section, name, std::bit_cast<uint32_t>(value));
}

bool ReadSettingBool(std::string_view section, std::string_view name, bool defaultValue) {
  const std::optional<uint32_t> dword = LoadDword(section, name);
  return dword ? *dword != 0 : defaultValue;
}

void WriteSettingBool(std::string_view section, std::string_view name, bool value) {
  Store(section, name, uint32_t{value ? 1u : 0u});
}

// An empty stored text reads as the default, as the registry store always did,
// so an empty text can never hide a non-empty default.
std::string ReadSettingStr(std::string_view section, std::string_view name,
                           std::string_view defaultValue) {
  const std::optional<TStoredValue> value = Load(section, name);
  const std::string* text = value ? std::get_if<std::string>(&*value) : nullptr;
  return text && !text->empty() ? *text : std::string(defaultValue);
}

void WriteSettingStr(std::string_view section, std::string_view name, std::string_view value) {
  Store(section, name, std::string(value));
}

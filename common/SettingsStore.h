#pragma once
// Where the settings live on this platform: the registry on Windows, the
// settings file elsewhere. One stored value is read or written per call;
// nothing is kept between calls.

#include <optional>
#include <string>
#include <string_view>

#include "common/SettingsFile.h"

// The value as stored now; nothing when it, its section or the store is
// missing or cannot be read.
std::optional<TStoredValue> LoadStoredValue(std::string_view section, std::string_view name);

// Stores the value with its type. False when that failed: whyNot then says
// why in one line, and the store is as it was before the call.
bool SaveStoredValue(std::string_view section, std::string_view name, const TStoredValue& value,
                     std::string& whyNot);

// What the user must be told at start about a store the program will neither
// read nor write; empty when it can be used.
std::string StoreNotice();

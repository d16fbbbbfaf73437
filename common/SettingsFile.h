#pragma once
// The text of the settings file: a registry export, one
// [HKEY_CURRENT_USER\SOFTWARE\Tolvane\<section>] header per section and one
// "Name"=data entry per value. The text is read and edited as raw 8-bit bytes;
// an edit replaces or adds exactly one entry and keeps every other byte, so
// comments, odd spacing and lines we cannot read survive a write.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A stored value with its type: a dword (integers and booleans) or a text.
using TStoredValue = std::variant<uint32_t, std::string>;

// The registry key that holds a section, as its header names it.
std::string SectionKey(std::string_view section);

// The value `name` of `section` as the last entry naming it says, like an
// import of the file would leave it. Nothing when there is no such entry or
// its data cannot be read. Names match case-insensitively; "" is the default
// value "@".
std::optional<TStoredValue> FindStoredValue(std::string_view text, std::string_view section,
                                            std::string_view name);

// `text` with the value set: the entry that FindStoredValue would read is
// replaced in place, else the entry is added at the end of the section, else a
// new section is appended. Nothing when the section or name cannot be written
// into the file (a line break or zero byte in it).
std::optional<std::string> WithStoredValue(std::string_view text, std::string_view section,
                                           std::string_view name, const TStoredValue& value);

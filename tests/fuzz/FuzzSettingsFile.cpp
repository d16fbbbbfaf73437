// libFuzzer target: any bytes as the text of the settings file Tolvane.reg,
// read and edited as the store does it (the disk around it, with its lock and
// atomic replace, is the settings tests' business and far too slow to fuzz).
// Every read ends and gives a value or nothing; a write then reads back as
// written, leaves every other value as it read before, and keeps every line
// of the file that is not the entry it replaces.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/SettingsFile.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

struct TProbe {
  const char* Section;
  const char* Name;
};

// The values the program reads, and the default value "@".
constexpr TProbe kProbes[] = {
    {"Options", "BaudRate"}, {"Options", "IgnoreGGA"}, {"Options", "ReplaySpeed"},
    {"Ports", "COM1"},       {"Ports", "COM8"},        {"Options", ""},
};

std::vector<std::optional<TStoredValue>> Readings(std::string_view text) {
  std::vector<std::optional<TStoredValue>> readings;
  for (const TProbe& probe : kProbes)
    readings.push_back(FindStoredValue(text, probe.Section, probe.Name));
  return readings;
}

// Without their line breaks, cut as the store cuts them (a CR before the LF
// or at the very end belongs to the break): a write may end the last line.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

char Lower(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
}

bool MentionsNoCase(std::string_view line, std::string_view name) {
  for (size_t at = 0; at + name.size() <= line.size(); ++at) {
    size_t k = 0;
    while (k < name.size() && Lower(line[at + k]) == Lower(name[k])) ++k;
    if (k == name.size()) return true;
  }
  return false;
}

// The entry's own line names it (the default value is "@" or ""), and hex
// data goes on in indented lines: a write may change only those.
bool MayBeOwned(std::string_view line, std::string_view name) {
  if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) return true;
  if (name.empty()) return MentionsNoCase(line, "@") || MentionsNoCase(line, "\"\"");
  return MentionsNoCase(line, name);
}

void CheckKeptLines(std::string_view before, std::string_view after, std::string_view name) {
  const std::vector<std::string_view> now = Lines(after);
  size_t at = 0;
  for (const std::string_view line : Lines(before)) {
    if (MayBeOwned(line, name)) continue;
    while (at < now.size() && now[at] != line) ++at;
    Check(at < now.size());
    ++at;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view before(reinterpret_cast<const char*>(data), size);
  const std::vector<std::optional<TStoredValue>> readings = Readings(before);

  // The input's size picks the value written and whether it is a number.
  const size_t chosen = size % std::size(kProbes);
  const TProbe& target = kProbes[chosen];
  const std::string digits = std::to_string(size);
  const TStoredValue value = size % 2 == 0
                                 ? TStoredValue(static_cast<uint32_t>(size) * 2654435761u)
                                 : TStoredValue("v\\\"" + digits + (size % 3 == 0 ? "\r\n" : ""));
  const std::optional<std::string> after =
      WithStoredValue(before, target.Section, target.Name, value);
  Check(after.has_value());

  std::vector<std::optional<TStoredValue>> now = Readings(*after);
  Check(now[chosen] == value);
  now[chosen] = readings[chosen];
  Check(now == readings);
  CheckKeptLines(before, *after, target.Name);
  return 0;
}

#include "history/Epoch.h"

#include <charconv>

#include "common/Routines.h"
#include "nmea/SkyLine.h"

std::optional<double> TimeOfDaySeconds(std::string_view field) {
  if (field.size() < 6) return std::nullopt;
  int parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    const char high = field[2 * i];
    const char low = field[2 * i + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
    parts[i] = (high - '0') * 10 + (low - '0');
  }
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 60) return std::nullopt;
  double fraction = 0;
  const std::string_view rest = field.substr(6);
  if (!rest.empty()) {
    if (rest[0] != '.') return std::nullopt;
    for (size_t i = 1; i < rest.size(); ++i)
      if (rest[i] < '0' || rest[i] > '9') return std::nullopt;
    if (rest.size() > 1) {
      const std::string digits = "0" + std::string(rest);
      std::from_chars(digits.data(), digits.data() + digits.size(), fraction);
    }
  }
  return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2] + fraction;
}

int32_t RmcDate(std::string_view sentence) {
  nmea::TSkyLine fields(sentence);
  fields.Skip(8);
  const std::string_view date = fields.Take();
  const std::optional<uint32_t> value =
      date.size() == 6 ? ParseWhole<uint32_t>(date) : std::nullopt;
  return value ? static_cast<int32_t>(*value) : -1;
}

std::array<std::optional<double>, kSkySystemCount> EpochCn0(const TEpoch& epoch) {
  std::array<int64_t, kSkySystemCount> sums{};
  std::array<int64_t, kSkySystemCount> counts{};
  for (const TEpochSignal& signal : epoch.Signals) {
    if (!signal.HasSNR()) continue;
    const auto system = static_cast<size_t>(signal.System);
    sums[system] += signal.SNR;
    ++counts[system];
  }
  std::array<std::optional<double>, kSkySystemCount> means;
  for (size_t system = 0; system < means.size(); ++system) {
    // Tenths in whole numbers: the sums are exact, so the half is too.
    if (counts[system] == 0) continue;
    const int64_t tenths = (sums[system] * 20 + counts[system]) / (2 * counts[system]);
    means[system] = static_cast<double>(tenths) / 10;
  }
  return means;
}

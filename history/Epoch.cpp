#include "history/Epoch.h"

#include "common/Routines.h"
#include "nmea/SkyLine.h"

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

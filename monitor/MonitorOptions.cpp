#include "monitor/MonitorOptions.h"

#include <algorithm>

#include "common/Settings.h"
#include "history/ReplayPace.h"

namespace {

std::string ReadText(const TTextOption& option) {
  return ReadSettingStr(kOptionsSection, option.Name, option.Default);
}

void WriteText(const TTextOption& option, const TMonitorOptions& options) {
  WriteSettingStr(kOptionsSection, option.Name, options.*option.Member);
}

}  // namespace

TMonitorOptions LoadMonitorOptions() {
  TMonitorOptions options;
  for (const TBoolOption& option : kBoolOptions)
    options.*option.Member = ReadSettingBool(kOptionsSection, option.Name, option.Default);
  const int format = ReadSettingInt(kOptionsSection, kTimestampFormatName, kRelativeTimestamp);
  options.TimestampFormat = format < 0 ? kNoTimestampFormat : std::min(format, kLocalPCTime);
  options.PPSCommand = ReadText(kPPSCommandOption);
  return options;
}

// In the order the dialog shows them, so that the first value that cannot be
// written is the one named.
void SaveMonitorOptions(const TMonitorOptions& options) {
  for (const TBoolOption& option : kBoolOptions)
    WriteSettingBool(kOptionsSection, option.Name, options.*option.Member);
  WriteSettingInt(kOptionsSection, kTimestampFormatName, options.TimestampFormat);
  WriteText(kPPSCommandOption, options);
}

// A rate written by hand outside the bounds is used as the nearest bound.
int StoredReplaySpeed() {
  const int stored = ReadSettingInt(kOptionsSection, kReplaySpeedName, kDefaultReplaySpeed);
  return std::clamp(stored, kMinimumReplaySpeed, kMaximumReplaySpeed);
}

void StoreReplaySpeed(int milliseconds) {
  WriteSettingInt(kOptionsSection, kReplaySpeedName, milliseconds);
}

TReplayPacing StoredReplayPacing() {
  TReplayPacing pacing;
  if (ReadSettingInt(kOptionsSection, kReplayModeName, 0) == 1)
    pacing.Mode = TReplayMode::RecordedPace;
  pacing.Speed = ParseSpeed(ReadSettingStr(kOptionsSection, kReplayFactorName, "1")).value_or(1);
  return pacing;
}

void StoreReplayPacing(const TReplayPacing& pacing) {
  WriteSettingInt(kOptionsSection, kReplayModeName, static_cast<int>(pacing.Mode));
  WriteSettingStr(kOptionsSection, kReplayFactorName, SpeedText(pacing.Speed));
}

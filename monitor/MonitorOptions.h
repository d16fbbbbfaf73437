#pragma once
// What the receive loop is told by the General options and Set replay rate
// dialogs, as plain values: the main window hands a new copy to the monitor on
// every change of a control, so a change acts at the next tick. Each settings
// group is one table of {name, default} entries that loading, filling a
// dialog and saving all go through, so a value name is written once.

#include <array>
#include <string>

#include "common/Settings.h"

// The "Record timestamp as..." choices; kNoTimestampFormat is neither.
constexpr int kRelativeTimestamp = 0;
constexpr int kLocalPCTime = 1;
constexpr int kNoTimestampFormat = -1;

struct TMonitorOptions {
  bool IgnoreInvalid = false;
  bool IgnoreGGA = false;
  bool IgnoreRMC = false;
  bool IgnoreGSV = false;
  bool IgnoreGSA = false;
  // UBX and RTCM 3 frames, shown and logged as one summary line each.
  bool ShowBinaryFrames = true;
  bool RecordTimestamps = false;
  int TimestampFormat = kRelativeTimestamp;
  std::string PPSCommand;

  bool operator==(const TMonitorOptions&) const = default;
};

struct TBoolOption {
  const char* Name;  // the value's name in the store and the check box's name
  bool TMonitorOptions::*Member;
  bool Default;
};

inline constexpr std::array<TBoolOption, 7> kBoolOptions{{
    {"IgnoreInvalid", &TMonitorOptions::IgnoreInvalid, false},
    {"IgnoreGGA", &TMonitorOptions::IgnoreGGA, false},
    {"IgnoreRMC", &TMonitorOptions::IgnoreRMC, false},
    {"IgnoreGSV", &TMonitorOptions::IgnoreGSV, false},
    {"IgnoreGSA", &TMonitorOptions::IgnoreGSA, false},
    {"ShowBinaryFrames", &TMonitorOptions::ShowBinaryFrames, true},
    {"RecordTimestamps", &TMonitorOptions::RecordTimestamps, false},
}};

struct TTextOption {
  const char* Name;
  std::string TMonitorOptions::*Member;
  const char* Default;
};

inline constexpr TTextOption kPPSCommandOption{"PPSCommand", &TMonitorOptions::PPSCommand, ""};

inline constexpr const char* kTimestampFormatName = "TimestampFormat";

// The replay rate: milliseconds between two replayed lines.
inline constexpr const char* kReplaySpeedName = "ReplaySpeed";
inline constexpr int kDefaultReplaySpeed = 500;
inline constexpr int kMinimumReplaySpeed = 10;
inline constexpr int kMaximumReplaySpeed = 5000;

// How a replay is paced: a fixed interval per line (the replay rate), or
// the recorded time divided by a speed (TReplayPace::kFastest: as fast as
// possible).
enum class TReplayMode { FixedInterval = 0, RecordedPace = 1 };

struct TReplayPacing {
  TReplayMode Mode = TReplayMode::FixedInterval;
  double Speed = 1;

  bool operator==(const TReplayPacing&) const = default;
};

inline constexpr const char* kReplayModeName = "ReplayMode";
inline constexpr const char* kReplayFactorName = "ReplayFactor";

// Reads every option from the store (for the owner of the application's
// settings); what cannot be read is its default. A
// stored timestamp form above the last item selects the last, below 0 none.
TMonitorOptions LoadMonitorOptions();
// Writes every option; throws the store's error when a write fails.
void SaveMonitorOptions(const TMonitorOptions& options);

// The stored replay rate, brought to the nearest bound of 10 to 5000.
int StoredReplaySpeed();
// Throws the store's error when the write fails.
void StoreReplaySpeed(int milliseconds);
// The stored choice of pace; a mode or speed that cannot be read is the
// fixed interval or 1x.
TReplayPacing StoredReplayPacing();
// Throws the store's error when a write fails.
void StoreReplayPacing(const TReplayPacing& pacing);

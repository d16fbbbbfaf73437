#pragma once
// A hint of jamming or interference from NMEA alone: every satellite-signal
// has its own C/N0 baseline, and an epoch is suspect when the signals of the
// bands that can tell have all dropped well below theirs.
//
// - Bands by frequency, the same for every system: L1 (GPS L1, GLONASS G1,
//   Galileo E1, BeiDou B1, QZSS L1, SBAS, and any GSV without a signal ID),
//   L2 (L2, G2, B3), L5 (L5, E5a, E5b, B2). E6, L6 and NavIC are left out.
// - A signal's baseline is the median of its C/N0 over the last 300 epochs
//   that had a fix (GGA quality 1 or more) and no alarm.
// - A band's drop is the median, over its signals at 20 degrees of
//   elevation or more with an SNR now and a baseline of 60 epochs or more,
//   of baseline minus now.
// - An epoch is suspect when at least one band has 4 or more such signals
//   and every band that has 4 or more dropped by 6 dB or more. The third
//   suspect epoch in a row raises the alarm; it stays until an epoch in which
//   at least one band has 4 or more such signals and none of them is more
//   than 3 dB below its baseline.

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "history/Epoch.h"

class TInterferenceWatch {
 public:
  static constexpr int kBaselineEpochs = 300;
  static constexpr int kMinimumBaseline = 60;
  static constexpr int kMinimumElevation = 20;
  static constexpr int kMinimumSignals = 4;
  static constexpr double kSuspectDrop = 6;
  static constexpr double kClearDrop = 3;
  static constexpr int kSuspectRun = 3;

  // One completed epoch: its signals and whether it had a fix. Returns
  // whether interference is suspected at its end.
  bool Take(const std::vector<TEpochSignal>& sky, bool hasFix);
  bool Suspected() const { return Alarm; }
  void Clear();

 private:
  struct TBaseline {
    // C/N0 values with the number of the qualifying epoch they came from.
    std::vector<std::pair<uint64_t, uint8_t>> Values;
    size_t Head = 0;  // values before it have aged out
  };

  void Forget(TBaseline& baseline) const;
  std::optional<double> Median(TBaseline& baseline);
  void Learn(const std::vector<TEpochSignal>& sky);

  std::unordered_map<uint32_t, TBaseline> Baselines;
  uint64_t Qualifying = 0;  // epochs with a fix and no alarm so far
  int SuspectRun = 0;
  bool Alarm = false;
  std::vector<uint8_t> Scratch;
};

// The band a signal counts in for the watch; none for E6, L6 and NavIC.
std::optional<TSkyBand> InterferenceBand(TSkySystem system, int signal);

#pragma once
// The status bar's texts, worked out from the monitor: where lines come from,
// how fast they come, how many failed their checksum and how long ago the
// last one came. A port that has said nothing for 3 s or more is a warning.
// Once no source is active, only the counts of the last one stay: a rate or
// an age that no longer changes would tell of a source that is gone.

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/Monitor.h"
#include "nmea/UbxMonRf.h"

struct TStatusTexts {
  std::string Source;        // "COM3: /dev/ttyACM0 at 9600 baud", "Replay: trip.TXT, 42 %"
  std::string Rate;          // "12.0 lines/s"; empty without a source
  std::string BadChecksums;  // "3 bad checksums"
  std::string Age;           // "Last line 0.4 s ago", "No data for 5 s"; empty without a source
  bool AgeIsWarning = false;
};

// Seconds of silence from an open port before the age turns into a warning.
inline constexpr uint32_t kNoDataWarningMs = 3000;

TStatusTexts StatusTexts(const TMonitor::TSource& source, const TSentenceStats& stats,
                         uint32_t nowMs);

// The label beside the source: interference suspected, in red, wins
// ("Interference suspected since 14:02:11"); else the fix quality of the
// last epoch when it is better than plain GPS, with the age of its
// corrections ("RTK float, corrections 2.4 s old"); else nothing. A
// NAV-PVT's carrier solution, where one came, says which RTK it is.
struct TFixStatusText {
  std::string Text;
  bool Alarm = false;
};

TFixStatusText FixStatusText(const THistory& history, const TEpochRecorder& recorder);

// The receiver's own jamming verdict (MON-RF), at warning or critical, for
// the label before all others: "Receiver reports jamming (L1): critical",
// naming every block at the worst level ("(L1, L2)"). Empty at ok and
// unknown, and once no MON-RF came for kRfReportAgeMs (`msSince` the last).
inline constexpr uint32_t kRfReportAgeMs = 10000;

std::string ReceiverJammingText(const std::vector<TRfJamming>& jamming, uint32_t msSince);

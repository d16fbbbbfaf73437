#pragma once
// What the fix display shows, kept as the last record of each kind shown
// (with what it was shown beside) rather than as the writes themselves:
// noting a line costs a copy of a record, and the whole display can be
// written again at once, as a jump within a replay needs it.

#include <array>
#include <cstdint>

#include "monitor/FixDisplay.h"
#include "monitor/MonitorOptions.h"
#include "nmea/NMEA.h"

class TShownFix {
 public:
  // The decoder gave a line `result`; `decoder` as it stands after it. Lines
  // are noted whether or not a filter holds them back: the filters apply
  // when the display is written, so that the notes do not depend on them.
  void Note(TSentenceResult result, const TNMEA& decoder);
  void Clear() { *this = TShownFix(); }
  // The "Used?" marks of the slots as the last GSA shown left them: none
  // while `options` hold GSAs back.
  const TUsedSlots& Used(const TMonitorOptions& options) const;
  // Every field that the noted lines `options` let through wrote, as it
  // stands now, in `formats`: the same last write to each field as the
  // lines' own writes in their order.
  TFieldUpdates Whole(const TFieldFormats& formats, const TMonitorOptions& options) const;

 private:
  enum TKind { kGGA, kRMC, kGSA, kGSV, kRME, kKinds };

  // When the last line of each kind was noted, 0 for never.
  std::array<uint64_t, kKinds> LastNoted{};
  uint64_t Noted = 0;
  TGGA GGA;
  uint8_t KnownQuality = UINT8_MAX;  // the last quality with a text
  TRMC RMC;
  TGSA GSA;
  TGSV GSVAtGSA;
  TGSV GSV;
  TUsedSlots UsedAtGSV;
  TRME RME;
  TUsedSlots UsedNow;
};

#include "monitor/ShownFix.h"

#include <algorithm>
#include <iterator>

void TShownFix::Note(TSentenceResult result, const TNMEA& decoder) {
  TKind kind;
  switch (result) {
    case TSentenceResult::GGA:
      kind = kGGA;
      GGA = decoder.GGA;
      if (!QualityText(GGA.Quality).empty()) KnownQuality = GGA.Quality;
      break;
    case TSentenceResult::RMC:
      kind = kRMC;
      RMC = decoder.RMC;
      break;
    case TSentenceResult::GSA:
      kind = kGSA;
      GSA = decoder.GSA;
      GSVAtGSA = decoder.GSV;
      UsedNow = UsedSlotsFor(GSA, GSVAtGSA);
      break;
    case TSentenceResult::GSV:
      kind = kGSV;
      GSV = decoder.GSV;
      UsedAtGSV = UsedNow;
      break;
    case TSentenceResult::RME:
      kind = kRME;
      RME = decoder.RME;
      break;
    default:
      return;
  }
  LastNoted[kind] = ++Noted;
}

const TUsedSlots& TShownFix::Used(const TMonitorOptions& options) const {
  static const TUsedSlots kNone;
  return options.IgnoreGSA ? kNone : UsedNow;
}

// A kind's last line writes every field its kind writes (a GGA of unknown
// quality apart, which leaves the quality as it was), so the kinds' last
// writes in the order of their last lines leave each field as all the lines
// did.
TFieldUpdates TShownFix::Whole(const TFieldFormats& formats, const TMonitorOptions& options) const {
  const std::array<bool, kKinds> heldBack = {options.IgnoreGGA, options.IgnoreRMC,
                                             options.IgnoreGSA, options.IgnoreGSV, false};
  std::array<int, kKinds> kinds = {kGGA, kRMC, kGSA, kGSV, kRME};
  std::sort(kinds.begin(), kinds.end(),
            [this](int a, int b) { return LastNoted[a] < LastNoted[b]; });
  TFieldUpdates updates;
  for (const int kind : kinds) {
    if (LastNoted[kind] == 0 || heldBack[kind]) continue;
    TFieldUpdates writes;
    switch (kind) {
      case kGGA:
        writes = DisplayGGA(GGA, formats);
        if (QualityText(GGA.Quality).empty() && KnownQuality != UINT8_MAX) {
          TFieldUpdate quality;
          quality.Field = {TFixFieldKind::Quality};
          quality.Text = QualityText(KnownQuality);
          writes.push_back(std::move(quality));
        }
        break;
      case kRMC:
        writes = DisplayRMC(RMC, formats);
        break;
      case kGSA:
        writes = DisplayGSA(GSA, GSVAtGSA);
        break;
      case kGSV:
        writes = DisplaySatellites(GSV, options.IgnoreGSA ? Used(options) : UsedAtGSV);
        break;
      default:
        writes = DisplayRME(RME);
        break;
    }
    updates.insert(updates.end(), std::make_move_iterator(writes.begin()),
                   std::make_move_iterator(writes.end()));
  }
  return updates;
}

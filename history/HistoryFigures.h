#pragma once
// What the Position window reads out of the history besides the scatter:
// the fixes themselves, what the receiver claims about its own accuracy, and
// how the time split between fix qualities.

#include <map>
#include <optional>
#include <vector>

#include "history/Epoch.h"
#include "history/EpochHistory.h"

// Every fix of every epoch held, in order.
std::vector<TEpochFix> HistoryFixes(const THistory& history);

// The means of the receiver's own error estimates over the epochs that gave
// them: GST's 1-sigma latitude, longitude and altitude errors and RME's
// horizontal and vertical ones, and NAV-PVT's hAcc and vAcc, in metres.
struct TClaimedErrors {
  std::optional<double> Latitude;
  std::optional<double> Longitude;
  std::optional<double> Altitude;
  std::optional<double> Horizontal;
  std::optional<double> Vertical;
  std::optional<double> HAcc;
  std::optional<double> VAcc;
  // GST's or RME's, which a window prefers to NAV-PVT's.
  bool FromSentences() const { return Latitude || Longitude || Altitude || Horizontal || Vertical; }
  bool Any() const { return FromSentences() || HAcc || VAcc; }
};

TClaimedErrors MeanClaimedErrors(const THistory& history);

// The share (0 to 1) of the epochs with a GGA quality spent in each quality,
// 0 (no fix) included.
std::map<int, double> QualityShares(const THistory& history);

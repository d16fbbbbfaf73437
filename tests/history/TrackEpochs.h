#pragma once
// A short walk of epochs as a receiver's capture gives them, for the track
// writers' tests.

#include <vector>

#include "history/Epoch.h"

inline TEpochFix TrackFix(double latitude, double longitude, double altitude, int quality,
                          double time) {
  TEpochFix fix;
  fix.Latitude = latitude;
  fix.Longitude = longitude;
  fix.Altitude = altitude;
  fix.Quality = quality;
  fix.Time = time;
  fix.Used = 9;
  fix.HDOP = 0.8;
  fix.Mode = 3;
  fix.PDOP = 1.6;
  fix.VDOP = 1.4;
  return fix;
}

// No date yet, then an RTK fix, a DGPS fix and an autonomous 3D fix on
// 7 December 2026, then an epoch without a fix.
inline std::vector<TEpoch> TrackEpochs() {
  std::vector<TEpoch> epochs(5);
  epochs[0].Fixes = {TrackFix(59.329323501, 18.068581012, 28.3, 1, 43200)};
  epochs[1].Date = "071226";
  epochs[1].Fixes = {TrackFix(59.329323602, 18.068581113, 28.5, 4, 43201.5)};
  epochs[2].Date = "071226";
  epochs[2].Fixes = {TrackFix(-0.000000001, -179.999999999, -3, 2, 43202)};
  epochs[3].Date = "071226";
  epochs[3].Fixes = {TrackFix(59.3293237, 18.0685812, 29, 1, 43203.1)};
  epochs[4].Date = "071226";
  for (size_t i = 0; i < epochs.size(); ++i) {
    TEpoch& epoch = epochs[i];
    epoch.Line = 10 * (i + 1);
    if (!epoch.Fixes.empty()) {
      epoch.Quality = epoch.Fixes.back().Quality;
      epoch.Latitude = epoch.Fixes.back().Latitude;
      epoch.Longitude = epoch.Fixes.back().Longitude;
    }
  }
  return epochs;
}

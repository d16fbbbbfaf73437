#pragma once
// How good the fixes are: where they scatter around a reference, in metres
// east, north and up on the WGS84 tangent plane at that reference. The
// window's table, its scatter and `tolvane-decode --report` all come from
// here, so that they agree to the millimetre.

#include <cstddef>
#include <map>
#include <optional>
#include <vector>

#include "history/Epoch.h"

struct TGeodetic {
  double Latitude = 0;   // signed decimal degrees
  double Longitude = 0;  // signed decimal degrees
  double Altitude = 0;   // metres; taken as the ellipsoidal height
  bool operator==(const TGeodetic&) const = default;
};

struct TLocalPoint {
  double East = 0;
  double North = 0;
  double Up = 0;
};

struct TAccuracy {
  size_t Fixes = 0;
  std::map<int, size_t> ByQuality;  // only the qualities that occur
  // The rest is meaningful only with at least one fix.
  TGeodetic Reference;
  TGeodetic Mean;
  TLocalPoint Deviation;  // population standard deviations
  double Cep50 = 0;
  double Cep95 = 0;
  double Drms2 = 0;
  double HorizontalMax = 0;
  double VerticalP50 = 0;
  double VerticalP95 = 0;
  double VerticalMax = 0;
};

// The arithmetic mean of latitudes, longitudes and altitudes; none without
// fixes.
std::optional<TGeodetic> MeanPosition(const std::vector<TEpochFix>& fixes);

// Each fix around the reference, in order.
std::vector<TLocalPoint> LocalPoints(const std::vector<TEpochFix>& fixes,
                                     const TGeodetic& reference);

// The figures around the given reference, else around the mean; the fixes
// on the plane go to `points` where one is given (the window draws them).
TAccuracy MeasureAccuracy(const std::vector<TEpochFix>& fixes,
                          const std::optional<TGeodetic>& reference = std::nullopt,
                          std::vector<TLocalPoint>* points = nullptr);

// The nearest-rank percentile (percent of 100) of values sorted ascending:
// the value at index ceil(percent / 100 * N) - 1, worked out in integers so
// that no rounding moves it; 0 for none.
double NearestRank(const std::vector<double>& sorted, int percent);

// The distance in metres between two places along the WGS84 ellipsoid,
// their heights aside.
double SurfaceDistance(const TGeodetic& from, const TGeodetic& to);

#include "history/Accuracy.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>
#include <cmath>

namespace {

double PopulationDeviation(const std::vector<TLocalPoint>& points, double TLocalPoint::*axis) {
  double sum = 0;
  for (const TLocalPoint& point : points) sum += point.*axis;
  const double mean = sum / static_cast<double>(points.size());
  double squares = 0;
  for (const TLocalPoint& point : points) squares += (point.*axis - mean) * (point.*axis - mean);
  return std::sqrt(squares / static_cast<double>(points.size()));
}

}  // namespace

std::optional<TGeodetic> MeanPosition(const std::vector<TEpochFix>& fixes) {
  if (fixes.empty()) return std::nullopt;
  TGeodetic sum;
  for (const TEpochFix& fix : fixes) {
    sum.Latitude += fix.Latitude;
    sum.Longitude += fix.Longitude;
    sum.Altitude += fix.Altitude;
  }
  const double count = static_cast<double>(fixes.size());
  return TGeodetic{sum.Latitude / count, sum.Longitude / count, sum.Altitude / count};
}

std::vector<TLocalPoint> LocalPoints(const std::vector<TEpochFix>& fixes,
                                     const TGeodetic& reference) {
  const GeographicLib::LocalCartesian plane(reference.Latitude, reference.Longitude,
                                            reference.Altitude, GeographicLib::Geocentric::WGS84());
  std::vector<TLocalPoint> points;
  points.reserve(fixes.size());
  for (const TEpochFix& fix : fixes) {
    TLocalPoint point;
    plane.Forward(fix.Latitude, fix.Longitude, fix.Altitude, point.East, point.North, point.Up);
    points.push_back(point);
  }
  return points;
}

double NearestRank(const std::vector<double>& sorted, int percent) {
  if (sorted.empty()) return 0;
  const size_t rank = (sorted.size() * static_cast<size_t>(percent) + 99) / 100;
  return sorted[std::max<size_t>(rank, 1) - 1];
}

TAccuracy MeasureAccuracy(const std::vector<TEpochFix>& fixes,
                          const std::optional<TGeodetic>& reference,
                          std::vector<TLocalPoint>* pointsOut) {
  TAccuracy accuracy;
  if (pointsOut) pointsOut->clear();
  accuracy.Fixes = fixes.size();
  for (const TEpochFix& fix : fixes) ++accuracy.ByQuality[fix.Quality];
  const std::optional<TGeodetic> mean = MeanPosition(fixes);
  if (!mean) return accuracy;
  accuracy.Mean = *mean;
  accuracy.Reference = reference.value_or(*mean);

  std::vector<TLocalPoint> local;
  std::vector<TLocalPoint>& points = pointsOut ? *pointsOut : local;
  points = LocalPoints(fixes, accuracy.Reference);
  accuracy.Deviation = {PopulationDeviation(points, &TLocalPoint::East),
                        PopulationDeviation(points, &TLocalPoint::North),
                        PopulationDeviation(points, &TLocalPoint::Up)};

  std::vector<double> horizontal;
  std::vector<double> vertical;
  double squares = 0;
  for (const TLocalPoint& point : points) {
    const double error = std::sqrt(point.East * point.East + point.North * point.North);
    horizontal.push_back(error);
    vertical.push_back(std::abs(point.Up));
    squares += error * error;
  }
  std::sort(horizontal.begin(), horizontal.end());
  std::sort(vertical.begin(), vertical.end());
  accuracy.Cep50 = NearestRank(horizontal, 50);
  accuracy.Cep95 = NearestRank(horizontal, 95);
  accuracy.Drms2 = 2 * std::sqrt(squares / static_cast<double>(points.size()));
  accuracy.HorizontalMax = horizontal.back();
  accuracy.VerticalP50 = NearestRank(vertical, 50);
  accuracy.VerticalP95 = NearestRank(vertical, 95);
  accuracy.VerticalMax = vertical.back();
  return accuracy;
}

double SurfaceDistance(const TGeodetic& from, const TGeodetic& to) {
  double distance = 0;
  GeographicLib::Geodesic::WGS84().Inverse(from.Latitude, from.Longitude, to.Latitude, to.Longitude,
                                           distance);
  return distance;
}

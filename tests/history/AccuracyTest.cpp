#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "history/Accuracy.h"

namespace {

// WGS84, for answers worked out by hand on the ellipsoid.
constexpr double kA = 6378137.0;
constexpr double kF = 1 / 298.257223563;
constexpr double kE2 = kF * (2 - kF);
constexpr double kRadian = std::numbers::pi / 180;

// The meridian's radius of curvature at a latitude.
double MeridianRadius(double latitude) {
  const double s = std::sin(latitude * kRadian);
  return kA * (1 - kE2) / std::pow(1 - kE2 * s * s, 1.5);
}

TEpochFix Fix(double latitude, double longitude, double altitude, int quality = 1) {
  TEpochFix fix;
  fix.Latitude = latitude;
  fix.Longitude = longitude;
  fix.Altitude = altitude;
  fix.Quality = quality;
  return fix;
}

struct TExpected {
  double East, North, Up;  // standard deviations
  double Cep50, Cep95, Drms2, HorizontalMax;
  double VerticalP50, VerticalP95, VerticalMax;
};

struct TFigureCase {
  const char* Legend;
  std::vector<TEpochFix> Fixes;
  std::optional<TGeodetic> Reference;
  TExpected Expected;
};

// A small step in degrees: centimetres, where the tangent plane's curvature
// is far below the tolerance.
constexpr double kStep = 1e-6;
// Across the equator a degree of longitude is a*sin and a degree of
// latitude's north is a(1-e^2)*sin, to far below a micrometre here.
const double kEquatorEast = kA * std::sin(kStep * kRadian);
const double kEquatorNorth = kA * (1 - kE2) * std::sin(kStep * kRadian);
const double kCorner = std::hypot(kEquatorEast, kEquatorNorth);
// 100 m up, the step's arc is that much longer.
const double kSixtyNorth = (MeridianRadius(60) + 100) * kStep * kRadian;
const double kDegreeEast = kA * std::sin(kRadian);
const double kDegreeDrop = kA * (1 - std::cos(kRadian));

std::vector<TFigureCase> FigureCases() {
  return {
      {"one point: no spread at all",
       {Fix(52.1, 4.3, 12.5)},
       std::nullopt,
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"a square of four corners around the equator and Greenwich",
       {Fix(kStep, kStep, 0), Fix(kStep, -kStep, 0), Fix(-kStep, -kStep, 0), Fix(-kStep, kStep, 0)},
       std::nullopt,
       {kEquatorEast, kEquatorNorth, 0, kCorner, kCorner, 2 * kCorner, kCorner, 0, 0, 0}},
      {"five points along a meridian at 60 north, two steps each way",
       {Fix(60 - 2 * kStep, 10, 100), Fix(60 - kStep, 10, 100), Fix(60, 10, 100),
        Fix(60 + kStep, 10, 100), Fix(60 + 2 * kStep, 10, 100)},
       std::nullopt,
       // Errors 0, 1, 1, 2, 2 steps: the median is the third, the 95th the fifth.
       {0, std::sqrt(2.0) * kSixtyNorth, 0, kSixtyNorth, 2 * kSixtyNorth,
        2 * std::sqrt(2.0) * kSixtyNorth, 2 * kSixtyNorth, 0, 0, 0}},
      {"a reference 100 m below: the whole error is up",
       {Fix(0, 0, 0), Fix(0, 0, 0)},
       TGeodetic{0, 0, -100},
       {0, 0, 0, 0, 0, 0, 0, 100, 100, 100}},
      {"a reference a degree west: the plane is tangent there, so the fix sinks",
       {Fix(0, 1, 0)},
       TGeodetic{0, 0, 0},
       {0, 0, 0, kDegreeEast, kDegreeEast, 2 * kDegreeEast, kDegreeEast, kDegreeDrop, kDegreeDrop,
        kDegreeDrop}},
  };
}

TEST(Accuracy, FiguresOfKnownFixSets) {
  constexpr double kTolerance = 1e-6;  // metres
  for (const TFigureCase& test : FigureCases()) {
    SCOPED_TRACE(test.Legend);
    const TAccuracy accuracy = MeasureAccuracy(test.Fixes, test.Reference);
    const TExpected& expected = test.Expected;
    EXPECT_EQ(accuracy.Fixes, test.Fixes.size());
    EXPECT_NEAR(accuracy.Deviation.East, expected.East, kTolerance);
    EXPECT_NEAR(accuracy.Deviation.North, expected.North, kTolerance);
    EXPECT_NEAR(accuracy.Deviation.Up, expected.Up, kTolerance);
    EXPECT_NEAR(accuracy.Cep50, expected.Cep50, kTolerance);
    EXPECT_NEAR(accuracy.Cep95, expected.Cep95, kTolerance);
    EXPECT_NEAR(accuracy.Drms2, expected.Drms2, kTolerance);
    EXPECT_NEAR(accuracy.HorizontalMax, expected.HorizontalMax, kTolerance);
    EXPECT_NEAR(accuracy.VerticalP50, expected.VerticalP50, kTolerance);
    EXPECT_NEAR(accuracy.VerticalP95, expected.VerticalP95, kTolerance);
    EXPECT_NEAR(accuracy.VerticalMax, expected.VerticalMax, kTolerance);
    EXPECT_EQ(accuracy.Reference, test.Reference.value_or(accuracy.Mean));
  }
}

TEST(Accuracy, MeanAndQualitiesOfMixedFixes) {
  const TAccuracy accuracy = MeasureAccuracy(
      {Fix(-33.5, 151.25, 10, 1), Fix(-33.25, 151.0, 20, 4), Fix(-33.0, 151.5, 60, 4)});
  EXPECT_EQ(accuracy.Mean, (TGeodetic{-33.25, 151.25, 30}));
  EXPECT_EQ(accuracy.ByQuality, (std::map<int, size_t>{{1, 1}, {4, 2}}));
}

TEST(Accuracy, NoFixesGiveNoFigures) {
  const TAccuracy accuracy = MeasureAccuracy({}, TGeodetic{1, 2, 3});
  EXPECT_EQ(accuracy.Fixes, 0u);
  EXPECT_TRUE(accuracy.ByQuality.empty());
}

struct TRankCase {
  const char* Legend;
  size_t Count;  // values 1 to Count
  int Percent;
  double Expected;
};

// Where p*N is a whole number in exact arithmetic but not in doubles, a
// floating-point ceil would step one rank too far.
const TRankCase kRankCases[] = {
    {"one value is every percentile", 1, 95, 1},
    {"median of two is the lower", 2, 50, 1},
    {"median of an odd count is the middle", 5, 50, 3},
    {"95th of 20 is the 19th, not the 20th", 20, 95, 19},
    {"95th of 60 is the 57th", 60, 95, 57},
    {"95th of 100 is the 95th", 100, 95, 95},
    {"95th of 101 rounds up to the 96th", 101, 95, 96},
    {"none gives 0", 0, 50, 0},
};

TEST(Accuracy, NearestRank) {
  for (const TRankCase& test : kRankCases) {
    SCOPED_TRACE(test.Legend);
    std::vector<double> values;
    for (size_t i = 1; i <= test.Count; ++i) values.push_back(static_cast<double>(i));
    EXPECT_EQ(NearestRank(values, test.Percent), test.Expected);
  }
}

}  // namespace

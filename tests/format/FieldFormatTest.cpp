#include <gtest/gtest.h>

#include <limits>

#include "format/FormatRoutines.h"

namespace {

constexpr double kLatitude = -42.8424769;
constexpr double kLongitude = 147.3083884;

TFieldFormats PositionFormats(int32_t layout, int32_t decimals) {
  TFieldFormats formats;
  formats.PositionFormat = layout;
  formats.PositionDecimals = decimals;
  return formats;
}

struct TPositionCase {
  int32_t Layout;
  int32_t Decimals;
  const char* Latitude;
  const char* Longitude;
};

// The sample latitude and longitude in every layout at 6, 2 and 0 decimals.
const TPositionCase kSampleCases[] = {
    {0, 6, "42.842477,S", "147.308388,E"},
    {0, 2, "42.84,S", "147.31,E"},
    {0, 0, "43,S", "147,E"},
    {1, 6, "-42.842477", "147.308388"},
    {1, 2, "-42.84", "147.31"},
    {1, 0, "-43", "147"},
    {2, 6, "-4250.548614", "14718.503304"},
    {2, 2, "-4250.55", "14718.50"},
    {2, 0, "-4251", "14719"},
    {3, 6, "4250.548614,S", "14718.503304,E"},
    {3, 2, "4250.55,S", "14718.50,E"},
    {3, 0, "4251,S", "14719,E"},
    {4, 6, "-42,50,32.916840", "147,18,30.198240"},
    {4, 2, "-42,50,32.92", "147,18,30.20"},
    {4, 0, "-42,50,33", "147,18,30"},
    {5, 6, "42,50,32.916840,S", "147,18,30.198240,E"},
    {5, 2, "42,50,32.92,S", "147,18,30.20,E"},
    {5, 0, "42,50,33,S", "147,18,30,E"},
};

TEST(FormatPosition, SampleCoordinatesInEveryLayout) {
  for (const auto& c : kSampleCases) {
    const TFieldFormats formats = PositionFormats(c.Layout, c.Decimals);
    EXPECT_EQ(FormatLatitude(kLatitude, formats), c.Latitude) << c.Layout << " " << c.Decimals;
    EXPECT_EQ(FormatLongitude(kLongitude, formats), c.Longitude) << c.Layout << " " << c.Decimals;
  }
}

struct TPositionEdge {
  const char* Legend;
  bool IsLatitude;
  double Value;
  int32_t Layout;
  int32_t Decimals;
  const char* Expected;
};

const TPositionEdge kEdgeCases[] = {
    {"under one degree south: -0 degrees show no sign", true, -0.5, 4, 2, "0,30,0.00"},
    {"under one degree south: decimal minutes keep the sign", true, -0.5, 2, 2, "-30.00"},
    {"under one degree south: letter", true, -0.5, 3, 2, "30.00,S"},
    {"under one degree south: letter with seconds", true, -0.5, 5, 2, "0,30,0.00,S"},
    {"zero is north", true, 0.0, 0, 2, "0.00,N"},
    {"zero is east", false, 0.0, 0, 2, "0.00,E"},
    {"west", false, -73.5, 0, 1, "73.5,W"},
    {"seconds do not carry", true, -12.99999999, 4, 2, "-12,59,60.00"},
    {"decimal minutes do not carry", true, -12.99999999, 2, 2, "-1260.00"},
    {"layout -1 is signed degrees", true, kLatitude, -1, 2, "-42.84"},
    {"layout 6 is signed degrees", true, kLatitude, 6, 2, "-42.84"},
    {"decimals of 25 give 2", true, kLatitude, 0, 25, "42.84,S"},
    {"decimals of -1 give 2", false, kLongitude, 4, -1, "147,18,30.20"},
};

TEST(FormatPosition, EdgeCases) {
  for (const auto& c : kEdgeCases)
    EXPECT_EQ(FormatPosition(c.IsLatitude, c.Value, PositionFormats(c.Layout, c.Decimals)),
              c.Expected)
        << c.Legend;
}

TEST(FormatPosition, NonFiniteValuesGiveTextInEveryLayout) {
  const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300};
  for (const double value : values)
    for (int32_t layout = 0; layout <= 5; ++layout)
      EXPECT_FALSE(FormatLatitude(value, PositionFormats(layout, 2)).empty()) << layout;
}

// Each row: the setting, then the outputs for 1 and for 12.3456789.
struct TUnitCase {
  const char* Legend;
  char Field;  // 'A'ltitude, 'S'peed or 'C'ourse
  int32_t Unit;
  int32_t Decimals;
  const char* One;
  const char* Sample;
};

const TUnitCase kUnitCases[] = {
    {"metres, default", 'A', 0, 1, "1.0", "12.3"},
    {"kilometres", 'A', 1, 4, "0.0010", "0.0123"},
    {"miles", 'A', 2, 4, "0.0006", "0.0077"},
    {"unknown unit is metres", 'A', 3, 1, "1.0", "12.3"},
    {"negative unit is metres", 'A', -1, 1, "1.0", "12.3"},
    {"knots, default", 'S', 0, 1, "1.0", "12.3"},
    {"metres per second", 'S', 1, 1, "0.5", "6.4"},
    {"kilometres per hour", 'S', 2, 1, "1.9", "22.9"},
    {"miles per hour", 'S', 3, 1, "1.2", "14.2"},
    {"kilometres per hour: the factor is 1.853", 'S', 2, 4, "1.8530", "22.8765"},
    {"unknown unit is knots", 'S', 4, 1, "1.0", "12.3"},
    {"decimals out of range give 2", 'S', 0, 19, "1.00", "12.35"},
    {"course, default", 'C', 0, 0, "1", "12"},
    {"course, 3 decimals", 'C', 0, 3, "1.000", "12.346"},
    {"course ignores its format", 'C', 5, 3, "1.000", "12.346"},
};

std::string FormatUnit(const TUnitCase& c, double value) {
  TFieldFormats formats;
  if (c.Field == 'A') {
    formats.AltitudeFormat = c.Unit;
    formats.AltitudeDecimals = c.Decimals;
    return FormatAltitude(value, formats);
  }
  if (c.Field == 'S') {
    formats.SpeedFormat = c.Unit;
    formats.SpeedDecimals = c.Decimals;
    return FormatSpeed(value, formats);
  }
  formats.CourseFormat = c.Unit;
  formats.CourseDecimals = c.Decimals;
  return FormatCourse(value, formats);
}

TEST(FormatUnits, AltitudeSpeedAndCourse) {
  for (const auto& c : kUnitCases) {
    EXPECT_EQ(FormatUnit(c, 1), c.One) << c.Legend;
    EXPECT_EQ(FormatUnit(c, 12.3456789), c.Sample) << c.Legend;
  }
  TFieldFormats formats;
  formats.AltitudeDecimals = 9;
  EXPECT_EQ(FormatAltitude(123.4f, formats), "123.400001526") << "single precision altitude";
}

TEST(FormatValid, EveryWording) {
  const struct {
    int32_t Format;
    const char* True;
    const char* False;
  } cases[] = {{0, "Yes", "No"}, {1, "T", "F"},    {2, "1", "0"},
               {3, "A", "V"},    {4, "Yes", "No"}, {-1, "Yes", "No"}};
  for (const auto& c : cases) {
    TFieldFormats formats;
    formats.ValidFormat = c.Format;
    EXPECT_EQ(FormatValid(true, formats), c.True) << c.Format;
    EXPECT_EQ(FormatValid(false, formats), c.False) << c.Format;
  }
}

}  // namespace

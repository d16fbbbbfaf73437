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

TEST(HemisphereLetter, SignChoosesTheLetter) {
  EXPECT_EQ(HemisphereLetter(true, 0.0), 'N');
  EXPECT_EQ(HemisphereLetter(true, -0.0), 'N');
  EXPECT_EQ(HemisphereLetter(true, -1e-9), 'S');
  EXPECT_EQ(HemisphereLetter(false, 0.0), 'E');
  EXPECT_EQ(HemisphereLetter(false, -1e-9), 'W');
}

struct TUnitCase {
  const char* Legend;
  std::string (*Format)(double, const TFieldFormats&);
  int32_t TFieldFormats::*Unit;
  int32_t TFieldFormats::*Decimals;
  int32_t UnitValue;
  int32_t DecimalsValue;
  double Input;
  const char* Expected;
};

std::string Altitude(double v, const TFieldFormats& f) {
  return FormatAltitude(v, f);
}
std::string Speed(double v, const TFieldFormats& f) {
  return FormatSpeed(v, f);
}
std::string Course(double v, const TFieldFormats& f) {
  return FormatCourse(v, f);
}

constexpr auto kAlt = &TFieldFormats::AltitudeFormat;
constexpr auto kAltDec = &TFieldFormats::AltitudeDecimals;
constexpr auto kSpd = &TFieldFormats::SpeedFormat;
constexpr auto kSpdDec = &TFieldFormats::SpeedDecimals;
constexpr auto kCrs = &TFieldFormats::CourseFormat;
constexpr auto kCrsDec = &TFieldFormats::CourseDecimals;

const TUnitCase kUnitCases[] = {
    {"metres, default", Altitude, kAlt, kAltDec, 0, 1, 1, "1.0"},
    {"metres, default", Altitude, kAlt, kAltDec, 0, 1, 12.3456789, "12.3"},
    {"kilometres", Altitude, kAlt, kAltDec, 1, 4, 1, "0.0010"},
    {"kilometres", Altitude, kAlt, kAltDec, 1, 4, 12.3456789, "0.0123"},
    {"miles", Altitude, kAlt, kAltDec, 2, 4, 1, "0.0006"},
    {"miles", Altitude, kAlt, kAltDec, 2, 4, 12.3456789, "0.0077"},
    {"unknown unit is metres", Altitude, kAlt, kAltDec, 3, 1, 12.3456789, "12.3"},
    {"negative unit is metres", Altitude, kAlt, kAltDec, -1, 1, 12.3456789, "12.3"},
    {"single precision altitude", Altitude, kAlt, kAltDec, 0, 9, static_cast<double>(123.4f),
     "123.400001526"},
    {"knots, default", Speed, kSpd, kSpdDec, 0, 1, 1, "1.0"},
    {"knots, default", Speed, kSpd, kSpdDec, 0, 1, 12.3456789, "12.3"},
    {"metres per second", Speed, kSpd, kSpdDec, 1, 1, 1, "0.5"},
    {"metres per second", Speed, kSpd, kSpdDec, 1, 1, 12.3456789, "6.4"},
    {"kilometres per hour", Speed, kSpd, kSpdDec, 2, 1, 1, "1.9"},
    {"kilometres per hour", Speed, kSpd, kSpdDec, 2, 1, 12.3456789, "22.9"},
    {"miles per hour", Speed, kSpd, kSpdDec, 3, 1, 1, "1.2"},
    {"miles per hour", Speed, kSpd, kSpdDec, 3, 1, 12.3456789, "14.2"},
    {"kilometres per hour, the factor is 1.853", Speed, kSpd, kSpdDec, 2, 4, 1, "1.8530"},
    {"kilometres per hour, 4 decimals", Speed, kSpd, kSpdDec, 2, 4, 12.3456789, "22.8765"},
    {"unknown unit is knots", Speed, kSpd, kSpdDec, 4, 1, 12.3456789, "12.3"},
    {"course, default", Course, kCrs, kCrsDec, 0, 0, 1, "1"},
    {"course, default", Course, kCrs, kCrsDec, 0, 0, 12.3456789, "12"},
    {"course, 3 decimals", Course, kCrs, kCrsDec, 0, 3, 1, "1.000"},
    {"course, 3 decimals", Course, kCrs, kCrsDec, 0, 3, 12.3456789, "12.346"},
    {"course ignores its format", Course, kCrs, kCrsDec, 5, 3, 12.3456789, "12.346"},
    {"speed decimals out of range give 2", Speed, kSpd, kSpdDec, 0, 19, 12.3456789, "12.35"},
};

TEST(FormatUnits, AltitudeSpeedAndCourse) {
  for (const auto& c : kUnitCases) {
    TFieldFormats formats;
    formats.*c.Unit = c.UnitValue;
    formats.*c.Decimals = c.DecimalsValue;
    EXPECT_EQ(c.Format(c.Input, formats), c.Expected) << c.Legend;
  }
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

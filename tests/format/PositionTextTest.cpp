#include <gtest/gtest.h>

#include "format/PositionText.h"

namespace {

struct TPositionCase {
  const char* Legend;
  const char* Text;
  bool IsLatitude;
  std::optional<double> Degrees;
};

const TPositionCase kPositionCases[] = {
    {"signed decimal degrees", "-48.1173", true, -48.1173},
    {"decimal with a hemisphere, as format 0 shows it", "48.117300,S", true, -48.1173},
    {"the letter without a comma, lower case", "11.5e", false, 11.5},
    {"DDDMM.MM, as format 2 shows it", "-4807.038", true, -48.1173},
    {"DDDMM.MM with a hemisphere, format 3", "01131.000,E", false, 11.516666666666667},
    {"degrees, minutes, seconds, format 4", "-48,-7,-2.28", true, -48.1173},
    {"d,m,s with a hemisphere, format 5", "48,7,2.28,N", true, 48.1173},
    {"spaces around", "  52.5 , N ", true, 52.5},
    {"a longitude past 90 is still degrees", "179.5", false, 179.5},
    {"a latitude past 90 reads as DDMM", "9000", true, 90},
    {"minutes of 60 are no DDMM", "4860.0", true, std::nullopt},
    {"seconds of 60", "48,7,60", true, std::nullopt},
    {"an east letter on a latitude", "48.1,E", true, std::nullopt},
    {"a south letter on a negative number", "-48.1,S", true, std::nullopt},
    {"two parts", "48,7", true, std::nullopt},
    {"a comma for the decimal point", "48,1173", true, std::nullopt},
    {"words", "north", true, std::nullopt},
    {"empty", "", true, std::nullopt},
    {"beyond the pole as DDMM", "9100", true, std::nullopt},
};

TEST(PositionText, Parse) {
  for (const TPositionCase& test : kPositionCases) {
    SCOPED_TRACE(test.Legend);
    const std::optional<double> degrees = ParsePosition(test.Text, test.IsLatitude);
    ASSERT_EQ(degrees.has_value(), test.Degrees.has_value());
    if (degrees) {
      EXPECT_NEAR(*degrees, *test.Degrees, 1e-12);
    }
  }
}

}  // namespace

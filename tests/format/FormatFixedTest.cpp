#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "format/FormatRoutines.h"

namespace {

struct TFixedCase {
  const char* Legend;
  double Value;
  int32_t Decimals;
  const char* Expected;
};

const TFixedCase kFixedCases[] = {
    {"exact half rounds up", 0.125, 2, "0.13"},
    {"negative exact half rounds away from zero", -0.125, 2, "-0.13"},
    {"half at zero decimals", 2.5, 0, "3"},
    {"negative half at zero decimals", -2.5, 0, "-3"},
    {"half of one", 0.5, 0, "1"},
    {"rounds to zero, no sign", -0.004, 2, "0.00"},
    {"negative zero has no sign", -0.0, 2, "0.00"},
    {"tiny negative has no sign", -1e-300, 2, "0.00"},
    {"single precision shows its representation", static_cast<double>(123.4f), 9, "123.400001526"},
    {"binary value just under the half stays down", 9.995, 2, "9.99"},
    {"binary value just over the half goes up", 0.05, 1, "0.1"},
    {"carry makes a new integer digit", 9.96, 1, "10.0"},
    {"carry runs through every digit", 999.9999, 2, "1000.00"},
    {"carry from below the first digit", 0.0005, 3, "0.001"},
    {"just below half of the last place", 0.00049, 3, "0.000"},
    {"zero", 0.0, 3, "0.000"},
    {"no thousands separators", 1234567.891, 2, "1234567.89"},
    {"negative rounding to whole", -1234.5, 0, "-1235"},
    {"eighteen decimals show the binary value", 0.1, 18, "0.100000000000000006"},
    {"smallest denormal at eighteen decimals", 5e-324, 18, "0.000000000000000000"},
    {"decimals above 18 give 2", 3.14159, 19, "3.14"},
    {"decimals of 25 give 2", 3.14159, 25, "3.14"},
    {"negative decimals give 2", 3.14159, -1, "3.14"},
    {"10^18 stays fixed", 1e18, 2, "1000000000000000000.00"},
    {"digits past the eighteenth show as zeros", 1e23, 0, "99999999999999991600000"},
    {"negative huge value", -std::pow(2.0, 70), 0, "-1180591620717411300000"},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), 2, "NAN"},
    {"infinity", std::numeric_limits<double>::infinity(), 2, "INF"},
    {"negative infinity", -std::numeric_limits<double>::infinity(), 0, "-INF"},
};

TEST(FormatFixed, RendersEveryCase) {
  for (const auto& c : kFixedCases)
    EXPECT_EQ(FormatFixed(c.Value, c.Decimals), c.Expected) << c.Legend;
}

TEST(FormatFixed, LargestDoubleIsPlainDigits) {
  const std::string text = FormatFixed(std::numeric_limits<double>::max(), 2);
  EXPECT_EQ(text.size(), 309u + 3u);
  EXPECT_EQ(text.substr(0, 18), "179769313486231571");
  EXPECT_EQ(text.substr(18), std::string(291, '0') + ".00");
}

}  // namespace

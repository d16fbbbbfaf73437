// The shared routines: hex text, checksum, printable filter, degree
// arithmetic and the two number grammars of sentence fields.

#include "common/Routines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(Routines, HexText) {
  struct TRow {
    const char* Text;
    int32_t Value;
  };
  const TRow rows[] = {
      {"", 0},          {"4g", 64},       {"ff", 255}, {"FF", 255}, {"7fffffff", 0x7fffffff},
      {"FFFFFFFF", -1}, {"100000000", 0},  // wraps
      {"-1", 1},        {"$A", 10},
  };
  for (const TRow& row : rows) EXPECT_EQ(HexStrToInt(row.Text), row.Value) << row.Text;
  EXPECT_EQ(HexDigitValue('a'), 10);
  EXPECT_EQ(HexDigitValue('F'), 15);
  EXPECT_EQ(HexDigitValue('G'), 0);
  EXPECT_EQ(HexDigitValue('\xC1'), 0);
}

TEST(Routines, ChecksumAndPrintable) {
  EXPECT_EQ(NmeaChecksum("abc"), 0x60);
  EXPECT_EQ(NmeaChecksum(""), 0);
  EXPECT_EQ(NmeaChecksum("\xff\x01"), 0xfe);
  EXPECT_EQ(KeepPrintable("\r\n\t\x7f\xc8"), "\x7f");
  EXPECT_EQ(KeepPrintable(std::string("a\0b ~", 5)), "ab ~");
  EXPECT_EQ(KeepPrintable(""), "");
}

TEST(Routines, DegreeArithmetic) {
  EXPECT_EQ(SignOf(0.0), 1.0);
  EXPECT_EQ(SignOf(-0.0), 1.0);
  EXPECT_EQ(SignOf(-1e-300), -1.0);
  EXPECT_EQ(WholeDegrees(-48.07038), -48);
  EXPECT_EQ(WholeDegrees(1e300), 1e300);
  EXPECT_EQ(WholeMinutes(48.07038), 7);
  EXPECT_EQ(WholeMinutes(-48.07038), -7);
  EXPECT_NEAR(MinuteFraction(48.07038), 3.8, 1e-9);
  EXPECT_NEAR(MinuteFraction(-48.07038), -3.8, 1e-9);

  struct TRow {
    double Degrees;
    double Whole, Minutes, Seconds;
  };
  const TRow rows[] = {
      {-33.7525, -33, 45, 9.0},
      {33.7525, 33, 45, 9.0},
      {0.5, 0, 30, 0},
      {-0.25, 0, 15, 0},  // the sign of a zero whole part lies only in the value
      {179.999999, 179, 59, 59.9964},
  };
  for (const TRow& row : rows) {
    double whole = 0, minutes = 0, seconds = 0;
    SplitDegrees(row.Degrees, whole, minutes, seconds);
    EXPECT_EQ(whole, row.Whole) << row.Degrees;
    EXPECT_EQ(minutes, row.Minutes) << row.Degrees;
    EXPECT_NEAR(seconds, row.Seconds, 1e-6) << row.Degrees;
  }
}

TEST(Routines, IntegerText) {
  struct TRow {
    const char* Legend;
    const char* Text;
    bool Valid;
    int32_t Value;
  };
  const TRow rows[] = {
      {"leading zeros", "0012", true, 12},
      {"leading spaces and sign", "  +5", true, 5},
      {"negative", "-5", true, -5},
      {"smallest", "-2147483648", true, INT32_MIN},
      {"largest", "2147483647", true, INT32_MAX},
      {"one beyond", "2147483648", false, 0},
      {"one below", "-2147483649", false, 0},
      {"twenty digits", "99999999999999999999", false, 0},
      {"$ hex", "$1F", true, 31},
      {"x hex", "x1f", true, 31},
      {"0X hex", " 0X7FFFFFFF", true, INT32_MAX},
      {"hex beyond signed range", "0x80000000", false, 0},
      {"no sign before the prefix", "-$1F", false, 0},
      {"prefix alone", "0x", false, 0},
      {"$ alone", "$", false, 0},
      {"trailing space", "12 ", false, 0},
      {"decimal point", "1.0", false, 0},
      {"sign alone", "+", false, 0},
      {"empty", "", false, 0},
      {"spaces only", "  ", false, 0},
      {"space after sign", "- 1", false, 0},
  };
  for (const TRow& row : rows) {
    int32_t value = 0;
    EXPECT_EQ(TryStrToInt(row.Text, value), row.Valid) << row.Legend;
    if (row.Valid) {
      EXPECT_EQ(value, row.Value) << row.Legend;
    }
  }
}

TEST(Routines, RealText) {
  struct TRow {
    const char* Legend;
    const char* Text;
    bool Valid;
    long double Value;
  };
  const TRow rows[] = {
      {"plain", "1.5", true, 1.5L},
      {"spaces around", " 1.5 ", true, 1.5L},
      {"point alone", ".", true, 0},
      {"point and sign", "-.", true, 0},
      {"no whole digits", ".5", true, 0.5L},
      {"no fraction digits", "5.", true, 5},
      {"exponent", "-0.25e+2", true, -25},
      {"small exponent", "1E-3", true, 0.001L},
      {"exponent without digits", "1e", false, 0},
      {"exponent alone", "e5", false, 0},
      {"sign alone", "-", false, 0},
      {"empty", "", false, 0},
      {"decimal comma", "1,5", false, 0},
      {"inner space", "1 2", false, 0},
      {"hex is no real", "0x10", false, 0},
      {"infinity is no real", "inf", false, 0},
      {"beyond double, within extended", "1e400", true, 1e400L},
      {"beyond extended", "1e99999", false, 0},
      {"zero with a vast exponent", "0e99999", true, 0},
      {"underflows to zero", "1e-99999", true, 0},
  };
  for (const TRow& row : rows) {
    long double value = -1;
    EXPECT_EQ(TryStrToFloat(row.Text, value), row.Valid) << row.Legend;
    if (row.Valid) {
      EXPECT_LE(fabsl(value - row.Value), 1e-15L * fabsl(row.Value)) << row.Legend;
    }
  }
}

// Field values must read as the nearest double, as a compiler reads them.
TEST(Routines, RealTextRoundsLikeTheCompiler) {
  struct TRow {
    std::string Text;
    double Value;
  };
  const TRow rows[] = {
      {"4807.038", 4807.038},
      {"0.1", 0.1},
      {"01131.000", 1131.0},
      {"12345678901234567890123", 12345678901234567890123.0},
      {"0.000000000000000000000000001", 1e-27},
      {"9007199254740993", 9007199254740993.0},
      {"2.2250738585072014e-308", 2.2250738585072014e-308},
      {"17976931348623157" + std::string(292, '0'), 1.7976931348623157e308},
  };
  for (const TRow& row : rows) {
    long double value = 0;
    ASSERT_TRUE(TryStrToFloat(row.Text, value)) << row.Text;
    EXPECT_EQ(static_cast<double>(value), row.Value) << row.Text;
  }
}

TEST(Routines, StrToFloatDefault) {
  EXPECT_EQ(StrToFloatDefault("", 0), 0);
  EXPECT_EQ(StrToFloatDefault("", 7), 7);
  EXPECT_EQ(StrToFloatDefault("1,5", 0), 0);
  EXPECT_EQ(StrToFloatDefault(" 1.5 ", 0), 1.5L);
}

}  // namespace

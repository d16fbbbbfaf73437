#include "common/Routines.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

bool IsHexDigit(char ch) {
  return IsDigit(ch) || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

size_t SkipSpaces(std::string_view s, size_t i) {
  while (i < s.size() && s[i] == ' ') ++i;
  return i;
}

// Hex digits only, at least one, nothing after; the value must stay within
// the positive range of a signed 32-bit integer like a decimal one.
bool ReadHexInt(std::string_view s, int32_t& value) {
  if (s.empty()) return false;
  int64_t result = 0;
  for (char ch : s) {
    if (!IsHexDigit(ch)) return false;
    result = result * 16 + HexDigitValue(ch);
    if (result > std::numeric_limits<int32_t>::max()) return false;
  }
  value = static_cast<int32_t>(result);
  return true;
}

bool ReadDecimalInt(std::string_view s, int32_t& value) {
  size_t i = 0;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  if (i == s.size()) return false;
  // One more than the largest positive value, so that the most negative value fits.
  const int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
  int64_t result = 0;
  for (; i < s.size(); ++i) {
    if (!IsDigit(s[i])) return false;
    result = result * 10 + (s[i] - '0');
    if (result > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -result : result);
  return true;
}

// The pieces of real text found by the grammar scan, before any arithmetic.
struct TRealText {
  bool Negative = false;
  std::string_view Number;      // mantissa and exponent, without sign and spaces
  uint64_t Mantissa = 0;        // the first 19 significant digits
  int64_t DecimalExponent = 0;  // value = Mantissa x 10^DecimalExponent
  int SignificantDigits = 0;
};

constexpr int kMaxMantissaDigits = 19;
// Far beyond the reach of any floating-point type; keeps the exponent sum small.
constexpr int64_t kExponentCap = 100000;

void ScanDigits(std::string_view s, size_t& i, TRealText& text, bool fraction, int& count) {
  for (; i < s.size() && IsDigit(s[i]); ++i, ++count) {
    if (text.SignificantDigits == 0 && s[i] == '0') {
      if (fraction) --text.DecimalExponent;
      continue;
    }
    if (text.SignificantDigits < kMaxMantissaDigits) {
      text.Mantissa = text.Mantissa * 10 + static_cast<uint64_t>(s[i] - '0');
      ++text.SignificantDigits;
      if (fraction) --text.DecimalExponent;
    } else if (!fraction) {
      ++text.DecimalExponent;  // a dropped whole digit still scales the value
    }
  }
}

bool ScanExponent(std::string_view s, size_t& i, int64_t& exponent) {
  if (i == s.size() || (s[i] != 'e' && s[i] != 'E')) return true;
  ++i;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  if (i == s.size() || !IsDigit(s[i])) return false;
  int64_t value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    value = std::min(value * 10 + (s[i] - '0'), kExponentCap);
  }
  exponent = negative ? -value : value;
  return true;
}

bool ScanReal(std::string_view s, TRealText& text) {
  size_t i = SkipSpaces(s, 0);
  text.Negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  const size_t numberStart = i;
  int digits = 0;
  ScanDigits(s, i, text, false, digits);
  const bool point = i < s.size() && s[i] == '.';
  if (point) {
    ++i;
    ScanDigits(s, i, text, true, digits);
  }
  if (digits == 0 && !point) return false;
  int64_t exponent = 0;
  if (!ScanExponent(s, i, exponent)) return false;
  text.Number = s.substr(numberStart, i - numberStart);
  text.DecimalExponent += exponent;
  return SkipSpaces(s, i) == s.size();
}

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

long double RealValue(const TRealText& text, bool& finite) {
  finite = true;
  if (text.Mantissa == 0) return 0;  // "0", ".", "0.000e999"
  // Field values are short: one exact multiply or divide gives the correctly
  // rounded double, without the general conversion.
  const int64_t e = text.DecimalExponent;
  if (text.Mantissa <= (uint64_t{1} << 53) && e >= -22 && e <= 22) {
    const auto m = static_cast<double>(text.Mantissa);
    return e >= 0 ? m * kExactPowers[e] : m / kExactPowers[-e];
  }
  double value = 0;
  const char* end = text.Number.data() + text.Number.size();
  const auto [ptr, ec] = std::from_chars(text.Number.data(), end, value);
  if (ec == std::errc() && ptr == end) return value;
  // Beyond double range: extended precision still reaches further.
  const long double wide =
      static_cast<long double>(text.Mantissa) * std::pow(10.0L, static_cast<long double>(e));
  finite = std::isfinite(wide);
  return wide;
}

}  // namespace

int HexDigitValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return 0;
}

int32_t HexStrToInt(std::string_view s) {
  uint32_t value = 0;
  for (char ch : s) value = value * 16 + static_cast<uint32_t>(HexDigitValue(ch));
  return static_cast<int32_t>(value);
}

uint8_t NmeaChecksum(std::string_view s) {
  uint8_t sum = 0;
  for (char ch : s) sum ^= static_cast<uint8_t>(ch);
  return sum;
}

std::string KeepPrintable(std::string_view s) {
  std::string result;
  result.reserve(s.size());
  for (char ch : s) {
    const auto code = static_cast<unsigned char>(ch);
    if (code >= 32 && code <= 127) result.push_back(ch);
  }
  return result;
}

double SignOf(double x) {
  return x < 0 ? -1.0 : 1.0;
}

double WholeDegrees(double x) {
  return SignOf(x) * std::trunc(std::fabs(x));
}

double WholeMinutes(double x) {
  return std::trunc((x - WholeDegrees(x)) * 100);
}

double MinuteFraction(double x) {
  return (x - WholeMinutes(x) / 100 - WholeDegrees(x)) * 10000;
}

void SplitDegrees(double x, double& degrees, double& minutes, double& seconds) {
  degrees = std::trunc(x);
  const double rest = std::fabs(x) - std::fabs(degrees);
  minutes = std::trunc(rest * 60);
  seconds = (rest - minutes / 60) * 3600;
}

bool TryStrToInt(std::string_view s, int32_t& value) {
  s.remove_prefix(SkipSpaces(s, 0));
  if (s.starts_with("0x") || s.starts_with("0X")) return ReadHexInt(s.substr(2), value);
  if (s.starts_with('$') || s.starts_with('x') || s.starts_with('X')) {
    return ReadHexInt(s.substr(1), value);
  }
  return ReadDecimalInt(s, value);
}

bool TryStrToFloat(std::string_view s, long double& value) {
  TRealText text;
  if (!ScanReal(s, text)) return false;
  bool finite = true;
  const long double magnitude = RealValue(text, finite);
  if (!finite) return false;  // beyond even extended range
  value = text.Negative ? -magnitude : magnitude;
  return true;
}

long double StrToFloatDefault(std::string_view s, long double defaultValue) {
  long double value = 0;
  return TryStrToFloat(s, value) ? value : defaultValue;
}

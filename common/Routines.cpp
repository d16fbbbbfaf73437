#include "common/Routines.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace {

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
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
  // ParseWhole takes the "-" but not the "+", and a sign only once.
  if (s.starts_with('+') && !s.substr(1).starts_with('-')) s.remove_prefix(1);
  const std::optional<int32_t> number = ParseWhole<int32_t>(s);
  if (number) value = *number;
  return number.has_value();
}

// The pieces of real text found by the grammar scan, before any arithmetic.
struct TRealText {
  bool Negative = false;
  std::string_view Number;  // mantissa and exponent, without sign and spaces
  std::string_view Whole;   // digits before the point
  std::string_view Fraction;
  int64_t Exponent = 0;  // as written after the "E", capped
};

// Far beyond the reach of any floating-point type; keeps exponent sums small.
constexpr int64_t kExponentCap = 100000;

std::string_view ScanDigits(std::string_view s, size_t& i) {
  const size_t start = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  return s.substr(start, i - start);
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
  text.Whole = ScanDigits(s, i);
  const bool point = i < s.size() && s[i] == '.';
  if (point) {
    ++i;
    text.Fraction = ScanDigits(s, i);
  }
  if (text.Whole.empty() && text.Fraction.empty() && !point) return false;
  if (!ScanExponent(s, i, text.Exponent)) return false;
  text.Number = s.substr(numberStart, i - numberStart);
  return SkipSpaces(s, i) == s.size();
}

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value as the nearest double; false when it lies beyond double range.
bool DoubleValue(const TRealText& text, double& value) {
  // Field values are short: their digits fit 64 bits, and when the value
  // fits 53 bits with a small power of ten, one exact multiply or divide
  // gives the correctly rounded double without the general conversion.
  if (text.Whole.size() + text.Fraction.size() <= 19) {
    uint64_t mantissa = 0;
    for (char ch : text.Whole) mantissa = mantissa * 10 + static_cast<uint64_t>(ch - '0');
    for (char ch : text.Fraction) mantissa = mantissa * 10 + static_cast<uint64_t>(ch - '0');
    const int64_t e = text.Exponent - static_cast<int64_t>(text.Fraction.size());
    if (mantissa == 0) {  // "0", ".", "0.000e999"
      value = 0;
      return true;
    }
    if (mantissa <= (uint64_t{1} << 53) && e >= -22 && e <= 22) {
      const auto m = static_cast<double>(mantissa);
      value = e >= 0 ? m * kExactPowers[e] : m / kExactPowers[-e];
      return true;
    }
  }
  const char* end = text.Number.data() + text.Number.size();
  const auto [ptr, ec] = std::from_chars(text.Number.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// Beyond double range (or below it), where extended precision still reaches:
// the first 19 significant digits scaled by their power of ten.
long double WideValue(const TRealText& text) {
  uint64_t mantissa = 0;
  int digits = 0;
  int64_t exponent = text.Exponent;
  auto take = [&](std::string_view run, bool fraction) {
    for (char ch : run) {
      if (digits == 0 && ch == '0') {
        exponent -= fraction;
      } else if (digits < 19) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(ch - '0');
        ++digits;
        exponent -= fraction;
      } else {
        exponent += !fraction;  // a dropped whole digit still scales the value
      }
    }
  };
  take(text.Whole, false);
  take(text.Fraction, true);
  if (mantissa == 0) return 0;
  return static_cast<long double>(mantissa) * std::pow(10.0L, static_cast<long double>(exponent));
}

constexpr long double kDoubleLimit = 0x1p1024L - 0x1p970L;

}  // namespace

bool IsHexDigit(char ch) {
  return IsDigit(ch) || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

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

std::string FrameSentence(std::string_view body) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const uint8_t checksum = NmeaChecksum(body);
  std::string sentence;
  sentence.reserve(body.size() + 4);
  sentence.append("$").append(body).append("*");
  sentence.push_back(kHex[checksum >> 4]);
  sentence.push_back(kHex[checksum & 0x0F]);
  return sentence;
}

bool ChecksumMatches(std::string_view line, size_t start, size_t star) {
  if (start == std::string_view::npos || star == std::string_view::npos) return false;
  const auto expected = static_cast<uint8_t>(HexStrToInt(line.substr(star + 1, 2)));
  const uint8_t computed =
      star > start ? NmeaChecksum(line.substr(start + 1, star - start - 1)) : 0;
  return computed == expected;
}

bool SentenceChecksumHolds(std::string_view line) {
  if (line.empty() || (line[0] != '$' && line[0] != '!')) return false;
  return ChecksumMatches(line, 0, line.find('*'));
}

uint8_t NmeaChecksum(std::string_view s) {
  // Eight characters at a time: XOR does not care how the bytes are grouped.
  uint64_t wide = 0;
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t chunk = 0;
    std::memcpy(&chunk, s.data() + i, 8);
    wide ^= chunk;
  }
  wide ^= wide >> 32;
  wide ^= wide >> 16;
  wide ^= wide >> 8;
  auto sum = static_cast<uint8_t>(wide);
  for (; i < s.size(); ++i) sum ^= static_cast<uint8_t>(s[i]);
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

std::optional<int32_t> ParseDigits(std::string_view text) {
  if (text.size() > 9) return std::nullopt;
  const std::optional<uint32_t> value = ParseWhole<uint32_t>(text);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

bool TryStrToInt(std::string_view s, int32_t& value) {
  // Fields are mostly a few plain digits: read those without the grammar.
  if (const std::optional<int32_t> plain = ParseDigits(s)) {
    value = *plain;
    return true;
  }
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
  double narrow = 0;
  long double magnitude = DoubleValue(text, narrow) ? narrow : WideValue(text);
  if (!std::isfinite(magnitude)) return false;  // beyond even extended range
  value = text.Negative ? -magnitude : magnitude;
  return true;
}

bool TryStrToDouble(std::string_view s, double& value) {
  TRealText text;
  if (!ScanReal(s, text)) return false;
  double magnitude = 0;
  if (!DoubleValue(text, magnitude)) {
    // Out of range either way: too large fails, too small rounds toward 0.
    const long double wide = WideValue(text);
    if (!(wide < kDoubleLimit)) return false;
    magnitude = static_cast<double>(wide);
  }
  value = text.Negative ? -magnitude : magnitude;
  return true;
}

long double StrToFloatDefault(std::string_view s, long double defaultValue) {
  long double value = 0;
  return TryStrToFloat(s, value) ? value : defaultValue;
}

// A replay file's every byte passes here: two library scans a line, where
// find_first_of would look each byte up in the set.
size_t FindLineStop(std::string_view text, size_t from, bool lfEndsLines) {
  if (from >= text.size()) return std::string_view::npos;
  const char* const begin = text.data();
  const void* stop = std::memchr(begin + from, lfEndsLines ? '\n' : '\r', text.size() - from);
  const size_t end = stop ? static_cast<const char*>(stop) - begin : text.size();
  if (const void* mark = std::memchr(begin + from, kEndMark, end - from))
    return static_cast<const char*>(mark) - begin;
  return stop ? end : std::string_view::npos;
}

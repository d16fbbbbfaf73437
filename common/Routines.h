#pragma once
// Small routines shared by the decoder, the serial port, the command dialog and
// the field formats: hex text, the NMEA XOR checksum, the printable filter,
// degree arithmetic and the two number grammars of sentence fields.
// Text is 8-bit throughout.

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// "0".."9" and "A".."F" in either case.
bool IsHexDigit(char ch);
// "A".."F" (either case) give 10..15, "0".."9" give 0..9, anything else 0.
int HexDigitValue(char ch);
// Accumulates HexDigitValue of every character; rejects nothing, wraps in 32 bits.
int32_t HexStrToInt(std::string_view s);
// XOR of all character codes, 0 for empty text.
uint8_t NmeaChecksum(std::string_view s);
// The checksum after `star` (two hex digits) against the characters after
// `start` and before `star`; false when either is npos.
bool ChecksumMatches(std::string_view line, size_t start, size_t star);
// Whether a line that starts with "$" or "!" (the encapsulated sentences of
// AIS and the like) carries a "*" and the XOR of every character between
// its first one and that "*" in the two hex digits after it. False for any
// other line.
bool SentenceChecksumHolds(std::string_view line);
// "$" body "*" and the checksum of the body as two upper-case hex digits.
std::string FrameSentence(std::string_view body);
// The line rules of a replay file, which the replay and its index share:
// how lines end (CR, or LF in a file with no CR) is decided from its first
// kLineEndProbe bytes, a longer line than kLongestLine keeps its first
// kLongestLine characters (as every source's lines and tolvane-decode's
// do), and character kEndMark, the end mark of old text files, ends the
// file.
inline constexpr size_t kLineEndProbe = 64 * 1024;
inline constexpr size_t kLongestLine = 32767;
inline constexpr char kEndMark = 26;
// Where the line that goes on at `from` stops: the first CR (LF where LF
// ends lines) or kEndMark; npos when there is neither.
size_t FindLineStop(std::string_view text, size_t from, bool lfEndsLines);
// Drops every character below 32 or above 127.
std::string KeepPrintable(std::string_view s);

double SignOf(double x);
double WholeDegrees(double x);
double WholeMinutes(double x);
double MinuteFraction(double x);
// Signed decimal degrees into signed whole degrees, whole minutes and seconds.
void SplitDegrees(double x, double& degrees, double& minutes, double& seconds);

// Decimal digits, after a "-" only where T is signed, and nothing else: no
// spaces, no "+", no hex. Nothing when the text is not such a number or its
// value does not fit T. The plain grammar of ports, counts and stored
// numbers; TryStrToInt reads the wider one of sentence fields.
template <std::integral T>
std::optional<T> ParseWhole(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}
// At most nine decimal digits and nothing else, as NMEA sends the whole
// numbers of its fields: every such number fits an int32_t.
std::optional<int32_t> ParseDigits(std::string_view text);

// Integer text: optional leading spaces, optional sign, decimal digits; or hex
// digits after "$", "x", "X", "0x" or "0X". Must fit a signed 32-bit integer.
bool TryStrToInt(std::string_view s, int32_t& value);
// Real text: optional spaces, sign, digits, ".", digits, exponent, trailing
// spaces. "." alone reads as 0. Never a decimal comma.
bool TryStrToFloat(std::string_view s, long double& value);
// Real text as the nearest double, without the extended detour that field
// decoding does not need; fails also when the value is beyond double range.
bool TryStrToDouble(std::string_view s, double& value);
// The real text's value, or the default when it is not valid real text.
long double StrToFloatDefault(std::string_view s, long double defaultValue);

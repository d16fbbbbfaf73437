#include "format/FormatRoutines.h"

#include <charconv>
#include <cmath>

#include "common/Routines.h"
#include "format/DateTimePattern.h"

namespace {

constexpr int32_t kMaxDecimals = 18;
constexpr int32_t kFallbackDecimals = 2;
constexpr int kSignificantDigits = 18;

// A number as decimal digits: Digits[0] stands for 10^Top, each next digit for
// the next lower power; digits past Count are zeros.
struct TDecimal {
  bool Negative = false;
  char Digits[kSignificantDigits + 1] = {};
  int Count = 0;
  int Top = 0;

  char DigitAt(int power) const {
    const int index = Top - power;
    return index >= 0 && index < Count ? Digits[index] : '0';
  }
};

// The value's 18 most significant digits, rounded to the nearest from its
// exact binary value, behind one leading zero that takes a carry when the
// rounding at the decimal place runs all the way up (9.99 to 10.0).
TDecimal ToDecimal(double value) {
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific,
                                    kSignificantDigits - 1);
  // text is "[-]d.ddddddddddddddddde[+-]x..."
  TDecimal number;
  const char* p = text;
  number.Negative = *p == '-';
  if (number.Negative) ++p;
  number.Digits[0] = '0';
  number.Digits[1] = *p++;
  ++p;  // the decimal point
  for (int k = 2; k <= kSignificantDigits; ++k) number.Digits[k] = *p++;
  ++p;  // the 'e'
  const bool negativeExponent = *p++ == '-';
  int exponent = 0;
  for (; p < result.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  number.Count = kSignificantDigits + 1;
  number.Top = (negativeExponent ? -exponent : exponent) + 1;
  return number;
}

// Rounds half away from zero at 10^-decimals, on the digits themselves.
void RoundAt(TDecimal& number, int decimals) {
  const int kept = number.Top + 1 + decimals;
  if (kept >= number.Count) return;
  if (kept <= 0) {  // even the leading zero lies below the decimal place
    number.Count = 0;
    return;
  }
  number.Count = kept;
  if (number.Digits[kept] < '5') return;
  for (int k = kept - 1; k >= 0; --k) {
    if (number.Digits[k] != '9') {
      ++number.Digits[k];
      return;
    }
    number.Digits[k] = '0';
  }
}

std::string Render(const TDecimal& number, int decimals) {
  std::string out;
  out.reserve(24);
  bool shownNonZero = false;
  for (int k = 0; k < number.Count; ++k) shownNonZero = shownNonZero || number.Digits[k] != '0';
  if (number.Negative && shownNonZero) out += '-';
  bool started = false;
  for (int power = std::max(number.Top, 0); power >= 0; --power) {
    const char digit = number.DigitAt(power);
    started = started || digit != '0' || power == 0;
    if (started) out += digit;
  }
  if (decimals > 0) {
    out += '.';
    for (int power = -1; power >= -decimals; --power) out += number.DigitAt(power);
  }
  return out;
}

std::string WithLetter(const std::string& number, bool isLatitude, double value) {
  return number + ',' + HemisphereLetter(isLatitude, value);
}

}  // namespace

// Values of 10^18 and more keep plain fixed notation: their digits past the
// eighteenth show as zeros. Not-a-number shows as "NAN" and the infinities as
// "INF" and "-INF", whatever the decimals.
std::string FormatFixed(double value, int32_t decimals) {
  if (decimals < 0 || decimals > kMaxDecimals) decimals = kFallbackDecimals;
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  TDecimal number = ToDecimal(value);
  RoundAt(number, decimals);
  return Render(number, decimals);
}

std::string FormatDate(TDateTime value, const TFieldFormats& formats) {
  return FormatDateTime(formats.DateFormat, value, formats.Locale);
}

std::string FormatTime(TDateTime value, const TFieldFormats& formats) {
  return FormatDateTime(formats.TimeFormat, value, formats.Locale);
}

char HemisphereLetter(bool isLatitude, double value) {
  if (isLatitude) return value >= 0 ? 'N' : 'S';
  return value >= 0 ? 'E' : 'W';
}

std::string FormatPosition(bool isLatitude, double value, const TFieldFormats& formats) {
  const int32_t decimals = formats.PositionDecimals;
  double degrees = 0;
  double minutes = 0;
  double seconds = 0;
  if (formats.PositionFormat > 1) SplitDegrees(value, degrees, minutes, seconds);
  // Degrees and minutes as one number, DDDMM.MM; nothing carries, so minutes
  // that round up to 60 show as 60.
  const double minuteNumber = (std::fabs(degrees) * 100 + minutes) + seconds / 60;
  switch (formats.PositionFormat) {
    case 0:
      return WithLetter(FormatFixed(std::fabs(value), decimals), isLatitude, value);
    case 2:
      return FormatFixed(minuteNumber * SignOf(value), decimals);
    case 3:
      return WithLetter(FormatFixed(minuteNumber, decimals), isLatitude, value);
    case 4:
      return FormatFixed(degrees, 0) + ',' + FormatFixed(minutes, 0) + ',' +
             FormatFixed(seconds, decimals);
    case 5:
      return WithLetter(FormatFixed(std::fabs(degrees), 0) + ',' + FormatFixed(minutes, 0) + ',' +
                            FormatFixed(seconds, decimals),
                        isLatitude, value);
    default:  // 1, and any value outside the list
      return FormatFixed(value, decimals);
  }
}

std::string FormatLatitude(double value, const TFieldFormats& formats) {
  return FormatPosition(true, value, formats);
}

std::string FormatLongitude(double value, const TFieldFormats& formats) {
  return FormatPosition(false, value, formats);
}

std::string FormatAltitude(double value, const TFieldFormats& formats) {
  constexpr double kMetresPerKilometre = 1000;
  constexpr double kMetresPerMile = 1609.344;
  double shown = value;
  if (formats.AltitudeFormat == 1) shown = value / kMetresPerKilometre;
  if (formats.AltitudeFormat == 2) shown = value / kMetresPerMile;
  return FormatFixed(shown, formats.AltitudeDecimals);
}

// The factors are the receiver world's rounded ones, kept as users know them.
std::string FormatSpeed(double value, const TFieldFormats& formats) {
  constexpr double kMetresPerSecondPerKnot = 0.5147;
  constexpr double kKilometresPerHourPerKnot = 1.853;
  constexpr double kMilesPerHourPerKnot = 1.1515;
  double shown = value;
  if (formats.SpeedFormat == 1) shown = value * kMetresPerSecondPerKnot;
  if (formats.SpeedFormat == 2) shown = value * kKilometresPerHourPerKnot;
  if (formats.SpeedFormat == 3) shown = value * kMilesPerHourPerKnot;
  return FormatFixed(shown, formats.SpeedDecimals);
}

std::string FormatCourse(double value, const TFieldFormats& formats) {
  return FormatFixed(value, formats.CourseDecimals);
}

std::string FormatValid(bool flag, const TFieldFormats& formats) {
  switch (formats.ValidFormat) {
    case 1:
      return flag ? "T" : "F";
    case 2:
      return flag ? "1" : "0";
    case 3:
      return flag ? "A" : "V";
    default:
      return flag ? "Yes" : "No";
  }
}

#include <cmath>

#include "common/Routines.h"
#include "nmea/Fields.h"

namespace nmea {
namespace {

// The smallest magnitudes that no longer round to a finite value of the type:
// the largest finite value plus half its last place.
constexpr long double kSingleLimit = 0x1p128L - 0x1p103L;
constexpr long double kDoubleLimit = 0x1p1024L - 0x1p970L;

}  // namespace

bool ReadDouble(std::string_view text, double& value) {
  long double wide = 0;
  if (!TryStrToFloat(text, wide) || std::fabs(wide) >= kDoubleLimit) return false;
  value = static_cast<double>(wide);
  return true;
}

bool ReadSingle(std::string_view text, float& value) {
  long double wide = 0;
  if (!TryStrToFloat(text, wide) || std::fabs(wide) >= kSingleLimit) return false;
  value = static_cast<float>(wide);
  return true;
}

int32_t IntOrZero(std::string_view text) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : 0;
}

float SingleOrZero(std::string_view text) {
  const long double value = StrToFloatDefault(text, 0);
  return std::fabs(value) < kSingleLimit ? static_cast<float>(value) : 0.0f;
}

// Whole degrees, whole minutes and hundredths of minutes, each carrying the
// sign. The whole degrees are truncated as a double, never through a 64-bit
// integer, so a number beyond any 64-bit degree count (above about 9.2e20
// after the division by 100) still converts by the same sum: at that size a
// double has no fraction left, and the result is simply the number / 100,
// large but finite.
double CoordinateDegrees(double value) {
  const double x = value / 100;
  const long double sum = static_cast<long double>(WholeDegrees(x)) +
                          static_cast<long double>(WholeMinutes(x)) / 60 +
                          static_cast<long double>(MinuteFraction(x)) / 6000;
  return static_cast<double>(sum);
}

}  // namespace nmea

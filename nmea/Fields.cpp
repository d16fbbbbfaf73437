#include <cmath>

#include "common/Routines.h"
#include "nmea/Fields.h"

namespace nmea {
namespace {

// The smallest magnitude that no longer rounds to a finite single: the
// largest finite single plus half its last place.
constexpr double kSingleLimit = 0x1p128 - 0x1p103;

}  // namespace

// Text beyond double range fails in TryStrToDouble already.
bool ReadDouble(std::string_view text, double& value) {
  return TryStrToDouble(text, value);
}

bool ReadSingle(std::string_view text, float& value) {
  double wide = 0;
  if (!TryStrToDouble(text, wide) || std::fabs(wide) >= kSingleLimit) return false;
  value = static_cast<float>(wide);
  return true;
}

int32_t GeneralIntOrZero(std::string_view text) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : 0;
}

// StrToFloatDefault with default 0, read through a double: the same value for
// every text whose number fits a single, and 0 for every other.
float SingleOrZero(std::string_view text) {
  float value = 0;
  return ReadSingle(text, value) ? value : 0.0f;
}

// Whole degrees, whole minutes and hundredths of minutes, each carrying the
// sign. The whole degrees are truncated as a double, never through a 64-bit
// integer, so a number beyond any 64-bit degree count (above about 9.2e20
// after the division by 100) still converts by the same sum: at that size a
// double has no fraction left, and the result is simply the number / 100,
// large but finite.
double CoordinateDegrees(double value) {
  // WholeDegrees, WholeMinutes and MinuteFraction, spelled out so that the
  // three share one truncation each.
  const double x = value / 100;
  const double degrees = std::trunc(x);
  const double minutes = std::trunc((x - degrees) * 100);
  const double hundredths = (x - minutes / 100 - degrees) * 10000;
  return degrees + minutes / 60 + hundredths / 6000;
}

}  // namespace nmea

#include "format/PositionText.h"

#include <QString>
#include <QStringList>
#include <cmath>

namespace {

std::optional<double> Number(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Degrees from DDDMM.MM, minutes below 60.
std::optional<double> FromDegreesMinutes(double value) {
  const double magnitude = std::fabs(value);
  const double degrees = std::floor(magnitude / 100);
  const double minutes = magnitude - degrees * 100;
  if (minutes >= 60) return std::nullopt;
  return std::copysign(degrees + minutes / 60, value);
}

std::optional<double> FromParts(const QStringList& parts, double limit) {
  if (parts.size() == 1) {
    const std::optional<double> value = Number(parts[0]);
    if (!value || std::fabs(*value) <= limit) return value;
    return FromDegreesMinutes(*value);
  }
  if (parts.size() != 3) return std::nullopt;
  double magnitude = 0;
  bool negative = false;
  const double scales[] = {1, 60, 3600};
  for (int i = 0; i < 3; ++i) {
    const std::optional<double> value = Number(parts[i]);
    if (!value || (i > 0 && std::fabs(*value) >= 60)) return std::nullopt;
    negative = negative || std::signbit(*value);
    magnitude += std::fabs(*value) / scales[i];
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  return Number(FromUtf8(text));
}

std::optional<double> ParsePosition(std::string_view text, bool isLatitude) {
  QString rest = FromUtf8(text).trimmed();
  double sign = 1;
  if (!rest.isEmpty() && rest.back().isLetter()) {
    const QChar letter = rest.back().toUpper();
    const QString allowed = isLatitude ? "NS" : "EW";
    if (!allowed.contains(letter)) return std::nullopt;
    sign = letter == 'S' || letter == 'W' ? -1 : 1;
    rest.chop(1);
    rest = rest.trimmed();
    if (rest.endsWith(',')) rest.chop(1);
  }
  const double limit = isLatitude ? 90 : 180;
  const std::optional<double> value = FromParts(rest.split(','), limit);
  if (!value || std::fabs(*value) > limit) return std::nullopt;
  // A letter on a negative number is a contradiction, not a double negation.
  if (sign < 0 && std::signbit(*value)) return std::nullopt;
  return sign * *value;
}

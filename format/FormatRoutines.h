#pragma once
// The field format rules: the user's eleven format choices and the operations
// that turn decoded values into display text. Every operation is a pure
// function of its input and the formats it is given, and never fails; whoever
// shows fields holds its own copy of the formats.

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "format/LocaleFormats.h"

struct TFieldFormats {
  std::string DateFormat;
  std::string TimeFormat;
  int32_t PositionFormat = 0;
  int32_t PositionDecimals = 6;
  int32_t AltitudeFormat = 0;
  int32_t AltitudeDecimals = 1;
  int32_t ValidFormat = 0;
  int32_t SpeedFormat = 0;
  int32_t SpeedDecimals = 1;
  int32_t CourseFormat = 0;
  int32_t CourseDecimals = 0;
  // The user's locale, whose names and AM/PM designators the patterns show.
  TLocaleFormats Locale;
};

std::string FormatFixed(double value, int32_t decimals);
std::string FormatDate(TDateTime value, const TFieldFormats& formats);
std::string FormatTime(TDateTime value, const TFieldFormats& formats);
char HemisphereLetter(bool isLatitude, double value);
std::string FormatPosition(bool isLatitude, double value, const TFieldFormats& formats);
std::string FormatLatitude(double value, const TFieldFormats& formats);
std::string FormatLongitude(double value, const TFieldFormats& formats);
std::string FormatAltitude(double value, const TFieldFormats& formats);
std::string FormatSpeed(double value, const TFieldFormats& formats);
std::string FormatCourse(double value, const TFieldFormats& formats);
std::string FormatValid(bool flag, const TFieldFormats& formats);

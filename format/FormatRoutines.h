#pragma once
// The field format rules: the user's eleven format choices and the operations
// that turn decoded values into display text. Every operation is a pure
// function of its input and the formats it is given, and never fails.

#include <array>
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
};

// The formats in use, process-wide; filled by LoadFieldFormats.
extern TFieldFormats FieldFormats;

// The eleven values as the settings store (section "Options") names them:
// one table that loading, filling the dialog and saving all go through. The
// defaults are those of TFieldFormats; the patterns default to the locale's.
struct TTextFormatSetting {
  const char* Name;  // also the name of the dialog's control
  std::string TFieldFormats::*Member;
  std::string TLocaleFormats::*Default;
};
inline constexpr std::array<TTextFormatSetting, 2> kTextFormatSettings{{
    {"DateFormat", &TFieldFormats::DateFormat, &TLocaleFormats::ShortDateFormat},
    {"TimeFormat", &TFieldFormats::TimeFormat, &TLocaleFormats::ShortTimeFormat},
}};

struct TNumberFormatSetting {
  const char* Name;  // also the name of the dialog's control
  int32_t TFieldFormats::*Member;
  bool IsDecimals;  // a count of decimals, else a position in a list
};
inline constexpr std::array<TNumberFormatSetting, 9> kNumberFormatSettings{{
    {"PositionFormat", &TFieldFormats::PositionFormat, false},
    {"PositionDecimals", &TFieldFormats::PositionDecimals, true},
    {"AltitudeFormat", &TFieldFormats::AltitudeFormat, false},
    {"AltitudeDecimals", &TFieldFormats::AltitudeDecimals, true},
    {"ValidFormat", &TFieldFormats::ValidFormat, false},
    {"SpeedFormat", &TFieldFormats::SpeedFormat, false},
    {"SpeedDecimals", &TFieldFormats::SpeedDecimals, true},
    {"CourseFormat", &TFieldFormats::CourseFormat, false},
    {"CourseDecimals", &TFieldFormats::CourseDecimals, true},
}};

// The eleven values as the settings store holds them now.
TFieldFormats StoredFieldFormats();
// Writes the eleven values, in the table's order; throws the store's error.
void StoreFieldFormats(const TFieldFormats& formats);
// Makes the stored values the ones in use.
void LoadFieldFormats();

std::string FormatFixed(double value, int32_t decimals);
std::string FormatDate(TDateTime value, const TFieldFormats& formats = FieldFormats);
std::string FormatTime(TDateTime value, const TFieldFormats& formats = FieldFormats);
char HemisphereLetter(bool isLatitude, double value);
std::string FormatPosition(bool isLatitude, double value,
                           const TFieldFormats& formats = FieldFormats);
std::string FormatLatitude(double value, const TFieldFormats& formats = FieldFormats);
std::string FormatLongitude(double value, const TFieldFormats& formats = FieldFormats);
std::string FormatAltitude(double value, const TFieldFormats& formats = FieldFormats);
std::string FormatSpeed(double value, const TFieldFormats& formats = FieldFormats);
std::string FormatCourse(double value, const TFieldFormats& formats = FieldFormats);
std::string FormatValid(bool flag, const TFieldFormats& formats = FieldFormats);

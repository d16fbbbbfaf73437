#pragma once
// The eleven field formats as the settings store (section "Options") names
// them: one table that loading, filling the dialog and saving all go through.
// The defaults are those of TFieldFormats; the patterns default to the
// locale's. Only the owner of the application's settings loads and saves.

#include <array>

#include "format/FormatRoutines.h"

struct TTextFormatSetting {
  const char* Name;  // also the name of the dialog's control
  std::string TFieldFormats::*Member;
  std::string TLocaleFormats::*Default;
};
inline constexpr std::array<TTextFormatSetting, 2> kTextFormatSettings{{
    {"DateFormat", &TFieldFormats::DateFormat, &TLocaleFormats::ShortDateFormat},
    {"TimeFormat", &TFieldFormats::TimeFormat, &TLocaleFormats::LongTimeFormat},
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

// The eleven values as the settings store holds them now, shown in `locale`.
TFieldFormats StoredFieldFormats(const TLocaleFormats& locale);
// Writes the eleven values, in the table's order; throws the store's error.
void StoreFieldFormats(const TFieldFormats& formats);

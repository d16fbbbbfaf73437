#pragma once
// The user's locale as the date-time patterns see it: the system's date and
// time patterns (already in our own pattern language), the AM/PM designators
// and the day and month names. Where the locale has nothing to say, the
// built-in values below stand.

#include <QLocale>
#include <array>
#include <string>
#include <string_view>

struct TLocaleFormats {
  std::string ShortDateFormat = "m/d/yy";
  std::string LongDateFormat = "mmmm d, yyyy";
  std::string ShortTimeFormat = "h:mm AMPM";
  std::string LongTimeFormat = "h:mm:ss AMPM";
  std::string TimeAMString = "am";
  std::string TimePMString = "pm";
  // Sunday first.
  std::array<std::string, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> LongDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
  // January first.
  std::array<std::string, 12> ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> LongMonthNames = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
};

// The user's locale (QLocale::system()); read once at start-up and handed on
// inside the field formats.
TLocaleFormats SystemLocaleFormats();

// The values a given locale supplies (texts in UTF-8).
TLocaleFormats LocaleFormatsOf(const QLocale& locale);

// A Qt date or time format ("dd.MM.yyyy", "h:mm AP") in our pattern language
// ("dd.mm.yyyy", "h:nn ampm"); letters Qt shows as text are quoted.
std::string PatternFromQtFormat(std::string_view qtFormat);

// The default time pattern a Qt time format implies: "h" or "hh" as the
// locale pads its hours, then ":mm" (or ":mm:ss" when withSeconds), with the
// AM/PM designator after it, or in front when the locale puts it there.
std::string TimePatternFromQtFormat(std::string_view qtFormat, bool withSeconds);

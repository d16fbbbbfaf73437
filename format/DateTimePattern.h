#pragma once
// The date-time pattern language of the Date and Time fields. Letters match in
// either case and an element is a run of one letter:
//   d dd          day of the month, plain / two digits
//   ddd dddd      abbreviated / full day name
//   ddddd dddddd  the locale's short / long date pattern
//   m mm          month, plain / two digits; minutes right after an hour
//   mmm mmmm      abbreviated / full month name
//   y yy          year, two digits;  yyy yyyy: year, four digits
//   h hh          hour, plain / two digits; on a 12-hour clock when an
//                 am/pm, a/p or ampm element goes with it
//   n nn  s ss    minutes, seconds;  z zzz: milliseconds, plain / three digits
//   t tt          the locale's short / long time pattern
//   c             short date, and the long time unless it is midnight
//   ampm          the locale's AM or PM designator
//   am/pm a/p     the half written before or after the "/", as written
//   aaa aaaa      abbreviated / full day name
//   "text" 'text' the text itself
// Any other character stands for itself. An empty pattern means "c"; the
// result is cut at 256 characters.

#include <cstddef>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "format/LocaleFormats.h"

inline constexpr std::size_t kMaxDateTimeText = 256;

std::string FormatDateTime(std::string_view pattern, TDateTime value, const TLocaleFormats& locale);

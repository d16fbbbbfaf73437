#pragma once
// Time and date fields, hhmmss and ddmmyy, are not read digit by digit: their
// first six characters are cut into three two-character pieces and joined as
// "hh:mm:ss" and "dd/mm/yy", and that text is read. The joined text decides
// how short, space-padded or fractional fields read, and it is the text that
// a failure message quotes.

#include <cstddef>
#include <optional>
#include <string_view>

#include "common/DateTime.h"

namespace nmea {

// A joined text in a small buffer on the stack; no allocation per line.
class TJoinedText {
 public:
  void Append(std::string_view piece);
  std::string_view View() const { return {Text, Size}; }

 private:
  char Text[32] = {};
  size_t Size = 0;
};

// "hh:mm:ss" from the first six characters of a time field.
void JoinTime(std::string_view field, TJoinedText& text);
// "dd/mm/yy hh:mm:ss" from a date field and a time field.
void JoinDateTime(std::string_view dateField, std::string_view timeField, TJoinedText& text);

// The whole text must be a time of day: hours, ":" minutes, ":" seconds,
// optionally "." and fraction digits, which are dropped.
bool ReadTimeText(std::string_view text, TDateTime& value);
// Day/month/year, then a time of day of which at least the hours are present;
// reading stops at the first character that cannot continue the time.
// One- and two-digit years fall in the hundred years around currentYear.
bool ReadDateTimeText(std::string_view text, int currentYear, TDateTime& value);
// The four-digit year of a one- or two-digit year for the given current year.
int WindowedYear(int year, int currentYear);

}  // namespace nmea

// The time of day in seconds of an "hhmmss[.sss]" field; none when the
// field does not read as one.
std::optional<double> TimeOfDaySeconds(std::string_view field);

#include "nmea/TimeText.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace nmea {
namespace {

// Digit runs are at most two characters here, but the reader takes any text;
// a long run saturates instead of overflowing and then fails its range check.
constexpr int kRunCap = 100000;

bool IsDigit(std::string_view s, size_t i) {
  return i < s.size() && s[i] >= '0' && s[i] <= '9';
}

// Spaces are skipped only when a number or a separator follows them.
void SkipSpacesBefore(std::string_view s, size_t& i) {
  size_t j = i;
  while (j < s.size() && s[j] == ' ') ++j;
  if (j < s.size() && (IsDigit(s, j) || s[j] == ':' || s[j] == '/')) i = j;
}

// A run of at least one digit, after any spaces.
bool ReadRun(std::string_view s, size_t& i, int& value, int* digits = nullptr) {
  SkipSpacesBefore(s, i);
  if (!IsDigit(s, i)) return false;
  value = 0;
  int count = 0;
  for (; IsDigit(s, i); ++i, ++count) value = std::min(value * 10 + (s[i] - '0'), kRunCap);
  if (digits) *digits = count;
  return true;
}

// Whether the separator follows (after any spaces); consumes it if so.
bool TakeSeparator(std::string_view s, size_t& i, char separator) {
  size_t j = i;
  SkipSpacesBefore(s, j);
  if (j >= s.size() || s[j] != separator) return false;
  i = j + 1;
  return true;
}

// Hours [":" minutes [":" seconds ["." digits]]]; a separator must be followed
// by digits. Stops at the first character that cannot continue the time.
bool ReadClock(std::string_view s, size_t& i, TDateTime& value) {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  if (!ReadRun(s, i, hours)) return false;
  if (TakeSeparator(s, i, ':')) {
    if (!ReadRun(s, i, minutes)) return false;
    if (TakeSeparator(s, i, ':')) {
      if (!ReadRun(s, i, seconds)) return false;
      if (i < s.size() && s[i] == '.') {
        ++i;
        if (!IsDigit(s, i)) return false;
        while (IsDigit(s, i)) ++i;  // the fraction of a second is dropped
      }
    }
  }
  return TryEncodeTime(hours, minutes, seconds, 0, value);
}

// The two digits at i as a number, or -1 when either is not a digit.
int TwoDigits(std::string_view s, size_t i) {
  return IsDigit(s, i) && IsDigit(s, i + 1) ? (s[i] - '0') * 10 + (s[i + 1] - '0') : -1;
}

// What receivers send nearly always: "hh:mm:ss" made of six digits. Read
// directly; anything else goes the general way.
bool PlainClock(std::string_view s, int& hours, int& minutes, int& seconds) {
  if (s.size() != 8 || s[2] != ':' || s[5] != ':') return false;
  hours = TwoDigits(s, 0);
  minutes = TwoDigits(s, 3);
  seconds = TwoDigits(s, 6);
  return hours >= 0 && minutes >= 0 && seconds >= 0;
}

}  // namespace

void TJoinedText::Append(std::string_view piece) {
  const size_t count = std::min(piece.size(), sizeof(Text) - Size);
  std::copy_n(piece.data(), count, Text + Size);
  Size += count;
}

namespace {

// The first six characters of a field, cut into three two-character pieces
// (shorter or empty when the field is) and joined with the separator.
void JoinPieces(std::string_view field, std::string_view separator, TJoinedText& text) {
  const std::string_view six = field.substr(0, 6);
  text.Append(six.substr(0, 2));
  text.Append(separator);
  text.Append(six.substr(std::min<size_t>(2, six.size()), 2));
  text.Append(separator);
  text.Append(six.substr(std::min<size_t>(4, six.size()), 2));
}

}  // namespace

void JoinTime(std::string_view field, TJoinedText& text) {
  JoinPieces(field, ":", text);
}

void JoinDateTime(std::string_view dateField, std::string_view timeField, TJoinedText& text) {
  JoinPieces(dateField, "/", text);
  text.Append(" ");
  JoinTime(timeField, text);
}

bool ReadTimeText(std::string_view text, TDateTime& value) {
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  if (PlainClock(text, hours, minutes, seconds)) {
    return TryEncodeTime(hours, minutes, seconds, 0, value);
  }
  size_t i = 0;
  TDateTime time = 0;
  if (!ReadClock(text, i, time) || i != text.size()) return false;
  value = time;
  return true;
}

int WindowedYear(int year, int currentYear) {
  // The hundred years that a short year stands for begin half a century ago.
  constexpr int kYearsBack = 50;
  const int pivot = currentYear - kYearsBack;
  int result = year + pivot / 100 * 100;
  if (result < pivot) result += 100;
  return result;
}

bool ReadDateTimeText(std::string_view text, int currentYear, TDateTime& value) {
  size_t i = 0;
  int day = 0;
  int month = 0;
  int year = 0;
  int yearDigits = 2;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  TDateTime time = 0;
  const bool plain = text.size() == 17 && text[2] == '/' && text[5] == '/' && text[8] == ' ' &&
                     (day = TwoDigits(text, 0)) >= 0 && (month = TwoDigits(text, 3)) >= 0 &&
                     (year = TwoDigits(text, 6)) >= 0 &&
                     PlainClock(text.substr(9), hours, minutes, seconds);
  if (plain) {
    if (!TryEncodeTime(hours, minutes, seconds, 0, time)) return false;
  } else if (!ReadRun(text, i, day) || !TakeSeparator(text, i, '/') || !ReadRun(text, i, month) ||
             !TakeSeparator(text, i, '/') || !ReadRun(text, i, year, &yearDigits)) {
    return false;
  }
  if (yearDigits <= 2) year = WindowedYear(year, currentYear);
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) return false;
  if (!plain && !ReadClock(text, i, time)) return false;
  value = date + time;
  return true;
}

}  // namespace nmea

std::optional<double> TimeOfDaySeconds(std::string_view field) {
  if (field.size() < 6) return std::nullopt;
  int parts[3] = {};
  for (int i = 0; i < 3; ++i) {
    const char high = field[2 * i];
    const char low = field[2 * i + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9') return std::nullopt;
    parts[i] = (high - '0') * 10 + (low - '0');
  }
  if (parts[0] > 23 || parts[1] > 59 || parts[2] > 60) return std::nullopt;
  double fraction = 0;
  const std::string_view rest = field.substr(6);
  if (!rest.empty()) {
    if (rest[0] != '.') return std::nullopt;
    for (size_t i = 1; i < rest.size(); ++i)
      if (rest[i] < '0' || rest[i] > '9') return std::nullopt;
    if (rest.size() > 1) {
      const std::string digits = "0" + std::string(rest);
      std::from_chars(digits.data(), digits.data() + digits.size(), fraction);
    }
  }
  return parts[0] * 3600.0 + parts[1] * 60.0 + parts[2] + fraction;
}

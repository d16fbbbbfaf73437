#include "format/DateTimePattern.h"

#include <algorithm>
#include <charconv>

namespace {

// Patterns expand the locale's patterns ("ddddd", "t", "c"), which could in
// turn name each other; beyond this depth an expansion gives nothing, so a
// pattern that names itself cannot recurse without end.
constexpr int kMaxNesting = 3;
// Output is gathered a little past the limit so that the cut can step back to
// the start of a multi-byte character instead of splitting it.
constexpr std::size_t kGatherLimit = kMaxDateTimeText + 4;

char ToUpper(char ch) {
  return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}
bool IsLetter(char ch) {
  return ToUpper(ch) >= 'A' && ToUpper(ch) <= 'Z';
}
bool IsQuote(char ch) {
  return ch == '\'' || ch == '"';
}

bool StartsWithNoCase(std::string_view text, std::size_t pos, std::string_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k)
    if (ToUpper(text[pos + k]) != ToUpper(prefix[k])) return false;
  return true;
}

// The length of the am/pm, a/p or ampm element at pos, or 0 when there is none.
std::size_t AmPmLength(std::string_view pattern, std::size_t pos) {
  if (StartsWithNoCase(pattern, pos, "am/pm")) return 5;
  if (StartsWithNoCase(pattern, pos, "a/p")) return 3;
  if (StartsWithNoCase(pattern, pos, "ampm")) return 4;
  return 0;
}

// The closing quote of the quoted text opening at pos, or the end of the
// pattern when the quote is never closed.
std::size_t ClosingQuote(std::string_view pattern, std::size_t pos) {
  return std::min(pattern.find(pattern[pos], pos + 1), pattern.size());
}

enum class TClockHint { None, TwelveHour, TwentyFourHour };

// An hour element is on the 12-hour clock when the first letter "a" after it,
// outside quotes and before any further hour element, begins an am/pm element.
TClockHint ClockAfter(std::string_view pattern, std::size_t pos) {
  while (pos < pattern.size()) {
    const char up = ToUpper(pattern[pos]);
    if (up == 'H') return TClockHint::None;
    if (up == 'A')
      return AmPmLength(pattern, pos) > 0 ? TClockHint::TwelveHour : TClockHint::TwentyFourHour;
    pos = IsQuote(pattern[pos]) ? ClosingQuote(pattern, pos) + 1 : pos + 1;
  }
  return TClockHint::None;
}

class TPatternWriter {
 public:
  TPatternWriter(const TDateTimeParts& parts, const TLocaleFormats& locale, std::string& out)
      : Parts(parts), Locale(locale), Out(out) {}

  void Write(std::string_view pattern, int depth);

 private:
  bool Full() const { return Out.size() >= kGatherLimit; }
  void Append(std::string_view text) { Out.append(text.substr(0, kGatherLimit - Out.size())); }
  void AppendNumber(int value, int minDigits);
  void Expand(std::string_view pattern, int depth) {
    if (depth < kMaxNesting) Write(pattern, depth + 1);
  }
  void WriteDay(std::size_t count, int depth);
  void WriteMonth(std::size_t count);
  void WriteHour(std::size_t count, bool twelveHour);
  std::size_t WriteA(std::string_view pattern, std::size_t pos);
  void WriteC(int depth);
  void WriteRun(char element, std::string_view run, bool twelveHour, int depth);

  const TDateTimeParts Parts;
  const TLocaleFormats& Locale;
  std::string& Out;
};

void TPatternWriter::AppendNumber(int value, int minDigits) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  const auto length = static_cast<int>(result.ptr - digits);
  if (length < minDigits) Append(std::string_view("0000").substr(0, minDigits - length));
  Append(std::string_view(digits, result.ptr));
}

void TPatternWriter::WriteDay(std::size_t count, int depth) {
  const int weekDay = Parts.DayOfWeek - 1;
  if (count <= 2)
    AppendNumber(Parts.Day, static_cast<int>(count));
  else if (count == 3)
    Append(Locale.ShortDayNames[weekDay]);
  else if (count == 4)
    Append(Locale.LongDayNames[weekDay]);
  else if (count == 5)
    Expand(Locale.ShortDateFormat, depth);
  else
    Expand(Locale.LongDateFormat, depth);
}

void TPatternWriter::WriteMonth(std::size_t count) {
  if (count <= 2)
    AppendNumber(Parts.Month, static_cast<int>(count));
  else if (count == 3)
    Append(Locale.ShortMonthNames[Parts.Month - 1]);
  else
    Append(Locale.LongMonthNames[Parts.Month - 1]);
}

void TPatternWriter::WriteHour(std::size_t count, bool twelveHour) {
  int hour = Parts.Hour;
  if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
  AppendNumber(hour, count >= 2 ? 2 : 1);
}

// Letter "a": an am/pm element, a day name, or else just the letter. Returns
// how many pattern characters it used.
std::size_t TPatternWriter::WriteA(std::string_view pattern, std::size_t pos) {
  const bool morning = Parts.Hour < 12;
  const std::size_t length = AmPmLength(pattern, pos);
  if (length == 5)
    Append(pattern.substr(morning ? pos : pos + 3, 2));
  else if (length == 3)
    Append(pattern.substr(morning ? pos : pos + 2, 1));
  else if (length == 4)
    Append(morning ? Locale.TimeAMString : Locale.TimePMString);
  if (length > 0) return length;
  if (StartsWithNoCase(pattern, pos, "aaaa")) {
    Append(Locale.LongDayNames[Parts.DayOfWeek - 1]);
    return 4;
  }
  if (StartsWithNoCase(pattern, pos, "aaa")) {
    Append(Locale.ShortDayNames[Parts.DayOfWeek - 1]);
    return 3;
  }
  Append(pattern.substr(pos, 1));
  return 1;
}

void TPatternWriter::WriteC(int depth) {
  Expand(Locale.ShortDateFormat, depth);
  if (Parts.Hour != 0 || Parts.Minute != 0 || Parts.Second != 0 || Parts.Millisecond != 0) {
    Append(" ");
    Expand(Locale.LongTimeFormat, depth);
  }
}

// One element: a run of the letter (upper case; "N" also for minutes written
// as "m") in its count.
void TPatternWriter::WriteRun(char element, std::string_view run, bool twelveHour, int depth) {
  const std::size_t count = run.size();
  const int digits = count >= 2 ? 2 : 1;
  switch (element) {
    case 'D':
      WriteDay(count, depth);
      break;
    case 'M':
      WriteMonth(count);
      break;
    case 'Y':
      AppendNumber(count <= 2 ? Parts.Year % 100 : Parts.Year, count <= 2 ? 2 : 4);
      break;
    case 'H':
      WriteHour(count, twelveHour);
      break;
    case 'N':
      AppendNumber(Parts.Minute, digits);
      break;
    case 'S':
      AppendNumber(Parts.Second, digits);
      break;
    case 'Z':
      AppendNumber(Parts.Millisecond, count >= 2 ? 3 : 1);
      break;
    case 'T':
      Expand(count == 1 ? Locale.ShortTimeFormat : Locale.LongTimeFormat, depth);
      break;
    case 'C':
      WriteC(depth);
      break;
    default:
      Append(run);
  }
}

void TPatternWriter::Write(std::string_view pattern, int depth) {
  char lastLetter = 0;
  bool amPmSinceHour = false;  // an am/pm element since the last hour element
  std::size_t pos = 0;
  while (pos < pattern.size() && !Full()) {
    const char ch = pattern[pos];
    if (IsQuote(ch)) {
      const std::size_t close = ClosingQuote(pattern, pos);
      Append(pattern.substr(pos + 1, close - pos - 1));
      pos = close + 1;
      continue;
    }
    if (!IsLetter(ch)) {
      Append(pattern.substr(pos++, 1));
      continue;
    }
    char element = ToUpper(ch);
    std::size_t count = 1;
    if (element == 'A') {
      count = WriteA(pattern, pos);
      amPmSinceHour = amPmSinceHour || AmPmLength(pattern, pos) > 0;
    } else {
      while (pos + count < pattern.size() && ToUpper(pattern[pos + count]) == element) ++count;
      if (element == 'M' && count <= 2 && lastLetter == 'H') element = 'N';
      bool twelveHour = false;
      if (element == 'H') {
        // A designator in front of the hour ("ampm h:nn") counts when none follows.
        const TClockHint hint = ClockAfter(pattern, pos + count);
        twelveHour = hint == TClockHint::TwelveHour || (hint == TClockHint::None && amPmSinceHour);
        amPmSinceHour = false;
      }
      WriteRun(element, pattern.substr(pos, count), twelveHour, depth);
    }
    lastLetter = element;
    pos += count;
  }
}

// Cuts at the limit, stepping back rather than splitting a UTF-8 character.
void CutToLimit(std::string& text) {
  if (text.size() <= kMaxDateTimeText) return;
  std::size_t end = kMaxDateTimeText;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, TDateTime value,
                           const TLocaleFormats& locale) {
  std::string out;
  out.reserve(32);
  TPatternWriter writer(DecodeDateTime(value), locale, out);
  writer.Write(pattern.empty() ? std::string_view("C") : pattern, 0);
  CutToLimit(out);
  return out;
}

#include "format/LocaleFormats.h"

#include <QString>
#include <algorithm>
#include <optional>

namespace {

bool IsAsciiLetter(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

// Text that Qt shows as it stands, written so that our pattern language shows
// it unchanged too: letters and single quotes go inside double quotes, and a
// double quote inside single quotes.
std::string QuoteLiteral(std::string_view text) {
  std::string out;
  bool open = false;
  for (const char ch : text) {
    if (ch == '"') {
      if (open) out += '"';
      open = false;
      out += "'\"'";
      continue;
    }
    if (!open && (IsAsciiLetter(ch) || ch == '\'')) {
      out += '"';
      open = true;
    }
    out += ch;
  }
  if (open) out += '"';
  return out;
}

// Reads Qt's quoted text opening at pos ('' inside or outside quotes is one
// quote) into literal; returns the position after it.
std::size_t ReadQtQuoted(std::string_view format, std::size_t pos, std::string& literal) {
  if (pos + 1 < format.size() && format[pos + 1] == '\'') {
    literal += '\'';
    return pos + 2;
  }
  ++pos;
  while (pos < format.size()) {
    if (format[pos] != '\'') {
      literal += format[pos++];
    } else if (pos + 1 < format.size() && format[pos + 1] == '\'') {
      literal += '\'';
      pos += 2;
    } else {
      return pos + 1;
    }
  }
  return pos;
}

// Our element for a run of count letters ch of a Qt format: none for letters
// Qt shows as text, empty for the one we leave out (the time zone name).
std::optional<std::string> ElementOf(char ch, std::size_t count) {
  const bool two = count >= 2;
  switch (ch) {
    case 'd':
      return std::string(std::min<std::size_t>(count, 4), 'd');
    case 'M':
      return std::string(std::min<std::size_t>(count, 4), 'm');
    case 'y':
      return count > 2 ? "yyyy" : "yy";
    case 'h':
    case 'H':
      return two ? "hh" : "h";
    case 'm':
      return two ? "nn" : "n";
    case 's':
      return two ? "ss" : "s";
    case 'z':
      return two ? "zzz" : "z";
    case 't':
      return "";
    default:
      return std::nullopt;
  }
}

// Where a Qt time format puts its first hour element and its AM/PM
// designator, and how many letters the hour has.
struct TQtTimeLayout {
  std::size_t HourPos = std::string_view::npos;
  std::size_t HourCount = 0;
  std::size_t DesignatorPos = std::string_view::npos;
};

TQtTimeLayout TimeLayoutOf(std::string_view format) {
  TQtTimeLayout layout;
  std::string ignored;
  std::size_t pos = 0;
  while (pos < format.size()) {
    const char ch = format[pos];
    if (ch == '\'') {
      pos = ReadQtQuoted(format, pos, ignored);
      continue;
    }
    std::size_t count = 1;
    while (pos + count < format.size() && format[pos + count] == ch) ++count;
    if ((ch == 'h' || ch == 'H') && layout.HourPos == std::string_view::npos) {
      layout.HourPos = pos;
      layout.HourCount = count;
    }
    if ((ch == 'a' || ch == 'A') && layout.DesignatorPos == std::string_view::npos)
      layout.DesignatorPos = pos;
    pos += count;
  }
  return layout;
}

void SetIfAny(std::string& target, const QString& value) {
  if (!value.isEmpty()) target = value.toStdString();
}

}  // namespace

std::string PatternFromQtFormat(std::string_view qtFormat) {
  std::string out;
  std::string literal;
  std::size_t pos = 0;
  while (pos < qtFormat.size()) {
    const char ch = qtFormat[pos];
    if (ch == '\'') {
      pos = ReadQtQuoted(qtFormat, pos, literal);
      continue;
    }
    std::size_t count = 1;
    std::optional<std::string> element;
    if (ch == 'a' || ch == 'A') {  // "AP", "ap", "A" or "a": the designator
      const char next = pos + 1 < qtFormat.size() ? qtFormat[pos + 1] : '\0';
      count = next == 'p' || next == 'P' ? 2 : 1;
      element = "ampm";
    } else {
      while (pos + count < qtFormat.size() && qtFormat[pos + count] == ch) ++count;
      element = ElementOf(ch, count);
    }
    if (element) {
      out += QuoteLiteral(literal) + *element;
      literal.clear();
    } else {
      literal.append(qtFormat.substr(pos, count));
    }
    pos += count;
  }
  return out + QuoteLiteral(literal);
}

std::string TimePatternFromQtFormat(std::string_view qtFormat, bool withSeconds) {
  const TQtTimeLayout layout = TimeLayoutOf(qtFormat);
  std::string time = layout.HourCount >= 2 ? "hh" : "h";
  time += withSeconds ? ":mm:ss" : ":mm";
  if (layout.DesignatorPos == std::string_view::npos) return time;
  if (layout.HourPos != std::string_view::npos && layout.DesignatorPos < layout.HourPos)
    return "AMPM " + time;
  return time + " AMPM";
}

TLocaleFormats LocaleFormatsOf(const QLocale& locale) {
  TLocaleFormats formats;
  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  if (!shortDate.isEmpty()) formats.ShortDateFormat = PatternFromQtFormat(shortDate.toStdString());
  const QString longDate = locale.dateFormat(QLocale::LongFormat);
  if (!longDate.isEmpty()) formats.LongDateFormat = PatternFromQtFormat(longDate.toStdString());
  const std::string time = locale.timeFormat(QLocale::ShortFormat).toStdString();
  if (!time.empty()) formats.ShortTimeFormat = TimePatternFromQtFormat(time, false);
  // The long format's time zone is left out: the fields show UTC.
  const std::string longTime = locale.timeFormat(QLocale::LongFormat).toStdString();
  if (!longTime.empty()) formats.LongTimeFormat = TimePatternFromQtFormat(longTime, true);
  SetIfAny(formats.TimeAMString, locale.amText());
  SetIfAny(formats.TimePMString, locale.pmText());
  for (int day = 0; day < 7; ++day) {
    const int qtDay = day == 0 ? 7 : day;  // Qt counts Monday 1 .. Sunday 7
    SetIfAny(formats.ShortDayNames[day], locale.dayName(qtDay, QLocale::ShortFormat));
    SetIfAny(formats.LongDayNames[day], locale.dayName(qtDay, QLocale::LongFormat));
  }
  for (int month = 0; month < 12; ++month) {
    SetIfAny(formats.ShortMonthNames[month], locale.monthName(month + 1, QLocale::ShortFormat));
    SetIfAny(formats.LongMonthNames[month], locale.monthName(month + 1, QLocale::LongFormat));
  }
  return formats;
}

TLocaleFormats SystemLocaleFormats() {
  return LocaleFormatsOf(QLocale::system());
}

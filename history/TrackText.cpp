#include "history/TrackText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kDegreeDecimals = 9;

// Two digits at `at` of `text`, or -1.
int TwoDigits(const std::string& text, size_t at) {
  const char high = text[at];
  const char low = text[at + 1];
  if (high < '0' || high > '9' || low < '0' || low > '9') return -1;
  return (high - '0') * 10 + (low - '0');
}

}  // namespace

void AppendNumber(std::string& text, double value) {
  char buffer[32];
  text.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void AppendDegrees(std::string& text, double degrees) {
  char buffer[64];
  const char* end =
      std::to_chars(buffer, buffer + sizeof buffer, degrees, std::chars_format::fixed).ptr;
  const std::string_view shortest(buffer, static_cast<size_t>(end - buffer));
  text += shortest;
  const size_t point = shortest.find('.');
  const size_t decimals = point == std::string_view::npos ? 0 : shortest.size() - point - 1;
  if (point == std::string_view::npos) text += '.';
  if (decimals < kDegreeDecimals) text.append(kDegreeDecimals - decimals, '0');
}

std::optional<std::string> IsoTime(const std::optional<std::string>& date,
                                   const std::optional<double>& seconds) {
  if (!date || date->size() != 6 || !seconds || !std::isfinite(*seconds) || *seconds < 0)
    return std::nullopt;
  const int day = TwoDigits(*date, 0);
  const int month = TwoDigits(*date, 2);
  const int year = TwoDigits(*date, 4);
  if (day < 1 || day > 31 || month < 1 || month > 12 || year < 0) return std::nullopt;
  // Milliseconds, so that 19.1 is not written 19.099999.
  const long long millis = std::llround(*seconds * 1000);
  const long long whole = millis / 1000;
  // A leap second's time of day runs past 86,400 s: it stays in 23:59.
  const long long hour = std::min(whole / 3600, 23LL);
  const long long minute = std::min((whole - hour * 3600) / 60, 59LL);
  const long long second = whole - hour * 3600 - minute * 60;
  char buffer[48];
  int length = std::snprintf(buffer, sizeof buffer, "20%02d-%02d-%02dT%02lld:%02lld:%02lld", year,
                             month, day, hour, minute, second);
  std::string text(buffer, static_cast<size_t>(length));
  if (const long long fraction = millis % 1000; fraction != 0) {
    std::snprintf(buffer, sizeof buffer, ".%03lld", fraction);
    std::string digits(buffer);
    while (digits.back() == '0') digits.pop_back();
    text += digits;
  }
  return text + 'Z';
}

#include "monitor/LogFileName.h"

#include <cstdio>
#include <string_view>

namespace {

// Left to right, never rescanning inserted text.
std::string ReplaceAll(const std::string& text, std::string_view from, const std::string& to) {
  std::string result;
  std::size_t start = 0;
  for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, start)) {
    result.append(text, start, hit - start).append(to);
    start = hit + from.size();
  }
  return result.append(text, start);
}

std::string DateDigits(TDateTime value) {
  const TDateTimeParts parts = DecodeDateTime(value);
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", parts.Year, parts.Month, parts.Day);
  return text;
}

std::string TimeDigits(TDateTime value) {
  const TDateTimeParts parts = DecodeDateTime(value);
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d", parts.Hour, parts.Minute, parts.Second);
  return text;
}

}  // namespace

std::string ExpandLogFileName(const std::string& name, TDateTime date, TDateTime time) {
  return ReplaceAll(ReplaceAll(name, "%DATE", DateDigits(date)), "%TIME", TimeDigits(time));
}

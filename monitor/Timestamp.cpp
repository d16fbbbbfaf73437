#include "monitor/Timestamp.h"

#include <cstdio>

std::string RelativeStamp(uint32_t now, uint32_t start) {
  return std::to_string(static_cast<uint32_t>(now - start));
}

std::string ClockStamp(TDateTime now) {
  const TDateTimeParts parts = DecodeDateTime(now);
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", parts.Hour, parts.Minute, parts.Second,
                parts.Millisecond);
  return text;
}

std::string StampedLine(std::string_view stamp, std::string_view line) {
  std::string result;
  result.reserve(stamp.size() + line.size() + 2);
  return result.append("~").append(stamp).append(",").append(line);
}

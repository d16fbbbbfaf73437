#include "nmea/TagBlock.h"

#include "common/Routines.h"

std::string_view StripTagBlock(std::string_view line) {
  if (line.empty() || line.front() != '\\') return line;
  const size_t close = line.find('\\', 1);
  // The closing backslash follows "*hh" right after the tags.
  if (close == std::string_view::npos || close < 4) return line;
  const size_t star = close - 3;
  const char high = line[star + 1];
  const char low = line[star + 2];
  if (line[star] != '*' || !IsHexDigit(high) || !IsHexDigit(low)) return line;
  if (NmeaChecksum(line.substr(1, star - 1)) != HexStrToInt(line.substr(star + 1, 2))) return line;
  return line.substr(close + 1);
}

#include "nmea/TagBlock.h"

std::string_view StripTagBlock(std::string_view line) {
  if (line.empty() || line.front() != '\\') return line;
  const size_t close = line.find('\\', 1);
  if (close == std::string_view::npos) return line;
  return line.substr(close + 1);
}

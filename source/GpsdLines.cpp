#include "source/GpsdLines.h"

#include <cstdio>

namespace {

std::string JsonString(std::string_view text) {
  std::string quoted = "\"";
  for (char ch : text) {
    if (ch == '"' || ch == '\\') {
      quoted += '\\';
      quoted += ch;
    } else if (static_cast<unsigned char>(ch) < 32) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(ch));
      quoted += escape;
    } else {
      quoted += ch;
    }
  }
  return quoted + "\"";
}

}  // namespace

std::string GpsdWatchRequest(std::string_view device) {
  std::string request = "?WATCH={\"enable\":true,\"nmea\":true";
  if (!device.empty()) request += ",\"device\":" + JsonString(device);
  return request + "}\n";
}

size_t TGpsdLineFilter::Filter(char* data, size_t size) {
  size_t kept = 0;
  for (size_t i = 0; i < size; ++i) {
    const char ch = data[i];
    if (AtLineStart) Skipping = ch == '{';
    AtLineStart = ch == '\n';
    if (!Skipping) data[kept++] = ch;
  }
  return kept;
}

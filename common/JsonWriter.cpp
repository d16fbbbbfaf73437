#include "common/JsonWriter.h"

#include <cstdio>

std::string_view JsonEscape(char ch, TJsonText text, char (&buffer)[8]) {
  if (ch == '"' || ch == '\\') {
    buffer[0] = '\\';
    buffer[1] = ch;
    return {buffer, 2};
  }
  // Each output keeps the hex case its readers have always had: the
  // decoder tool's lines upper case, the epochs and gpsd's request lower.
  const int size =
      std::snprintf(buffer, sizeof buffer, text == TJsonText::Bytes ? "\\u%04X" : "\\u%04x",
                    static_cast<unsigned>(static_cast<unsigned char>(ch)));
  return {buffer, static_cast<size_t>(size)};
}

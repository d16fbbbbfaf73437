#include "source/GpsdLines.h"

#include "common/JsonWriter.h"

std::string GpsdWatchRequest(std::string_view device) {
  std::string request = "?WATCH=";
  TJsonStringSink sink(request);
  TJsonWriter json(sink, TJsonText::Utf8);
  json.BeginObject();
  json.Key("enable");
  json.Boolean(true);
  json.Key("nmea");
  json.Boolean(true);
  if (!device.empty()) {
    json.Key("device");
    json.String(device);
  }
  json.EndObject();
  json.EndLine();
  return request;
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

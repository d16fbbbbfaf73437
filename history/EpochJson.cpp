#include "history/EpochJson.h"

#include <cstdio>

#include "history/TrackText.h"

namespace {

class TJsonText {
 public:
  explicit TJsonText(std::string& text) : Text(text) {}

  void Key(const char* name) {
    Text += Text.size() > 1 ? ",\"" : "\"";
    Text += name;
    Text += "\":";
  }
  void Number(double value) { AppendNumber(Text, value); }
  void Number(int64_t value) { Text += std::to_string(value); }
  template <typename T>
  void Optional(const std::optional<T>& value) {
    if (value)
      Number(*value);
    else
      Text += "null";
  }
  void String(const std::optional<std::string>& value) {
    if (!value) {
      Text += "null";
      return;
    }
    Text += '"';
    for (const char ch : *value) {
      if (ch == '"' || ch == '\\') {
        Text += '\\';
        Text += ch;
      } else if (static_cast<unsigned char>(ch) < 0x20) {
        char escaped[16];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(ch));
        Text += escaped;
      } else {
        Text += ch;
      }
    }
    Text += '"';
  }

 private:
  std::string& Text;
};

std::optional<int64_t> Wide(const std::optional<int>& value) {
  if (!value) return std::nullopt;
  return *value;
}

}  // namespace

std::string EpochJson(const TEpoch& epoch) {
  std::string text = "{";
  text.reserve(320);
  TJsonText json(text);
  json.Key("n");
  json.Number(static_cast<int64_t>(epoch.Line));
  json.Key("time");
  json.String(epoch.Time);
  json.Key("date");
  json.String(epoch.Date);
  json.Key("quality");
  json.Optional(Wide(epoch.Quality));
  json.Key("mode");
  json.Optional(Wide(epoch.Mode));
  json.Key("lat");
  json.Optional(epoch.Latitude);
  json.Key("lon");
  json.Optional(epoch.Longitude);
  json.Key("alt");
  json.Optional(epoch.Altitude);
  json.Key("used");
  json.Optional(Wide(epoch.Used));
  json.Key("pdop");
  json.Optional(epoch.PDOP);
  json.Key("hdop");
  json.Optional(epoch.HDOP);
  json.Key("vdop");
  json.Optional(epoch.VDOP);
  json.Key("diffAge");
  json.Optional(epoch.DiffAge);
  json.Key("cn0");
  text += '{';
  const auto cn0 = EpochCn0(epoch);
  bool first = true;
  for (size_t system = 0; system < cn0.size(); ++system) {
    if (!cn0[system]) continue;
    text += first ? "\"" : ",\"";
    first = false;
    text += SkySystemName(static_cast<TSkySystem>(system));
    text += "\":";
    json.Number(*cn0[system]);
  }
  text += '}';
  json.Key("interference");
  text += epoch.Interference ? "true" : "false";
  text += '}';
  return text;
}

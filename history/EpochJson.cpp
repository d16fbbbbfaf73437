#include "history/EpochJson.h"

#include "common/JsonWriter.h"

namespace {

using TWriter = TJsonWriter<TJsonStringSink>;

void Number(TWriter& json, double value) {
  json.Double(value);
}
void Number(TWriter& json, int value) {
  json.Integer(value);
}

template <typename T>
void Optional(TWriter& json, const std::optional<T>& value) {
  if (value)
    Number(json, *value);
  else
    json.Null();
}

void Optional(TWriter& json, const std::optional<std::string>& text) {
  if (text)
    json.String(*text);
  else
    json.Null();
}

}  // namespace

std::string EpochJson(const TEpoch& epoch) {
  std::string text;
  text.reserve(320);
  TJsonStringSink sink(text);
  TWriter json(sink, TJsonText::Utf8);
  json.BeginObject();
  json.Key("n");
  json.Integer(static_cast<int64_t>(epoch.Line));
  json.Key("time");
  Optional(json, epoch.Time);
  json.Key("date");
  Optional(json, epoch.Date);
  json.Key("quality");
  Optional(json, epoch.Quality);
  json.Key("mode");
  Optional(json, epoch.Mode);
  json.Key("lat");
  Optional(json, epoch.Latitude);
  json.Key("lon");
  Optional(json, epoch.Longitude);
  json.Key("alt");
  Optional(json, epoch.Altitude);
  json.Key("used");
  Optional(json, epoch.Used);
  json.Key("pdop");
  Optional(json, epoch.PDOP);
  json.Key("hdop");
  Optional(json, epoch.HDOP);
  json.Key("vdop");
  Optional(json, epoch.VDOP);
  json.Key("diffAge");
  Optional(json, epoch.DiffAge);
  json.Key("cn0");
  json.BeginObject();
  const auto cn0 = EpochCn0(epoch);
  for (size_t system = 0; system < cn0.size(); ++system) {
    if (!cn0[system]) continue;
    json.Key(SkySystemName(static_cast<TSkySystem>(system)));
    json.Double(*cn0[system]);
  }
  json.EndObject();
  json.Key("interference");
  json.Boolean(epoch.Interference);
  if (!epoch.Jamming.empty()) {
    json.Key("jamming");
    json.BeginObject();
    for (const TRfJamming& block : epoch.Jamming) {
      json.Key(RfBlockName(block.BlockId));
      json.String(JammingStateName(block.State));
    }
    json.EndObject();
  }
  json.EndObject();
  return text;
}

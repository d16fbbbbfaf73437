// --sky: the satellites of each fix epoch, as the Satellites window's model
// holds them when the next epoch begins (before its GSA sets are cleared)
// and at the end of the input,
// {"n":LINE,"time":"223745.00","satellites":[{"system":"GPS","sv":5,
//  "signal":1,"el":6,"az":110,"snr":19,"used":false},...]}.
// Only epochs in which a GSV or GSA arrived are printed; those before the
// first time sentence have the time null.

#include <cstring>

#include "nmea/SkyModel.h"
#include "tools/decode/Mode.h"

namespace decode {

namespace {

class TSkyMode : public TDecodeMode {
 public:
  explicit TSkyMode(TOutput& output) : Json(output) {
    Sky.SetEpochHandler([this] { WriteEpoch(); });
  }

  void Line(uint64_t number, std::string_view text, TSentenceResult, const TNMEA&) override {
    LineNumber = number;
    Sky.Take(text);
  }

  // The last epoch ends with the input, whose last line may be empty.
  void Finish(uint64_t lastLine) override {
    LineNumber = lastLine;
    WriteEpoch();
  }

 private:
  void WriteEpoch() {
    if (!Sky.EpochHasSky()) return;
    Json.BeginObject();
    Json.Key("n");
    Json.Integer(static_cast<int64_t>(LineNumber));
    Json.Key("time");
    if (const auto time = Sky.EpochTime())
      Json.String(*time);
    else
      Null();
    Json.Key("satellites");
    Json.BeginArray();
    for (const TSkyEntry& entry : Sky.Entries()) WriteEntry(entry);
    Json.EndArray();
    Json.EndObject();
    Json.EndLine();
  }

  void WriteEntry(const TSkyEntry& entry) {
    Json.BeginObject();
    Json.Key("system");
    Json.String(SkySystemName(entry.System));
    Json.Key("sv");
    Json.Integer(entry.Satellite);
    Json.Key("signal");
    Json.Integer(entry.Signal);
    Json.Key("el");
    Optional(entry.Elevation);
    Json.Key("az");
    Optional(entry.Azimuth);
    Json.Key("snr");
    Optional(entry.SNR);
    Json.Key("used");
    Json.Boolean(entry.Used);
    Json.EndObject();
  }

  void Optional(const std::optional<int32_t>& value) {
    if (value)
      Json.Integer(*value);
    else
      Null();
  }

  void Null() {
    char* text = Json.RawBegin(4);
    std::memcpy(text, "null", 4);
    Json.RawEnd(text + 4);
  }

  TOutputJson Json;
  TSkyModel Sky;
  uint64_t LineNumber = 0;
};

const TModeRegistration kSky{{"--sky",
                              "the satellites of each fix epoch by system, number and signal",
                              [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                return std::make_unique<TSkyMode>(output);
                              }}};

}  // namespace

}  // namespace decode

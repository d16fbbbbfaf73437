// --report [--reference LAT,LON,ALT]: how good the fixes are, as one JSON
// object from the figures the Position window shows,
// {"fixes":N,"byQuality":{"1":N,...},"reference":{"lat":..,"lon":..,"alt":..},
//  "mean":{...},"sd":{"east":M,"north":M,"up":M},
//  "horizontal":{"cep50":M,"cep95":M,"drms2":M,"max":M},
//  "vertical":{"p50":M,"p95":M,"max":M}}; only {"fixes":0} without a fix.

#include <string>

#include "tools/decode/EpochFeed.h"
#include "tools/decode/Output.h"

namespace decode {

namespace {

class TReportMode : public TEpochFeed {
 public:
  TReportMode(TOutput& output, const std::optional<TGeodetic>& reference)
      : Json(output), Reference(reference) {}

 private:
  void Epoch(TEpoch& epoch) override {
    Fixes.insert(Fixes.end(), epoch.Fixes.begin(), epoch.Fixes.end());
  }

  void End() override {
    const TAccuracy accuracy = MeasureAccuracy(Fixes, Reference);
    Json.BeginObject();
    Json.Key("fixes");
    Json.Integer(static_cast<int64_t>(accuracy.Fixes));
    if (accuracy.Fixes > 0) WriteFigures(accuracy);
    Json.EndObject();
    Json.EndLine();
  }

  void WriteFigures(const TAccuracy& accuracy) {
    Json.Key("byQuality");
    Json.BeginObject();
    for (const auto& [quality, count] : accuracy.ByQuality) {
      const std::string name = std::to_string(quality);
      Json.Key(name);
      Json.Integer(static_cast<int64_t>(count));
    }
    Json.EndObject();
    Position("reference", accuracy.Reference);
    Position("mean", accuracy.Mean);
    Object("sd", {{"east", accuracy.Deviation.East},
                  {"north", accuracy.Deviation.North},
                  {"up", accuracy.Deviation.Up}});
    Object("horizontal", {{"cep50", accuracy.Cep50},
                          {"cep95", accuracy.Cep95},
                          {"drms2", accuracy.Drms2},
                          {"max", accuracy.HorizontalMax}});
    Object("vertical", {{"p50", accuracy.VerticalP50},
                        {"p95", accuracy.VerticalP95},
                        {"max", accuracy.VerticalMax}});
  }

  void Position(std::string_view name, const TGeodetic& position) {
    Object(name,
           {{"lat", position.Latitude}, {"lon", position.Longitude}, {"alt", position.Altitude}});
  }

  void Object(std::string_view name,
              std::initializer_list<std::pair<std::string_view, double>> members) {
    Json.Key(name);
    Json.BeginObject();
    for (const auto& [key, value] : members) {
      Json.Key(key);
      Json.Double(value);
    }
    Json.EndObject();
  }

  TOutputJson Json;
  std::optional<TGeodetic> Reference;
  std::vector<TEpochFix> Fixes;
};

const TModeRegistration kReport{
    {"--report", "how good the fixes are: their spread around the mean or --reference", nullptr,
     [](TOutput& output, const TModeArguments& arguments) -> std::unique_ptr<TDecodeMode> {
       return std::make_unique<TReportMode>(output, arguments.Reference);
     }}};

}  // namespace

}  // namespace decode

// --stats: one JSON object at the end with a row per sentence address (the
// same rows as the program's Statistics window, counted by the same rule)
// and their total.

#include <cstddef>
#include <limits>

#include "monitor/SentenceStats.h"
#include "nmea/SkyModel.h"
#include "tools/decode/JsonWriter.h"
#include "tools/decode/Mode.h"

namespace decode {

namespace {

class TStatsMode : public TDecodeMode {
 public:
  // Every address keeps its own row here, however many the files hold.
  explicit TStatsMode(TOutput& output) : Json(output), Stats(std::numeric_limits<size_t>::max()) {}

  void Line(uint64_t, std::string_view text, TSentenceResult result, const TNMEA&) override {
    Stats.Count(text, LineFault(text, result, Sky.Take(text)), 0);
  }

  void Finish(uint64_t) override {
    Json.BeginObject();
    Json.Key("rows");
    Json.BeginArray();
    for (const TSentenceStatsRow* row : Stats.SortedRows()) {
      Json.BeginObject();
      Json.Key("address");
      Json.String(row->Address);
      Counts(*row);
      Json.EndObject();
    }
    Json.EndArray();
    Json.Key("total");
    Json.BeginObject();
    Counts(Stats.Total());
    Json.EndObject();
    Json.EndObject();
    Json.EndLine();
  }

 private:
  void Counts(const TSentenceStatsRow& row) {
    Json.Key("count");
    Json.Integer(static_cast<int64_t>(row.Count));
    Json.Key("badChecksum");
    Json.Integer(static_cast<int64_t>(row.BadChecksum));
    Json.Key("invalid");
    Json.Integer(static_cast<int64_t>(row.Invalid));
  }

  TJsonWriter Json;
  TSentenceStats Stats;
  // Whether a GSV is invalid is the sky model's to say.
  TSkyModel Sky;
};

const TModeRegistration kStats{{"--stats",
                                "counts per sentence address (checksum and decode failures)",
                                [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                  return std::make_unique<TStatsMode>(output);
                                }}};

}  // namespace

}  // namespace decode

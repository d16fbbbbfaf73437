// --stats: one JSON object at the end with a row per sentence address (the
// same rows as the program's Statistics window, counted by the same rule,
// frames included), their total and the bytes of the frames; under --follow also every 10 s, with
// the relay's counts
// (--share) and the broker's (--mqtt) at the top level. As in the window,
// past 1,000 addresses a new one counts in "(not a sentence)", and an
// address keeps at most 16 characters: random bytes make a new address of
// almost every line, and the rows must not grow with the input.

#include <cstddef>

#include "monitor/SentenceStats.h"
#include "nmea/FrameNames.h"
#include "nmea/SkyModel.h"
#include "tools/decode/Mode.h"

namespace decode {

namespace {

class TStatsMode : public TDecodeMode {
 public:
  explicit TStatsMode(TOutput& output) : Json(output) {}

  // A line with a long address is cut after its address's last character
  // kept: nothing else of it is written out.
  void Line(uint64_t, std::string_view text, TSentenceResult result, const TNMEA&) override {
    const bool longAddress =
        SentenceAddress(text).size() == kMaxAddressLength && text.size() > 1 + kMaxAddressLength &&
        text[1 + kMaxAddressLength] != ',' && text[1 + kMaxAddressLength] != '*';
    const TLineFault fault = LineFault(text, result, Sky.Take(text));
    Stats.Count(longAddress ? text.substr(0, 1 + kMaxAddressLength) : text, fault, 0);
  }

  // A frame has a row of its own, outside the bound and the total.
  void Frame(uint64_t, const TFrame& frame) override {
    Stats.CountFrame(FrameAddress(frame), FrameSummary(frame), frame.Bytes.size(), 0);
  }

  void Finish(uint64_t) override { Write(); }
  void Report(uint64_t) override { Write(); }
  void SetExtraMembers(TExtraMembers write) override { Extra = std::move(write); }

 private:
  void Write() {
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
    Json.Key("binaryBytes");
    Json.Integer(static_cast<int64_t>(Stats.BinaryBytes()));
    if (Extra) Extra(Json);
    Json.EndObject();
    Json.EndLine();
  }

  void Counts(const TSentenceStatsRow& row) {
    Json.Key("count");
    Json.Integer(static_cast<int64_t>(row.Count));
    Json.Key("badChecksum");
    Json.Integer(static_cast<int64_t>(row.BadChecksum));
    Json.Key("invalid");
    Json.Integer(static_cast<int64_t>(row.Invalid));
  }

  TOutputJson Json;
  TSentenceStats Stats;
  // Whether a GSV is invalid is the sky model's to say.
  TSkyModel Sky;
  TExtraMembers Extra;
};

const TModeRegistration kStats{{"--stats",
                                "counts per sentence address (checksum and decode failures)",
                                [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                  return std::make_unique<TStatsMode>(output);
                                }}};

}  // namespace

}  // namespace decode

// --summary: one JSON object at the end with the number of lines of each
// result and their total (empty lines are not decoded and not counted).

#include <array>

#include "tools/decode/Mode.h"

namespace decode {

namespace {

constexpr int kResultCount = static_cast<int>(TSentenceResult::RME) + 1;

class TSummaryMode : public TDecodeMode {
 public:
  explicit TSummaryMode(TOutput& output) : Json(output) {}

  void Line(uint64_t, std::string_view, TSentenceResult result, const TNMEA&) override {
    const auto code = static_cast<size_t>(result);
    if (code < Counts.size()) ++Counts[code];
    ++Total;
  }

  void Finish(uint64_t) override {
    Json.BeginObject();
    for (int code = 0; code < kResultCount; ++code) {
      Json.Key(SentenceResultName(static_cast<TSentenceResult>(code)));
      Json.Integer(static_cast<int64_t>(Counts[code]));
    }
    Json.Key("total");
    Json.Integer(static_cast<int64_t>(Total));
    Json.EndObject();
    Json.EndLine();
  }

 private:
  TOutputJson Json;
  std::array<uint64_t, kResultCount> Counts{};
  uint64_t Total = 0;
};

const TModeRegistration kSummary{{"--summary",
                                  "only a count of lines per result and the total, at the end",
                                  [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                    return std::make_unique<TSummaryMode>(output);
                                  }}};

}  // namespace

}  // namespace decode

// The default mode: one JSON object per line,
// {"n":7,"code":3,"result":"srGGA","GGA":{...}}, and one per frame,
// {"n":8,"frame":"UBX","class":1,"id":7,"name":"NAV-PVT","length":92}.

#include "nmea/FrameNames.h"
#include "tools/decode/Mode.h"
#include "tools/decode/RecordJson.h"

namespace decode {

namespace {

class TJsonLinesMode : public TDecodeMode {
 public:
  explicit TJsonLinesMode(TOutput& output) : Json(output) {}

  void Line(uint64_t number, std::string_view text, TSentenceResult result,
            const TNMEA& decoder) override {
    Json.BeginObject();
    WriteLineHead(Json, number, result);
    WriteResultRecord(Json, result, text, decoder);
    Json.EndObject();
    Json.EndLine();
  }

  void Frame(uint64_t number, const TFrame& frame) override {
    Json.BeginObject();
    Json.Key("n");
    Json.Integer(static_cast<int64_t>(number));
    WriteFrameMembers(Json, frame);
    Json.EndObject();
    Json.EndLine();
  }

 private:
  TOutputJson Json;
};

const TModeRegistration kJsonLines{{"", "one JSON object per non-empty line (the default)",
                                    [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                      return std::make_unique<TJsonLinesMode>(output);
                                    }}};

}  // namespace

}  // namespace decode

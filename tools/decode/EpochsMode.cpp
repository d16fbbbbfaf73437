// --epochs: one JSON object per fix epoch, as the history records it (see
// history/EpochJson.h): every epoch --sky delimits, those without satellite
// data too.

#include "history/EpochJson.h"
#include "history/EpochRecorder.h"
#include "tools/decode/Mode.h"

namespace decode {

namespace {

class TEpochsMode : public TDecodeMode {
 public:
  explicit TEpochsMode(TOutput& output) : Out(output), Recorder(Sky) {
    Recorder.SetEpochHandler([this](TEpoch& epoch) {
      Out.Write(EpochJson(epoch));
      Out.Put('\n');
    });
  }

  void Line(uint64_t number, std::string_view text, TSentenceResult result, const TNMEA&) override {
    Recorder.Take(number, text, result);
  }

  void Finish(uint64_t lastLine) override { Recorder.Finish(lastLine); }

 private:
  TOutput& Out;
  TSkyModel Sky;
  TEpochRecorder Recorder;
};

const TModeRegistration kEpochs{{"--epochs",
                                 "one object per fix epoch: fix, dilution, C/N0 per system, "
                                 "interference",
                                 [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                   return std::make_unique<TEpochsMode>(output);
                                 }}};

}  // namespace

}  // namespace decode

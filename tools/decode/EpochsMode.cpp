// --epochs: one JSON object per fix epoch, as the history records it (see
// history/EpochJson.h), with the jamming verdicts of MON-RF frames: every
// epoch --sky delimits, those without satellite data too.

#include "history/EpochJson.h"
#include "tools/decode/EpochFeed.h"

namespace decode {

namespace {

class TEpochsMode : public TEpochFeed {
 public:
  explicit TEpochsMode(TOutput& output) : Out(output) {}

 private:
  void Epoch(TEpoch& epoch) override {
    Out.Write(EpochJson(epoch));
    Out.Put('\n');
  }
  void End() override {}

  TOutput& Out;
};

const TModeRegistration kEpochs{{"--epochs",
                                 "one object per fix epoch: fix, dilution, C/N0 per system, "
                                 "interference, jamming",
                                 [](TOutput& output) -> std::unique_ptr<TDecodeMode> {
                                   return std::make_unique<TEpochsMode>(output);
                                 }}};

}  // namespace

}  // namespace decode

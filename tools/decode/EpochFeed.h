#pragma once
// The modes that work on fix epochs: every line goes to an epoch recorder
// (which drives its own sky model), as does the jamming verdict of every
// MON-RF frame, and each completed epoch to Epoch().

#include "history/EpochRecorder.h"
#include "nmea/SkyModel.h"
#include "nmea/UbxMonRf.h"
#include "tools/decode/Mode.h"

namespace decode {

class TEpochFeed : public TDecodeMode {
 public:
  TEpochFeed() {
    Recorder.SetEpochHandler([this](TEpoch& epoch) { Epoch(epoch); });
  }

  void Line(uint64_t number, std::string_view text, TSentenceResult result, const TNMEA&) override {
    Recorder.Take(number, text, result);
  }

  void Frame(uint64_t /*number*/, const TFrame& frame) override {
    if (const std::optional<TMonRf> rf = MonRfOf(frame)) Recorder.TakeJamming(*rf);
  }

  void Finish(uint64_t lastLine) override {
    Recorder.Finish(lastLine);
    End();
  }

 protected:
  virtual void Epoch(TEpoch& epoch) = 0;
  // After the last epoch.
  virtual void End() = 0;

 private:
  TSkyModel Sky;
  TEpochRecorder Recorder{Sky};
};

}  // namespace decode

#pragma once
// Turns lines into epochs. The recorder drives a sky model: each line goes
// to the sky first, and when the sky says an epoch ends (a new time text),
// the recorder completes the epoch it has gathered, with the sky's
// satellite-signals as they stand at that moment, and hands it on. Lines
// before the first time sentence form an epoch only if they carried
// satellite data, as for `tolvane-decode --sky`.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "history/Epoch.h"
#include "history/Interference.h"
#include "nmea/NMEA.h"
#include "nmea/SkyModel.h"
#include "nmea/UbxNavPvt.h"

class TEpochRecorder {
 public:
  static constexpr double kJammingForgetSeconds = 10;

  // Takes over the sky model's epoch handler; the sky outlives the recorder.
  explicit TEpochRecorder(TSkyModel& sky);
  TEpochRecorder(const TEpochRecorder&) = delete;
  TEpochRecorder& operator=(const TEpochRecorder&) = delete;

  // Called with each completed epoch; the handler may move from it.
  void SetEpochHandler(std::function<void(TEpoch&)> handler) { OnEpoch = std::move(handler); }

  // A line as the decoder took it (without any TAG block), its number and
  // the decoder's verdict. Returns what the sky model's Take returned.
  bool Take(uint64_t number, std::string_view sentence, TSentenceResult decoded);
  // A MON-RF: its jamming verdicts go with every epoch from the one in
  // progress on, until another comes. They are let go once the epochs' time
  // has run kJammingForgetSeconds past the epoch they came in: a receiver
  // that stopped sending them says nothing of the jamming since.
  void TakeJamming(const TMonRf& rf);
  // The verdicts the next epoch will carry.
  const std::vector<TRfJamming>& Jamming() const { return LastJamming; }
  // The input has ended: the epoch in progress is complete. The sky model's
  // own EndEpoch is the caller's to call.
  void Finish(uint64_t lastLine);
  // A NAV-PVT: its carrier solution and claimed accuracies go to its epoch,
  // the one under way or, when its time is another, the next one.
  void TakeNavPvt(const TNavPvt& pvt);
  // Forgets everything, the sky model's satellites included.
  void Clear();
  // Takes what `other` has gathered (not its sky model, not its handler):
  // for a replay that saves its place and comes back to it. Our sky model
  // hands its epochs to us again, should it be a copy of the other's.
  void CopyStateFrom(const TEpochRecorder& other);

  // Interference as the last completed epoch left it, and the time text of
  // the epoch that raised the alarm.
  bool InterferenceSuspected() const { return Watch.Suspected(); }
  const std::optional<std::string>& InterferenceSince() const { return AlarmSince; }

 private:
  struct TLastGsa {
    std::optional<int> Mode;
    std::optional<double> PDOP;
    std::optional<double> VDOP;
  };

  void Complete();
  void AgeJamming(const std::optional<std::string>& time);
  void TakeFields(std::string_view sentence, TSentenceResult decoded);
  void TakeGGA(std::string_view sentence, TSentenceResult decoded);
  void TakeGSA(std::string_view sentence);
  void TakeRMC(std::string_view sentence);
  void TakeGST(std::string_view sentence);
  void TakeRME(std::string_view sentence);

  TSkyModel& Sky;
  std::function<void(TEpoch&)> OnEpoch;
  TEpoch Current;
  uint64_t LineNumber = 0;
  // The epoch under way has a GGA that the decoder took.
  bool DecodedGga = false;
  std::optional<std::string> LastDate;
  TLastGsa LastGsa;
  std::optional<TNavPvt> NextPvt;  // for the epoch that begins next
  TInterferenceWatch Watch;
  std::optional<std::string> AlarmSince;
  std::vector<TRfJamming> LastJamming;
  // The time of day of the epoch the last MON-RF came in, when it had one.
  std::optional<double> JammingTime;
  bool JammingInEpoch = false;  // a MON-RF came in the epoch under way
};

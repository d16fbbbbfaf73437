#include "monitor/HistoryFill.h"

#include "common/BackgroundWork.h"
#include "monitor/DataFile.h"

void THistoryFill::Start(const std::string& fileName, std::shared_ptr<const TReplayCheckpoint> from,
                         uint64_t first, uint64_t end, uint32_t tick) {
  Cancel();
  Work = std::make_shared<TWork>();
  Work->End = end;
  Worker = std::thread([work = Work, fileName, from = std::move(from), first, tick] {
    LowerThreadPriority();
    try {
      TDataFile file;
      file.openForReading(fileName);
      auto state = std::make_unique<TReceiverState>();
      uint64_t epochs = 0;
      if (from) {
        state->Assign(from->State);
        epochs = from->Epochs;
        file.seekTo(from->Offset);
      }
      // The last epoch wanted in, the reading stops.
      state->Recorder.SetEpochHandler([&](TEpoch& epoch) {
        if (epochs++ >= first) work->Epochs.push_back(std::move(epoch));
        if (epochs == work->End) work->Stop.store(true);
      });
      if (epochs < work->End) state->AbsorbUpTo(file, UINT64_MAX, tick, &work->Stop);
      if (epochs < work->End) work->Epochs.clear();
    } catch (...) {
      work->Epochs.clear();
    }
    work->Done.store(true, std::memory_order_release);
  });
}

void THistoryFill::Cancel() {
  if (Work) Work->Stop.store(true);
  if (Worker.joinable()) Worker.join();
  Work.reset();
}

std::optional<uint64_t> THistoryFill::End() const {
  if (!Work) return std::nullopt;
  return Work->End;
}

std::optional<std::vector<TEpoch>> THistoryFill::Take() {
  if (!Work || !Work->Done.load(std::memory_order_acquire)) return std::nullopt;
  Worker.join();
  std::vector<TEpoch> epochs = std::move(Work->Epochs);
  Work.reset();
  return epochs;
}

#pragma once
// Everything the lines taken so far have built up, apart from the history
// and the lines shown: the decoder's records, the statistics, the sky model
// with the epoch in progress, and what the fix display shows. A replay keeps
// copies of it (checkpoints) to come back to.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Frame.h"
#include "history/EpochRecorder.h"
#include "monitor/DataFile.h"
#include "monitor/MonitorOptions.h"
#include "monitor/ReceiverFrames.h"
#include "monitor/SentenceStats.h"
#include "monitor/ShownFix.h"
#include "nmea/NMEA.h"
#include "nmea/SkyModel.h"

// Whether the options keep lines the decoder gave `result` off the display.
bool Filtered(TSentenceResult result, const TMonitorOptions& options);

struct TReceiverState {
  TReceiverState() = default;
  TReceiverState(const TReceiverState&) = delete;
  TReceiverState& operator=(const TReceiverState&) = delete;

  // Takes everything of `other` but where its recorder hands its epochs.
  void Assign(const TReceiverState& other);
  // Decodes, records and counts a line (`tick` for the statistics' rates)
  // and notes what the fix display would show of it; the decoder's verdict.
  // A leading TAG block is skipped.
  TSentenceResult Absorb(std::string_view line, uint32_t tick);
  // Counts a binary frame (`summary` is the line shown for it) and takes what
  // the receiver says in it.
  void AbsorbFrame(const TFrame& frame, const std::string& summary, uint32_t tick);
  // Absorbs the lines and frames of `file` from where it stands up to offset
  // `end` or its end, until `stop` (when given) is set.
  void AbsorbUpTo(TDataFile& file, uint64_t end, uint32_t tick,
                  const std::atomic<bool>* stop = nullptr);

  uint64_t Lines = 0;  // taken so far: the epochs' line numbers
  TNMEA Decoder;
  TSentenceStats Counts;
  TSkyModel Sky;
  TEpochRecorder Recorder{Sky};
  TShownFix Shown;
  TReceiverFrames Frames;
};

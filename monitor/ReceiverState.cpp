#include "monitor/ReceiverState.h"

#include "nmea/FrameNames.h"
#include "nmea/TagBlock.h"

bool Filtered(TSentenceResult result, const TMonitorOptions& options) {
  switch (result) {
    case TSentenceResult::BadChecksum:
    case TSentenceResult::Invalid:
      return options.IgnoreInvalid;
    case TSentenceResult::GGA:
      return options.IgnoreGGA;
    case TSentenceResult::RMC:
      return options.IgnoreRMC;
    case TSentenceResult::GSV:
      return options.IgnoreGSV;
    case TSentenceResult::GSA:
      return options.IgnoreGSA;
    case TSentenceResult::Unrecognised:
    case TSentenceResult::RME:
      return false;
  }
  return false;
}

void TReceiverState::Assign(const TReceiverState& other) {
  Lines = other.Lines;
  Decoder = other.Decoder;
  Counts = other.Counts;
  Sky = other.Sky;
  Recorder.CopyStateFrom(other.Recorder);
  Shown = other.Shown;
  Frames = other.Frames;
}

// The decoder takes the line before any filter, so a filtered sentence still
// updates its record; the filters apply when the display is written. A TAG
// block is not part of the sentence.
TSentenceResult TReceiverState::Absorb(std::string_view line, uint32_t tick) {
  const std::string_view sentence = StripTagBlock(line);
  const TSentenceResult decoded = Decoder.Decode(sentence);
  const bool skyRead = Recorder.Take(++Lines, sentence, decoded);
  Counts.Count(sentence, LineFault(sentence, decoded, skyRead), tick);
  Shown.Note(decoded, Decoder);
  return decoded;
}

void TReceiverState::AbsorbFrame(const TFrame& frame, const std::string& summary, uint32_t tick) {
  Counts.CountFrame(FrameAddress(frame), summary, frame.Bytes.size(), tick);
  Frames.Take(frame, Recorder, tick);
}

void TReceiverState::AbsorbUpTo(TDataFile& file, uint64_t end, uint32_t tick,
                                const std::atomic<bool>* stop) {
  while (file.readOffset() < end && !file.atEnd() &&
         !(stop && stop->load(std::memory_order_relaxed))) {
    const std::string line = file.readLine();
    if (!IsFrameLine(line)) {
      if (!line.empty()) Absorb(line, tick);
    } else if (const std::optional<TFrame> frame = FrameOf(std::string_view(line).substr(1))) {
      AbsorbFrame(*frame, FrameSummary(*frame), tick);
    }
  }
}

#include "monitor/ReceiverState.h"

#include "nmea/TagBlock.h"

bool Filtered(TSentenceResult result, const TMonitorOptions& options) {
  switch (result) {
    case srBadChecksum:
    case srInvalid:
      return options.IgnoreInvalid;
    case srGGA:
      return options.IgnoreGGA;
    case srRMC:
      return options.IgnoreRMC;
    case srGSV:
      return options.IgnoreGSV;
    case srGSA:
      return options.IgnoreGSA;
    case srUnrecognised:
    case srRME:
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

void TReceiverState::AbsorbUpTo(TDataFile& file, uint64_t end, uint32_t tick,
                                const std::atomic<bool>* stop) {
  while (file.readOffset() < end && !file.atEnd() &&
         !(stop && stop->load(std::memory_order_relaxed))) {
    const std::string line = file.readLine();
    if (!line.empty()) Absorb(line, tick);
  }
}

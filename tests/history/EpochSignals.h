#pragma once
// One satellite-signal of an epoch for the history's tests; an SNR of -1 is
// none.

#include "history/Epoch.h"

namespace testing_history {

inline TEpochSignal Signal(TSkySystem system, int satellite, int signal, int elevation, int snr,
                           bool used = false) {
  TEpochSignal entry;
  entry.System = system;
  entry.Satellite = static_cast<uint16_t>(satellite);
  entry.Signal = static_cast<uint8_t>(signal);
  entry.Elevation = static_cast<int8_t>(elevation);
  if (snr >= 0) entry.SNR = static_cast<uint8_t>(snr);
  entry.Used = used;
  return entry;
}

}  // namespace testing_history

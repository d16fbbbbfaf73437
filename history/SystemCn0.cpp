#include "history/SystemCn0.h"

#include <cmath>

std::optional<double> SystemCn0(const TEpoch& epoch, TSkySystem system) {
  int sum = 0;
  int count = 0;
  for (const TEpochSignal& signal : epoch.Signals) {
    if (signal.System != system || !signal.HasSNR()) continue;
    sum += signal.SNR;
    ++count;
  }
  if (count == 0) return std::nullopt;
  return std::round(10.0 * sum / count) / 10;
}

#include "history/EpochHistory.h"

#include <utility>

void THistory::Append(TEpoch epoch) {
  if (Capacity == 0) return;
  if (Epochs.size() == Capacity) {
    Epochs.pop_front();
    ++Evicted;
  }
  Epochs.push_back(std::move(epoch));
  ++Changes;
}

void THistory::Clear() {
  Epochs.clear();
  Evicted = 0;
  ++Changes;
  ++Clears;
}

void THistory::DropFrom(uint64_t end) {
  if (end <= Evicted) return Clear();
  if (end < End()) Epochs.resize(end - Evicted);
  ++Changes;
  ++Clears;
}

#include "history/EpochHistory.h"

#include <algorithm>
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

void THistory::RestartAt(uint64_t end) {
  if (end < Evicted || end > End()) {
    Epochs.clear();
    Evicted = end;
  } else {
    Epochs.resize(end - Evicted);
  }
  ++Changes;
  ++Clears;
}

void THistory::Prepend(std::vector<TEpoch> older) {
  const size_t room = Capacity - std::min(Capacity, Epochs.size());
  const size_t taken = std::min({room, older.size(), static_cast<size_t>(Evicted)});
  for (size_t i = 0; i < taken; ++i) Epochs.push_front(std::move(older[older.size() - 1 - i]));
  Evicted -= taken;
  ++Changes;
  ++Clears;
}

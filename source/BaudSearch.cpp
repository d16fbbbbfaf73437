#include "source/BaudSearch.h"

#include <algorithm>

#include "common/Routines.h"

TBaudSearch::TBaudSearch(int32_t remembered) {
  if (std::find(std::begin(kRates), std::end(kRates), remembered) != std::end(kRates))
    Remembered = remembered;
}

// The order with a remembered rate: it, then the list without it.
int32_t TBaudSearch::Rate() const {
  if (!Remembered) return kRates[Position];
  if (Position == 0) return Remembered;
  const auto remembered = std::find(std::begin(kRates), std::end(kRates), Remembered);
  const int skip = static_cast<int>(remembered - std::begin(kRates));
  return kRates[Position - 1 < skip ? Position - 1 : Position];
}

bool TBaudSearch::TakeLine(std::string_view line) {
  return SentenceChecksumHolds(line) ? TakeValidLine() : Found();
}

bool TBaudSearch::TakeValidLine() {
  ++ValidLines;
  return Found();
}

void TBaudSearch::Next() {
  if (Found()) return;
  ValidLines = 0;
  Position = (Position + 1) % kRateCount;
}

#include "source/RetryDelay.h"

#include <algorithm>

int TRetryDelay::Next() {
  const int wait = Seconds;
  Seconds = std::min(Seconds * 2, kLongestSeconds);
  return wait;
}

#pragma once
// Reading a source's bytes into its line buffer in bounded steps: until a
// line is complete, nothing more waits, or the budget of one call is spent
// (a flood of bytes without a line must not hold the event loop).

#include <cstdint>
#include <functional>

#include "source/LineBuffer.h"

struct TReadResult {
  size_t Bytes = 0;
  // Stopped with bytes perhaps still waiting: read again from the event loop.
  bool BudgetSpent = false;
};

// What one call reads at most while no line is complete: enough to pass a
// flood of junk at a good pace, little enough to keep one event short.
inline constexpr size_t kReadBudget = 64 * 1024;

using TReadBytes = std::function<int64_t(char* chunk, int64_t size)>;

// `read` fills up to `size` bytes and returns the count (0 or less: nothing).
TReadResult FillUntilLine(TLineBuffer& buffer, const TReadBytes& read);
// One read of up to 1 KiB, whether or not a line waits: a serial device is
// taken in at least as fast as lines are taken out, so that what the buffer
// cannot hold is dropped and counted here rather than lost in the driver.
size_t ReadChunk(TLineBuffer& buffer, const TReadBytes& read);

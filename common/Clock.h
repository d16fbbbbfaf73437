#pragma once
// The program's clocks: a 32-bit millisecond tick counter and the local wall
// clock, in plain C++ so that the decoder can read them. Tests replace them
// with their own.

#include <cstdint>
#include <functional>

#include "common/DateTime.h"

namespace Clock {

// Monotonic milliseconds, truncated to 32 bits (wraps after 2^32 ms).
uint32_t TickCount();
// Local wall-clock date and time.
TDateTime Now();

using TTickSource = std::function<uint32_t()>;
using TNowSource = std::function<TDateTime()>;
// An empty function restores the system clock.
void SetTickSource(TTickSource source);
void SetNowSource(TNowSource source);

}  // namespace Clock

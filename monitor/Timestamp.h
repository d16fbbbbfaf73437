#pragma once
// The stamp put in front of a received line when timestamps are on:
// "~" stamp "," line, the stamp being either the milliseconds since a start
// tick or the local clock time.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/DateTime.h"

// Milliseconds from `start` to `now` on the 32-bit tick counter, so a count
// that wrapped past 2^32 still gives the true difference.
std::string RelativeStamp(uint32_t now, uint32_t start);
// "hh:nn:ss.zzz", hours 00 to 23.
std::string ClockStamp(TDateTime now);
std::string StampedLine(std::string_view stamp, std::string_view line);

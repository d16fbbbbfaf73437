#pragma once
// NMEA 4 TAG blocks: a multiplexer or an AIS network may put source, time
// and grouping tags in front of a sentence, between backslashes:
//   \s:buoy12,c:1700000000*5B\$GPGGA,...
// The decoder and the statistics want the sentence behind it; the view and
// the log keep the line as it arrived.

#include <string_view>

// `line` without a leading TAG block (a "\" at the start and the next "\"
// that closes it). A line without one, or whose block never closes, is
// returned unchanged.
std::string_view StripTagBlock(std::string_view line);

#pragma once
// NMEA 4 TAG blocks: a multiplexer or an AIS network may put source, time
// and grouping tags in front of a sentence, between backslashes, with a
// checksum of their own:
//   \s:buoy12,c:1700000000*38\$GPGGA,...
// The decoder and the statistics want the sentence behind it; the view and
// the log keep the line as it arrived.

#include <string_view>

// `line` without a leading TAG block: "\" tags "*" two hex digits "\", the
// digits being the XOR of the tags. Anything else, such as the bytes of a
// receiver in a binary mode that happen to start with a backslash, is no
// block, and the line is returned unchanged.
std::string_view StripTagBlock(std::string_view line);

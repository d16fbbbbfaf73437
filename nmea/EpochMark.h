#pragma once
// Where one fix epoch ends and the next begins: a time sentence (GGA, RMC,
// GNS or GLL) with a valid checksum and a five-character address whose UTC
// time field differs from the last one. The sky model and the replay's pace
// both follow this one rule, so a replay shows the epochs the sky shows.

#include <optional>
#include <string_view>

namespace nmea {

class TSkyLine;

// Whether the sky model reads the line at all: it starts with "$", its
// address has five characters and its checksum is valid.
bool SkyReadable(std::string_view line, const TSkyLine& fields);
// For a time sentence type ("GGA", "RMC", "GNS", "GLL"), its UTC time field,
// taken from `fields` (whose address has been read); none for other types.
std::optional<std::string_view> TakeTimeField(std::string_view type, TSkyLine& fields);
// Both: the time field of a line that marks epochs, as received (without
// a TAG block); none for any other line. An empty field marks nothing.
std::optional<std::string_view> EpochTimeField(std::string_view line);

}  // namespace nmea

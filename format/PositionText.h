#pragma once
// A latitude or longitude as a user types it: signed decimal degrees, or any
// of the notations the Field formats dialog shows ("48.1173,N",
// "-4807.038", "4807.038,N", "48,7,2.28", "48,7,2.28,N"). A number inside
// the coordinate's range is read as degrees, one beyond it as DDDMM.MM.

#include <optional>
#include <string_view>

// A finite decimal number with a dot, spaces around allowed; none else.
std::optional<double> ParseNumber(std::string_view text);

// Signed decimal degrees; none when the text is not a coordinate of the kind
// (a latitude past 90, an "E" on a latitude, minutes of 60 or more).
std::optional<double> ParsePosition(std::string_view text, bool isLatitude);

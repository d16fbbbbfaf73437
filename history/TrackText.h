#pragma once
// Numbers and times as the track files write them: a dot for the decimal
// separator whatever the locale, and no digit lost.

#include <optional>
#include <string>

#include "history/Epoch.h"

// The shortest text that reads back to the same value.
void AppendNumber(std::string& text, double value);
// Degrees with at least 9 digits after the point (a tenth of a millimetre),
// more where the value has them.
void AppendDegrees(std::string& text, double degrees);
// "2026-12-07T12:35:19.5Z" from a "ddmmyy" date (years 20yy) and a time of
// day in seconds; none when the date does not read or no time is known.
std::optional<std::string> IsoTime(const std::optional<std::string>& date,
                                   const std::optional<double>& seconds);

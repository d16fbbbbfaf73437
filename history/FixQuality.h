#pragma once
// The kinds of fix a GGA's quality field tells apart, as the charts' band
// and any other view of the fix name and colour them: one table, so that a
// float shown orange in one window is orange in all.

#include <cstdint>
#include <optional>

// From worst to best, the order a band shows when one pixel column holds
// several: a fallback from fixed to float is never hidden by the fixes
// around it.
enum class TFixQuality : uint8_t { NoFix, DeadReckoning, GPS, DGPS, RTKFloat, RTKFixed };

constexpr int kFixQualityCount = 6;

// GGA field 6: 0 no fix, 1 GPS (and 3, a PPS fix), 2 DGPS, 4 RTK fixed,
// 5 RTK float, 6 dead reckoning; none for 7 (manual), 8 (simulator) and
// anything else, which are no fix from the sky.
std::optional<TFixQuality> FixQualityOf(int ggaQuality);

// "No fix", "GPS", "DGPS", "RTK float", "RTK fixed", "Dead reckoning".
const char* FixQualityName(TFixQuality quality);

// 0xRRGGBB: grey, red-brown, blue, teal, orange, green; told apart by people
// who confuse red and green by their lightness too.
uint32_t FixQualityColour(TFixQuality quality);

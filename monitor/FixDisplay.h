#pragma once
// What the fix display shows, decided away from the widgets: each function
// turns one of the decoder's records into the list of field writes that the
// main window applies in order (and that tolvane-decode --display prints).

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "format/FormatRoutines.h"
#include "monitor/FixField.h"
#include "nmea/NMEA.h"

enum class TFieldColour { ButtonFace, Red, Yellow };

struct TFieldUpdate {
  enum class TKind { Text, Used, Colour, Bar };

  TFixField Field;
  TKind Kind = TKind::Text;
  std::string Text;                                // Text: empty clears the field
  std::optional<bool> Used;                        // Used: nothing clears the field
  TFieldColour Colour = TFieldColour::ButtonFace;  // Colour and Bar
  int Position = 0;                                // Bar: already within the bar's range
};

using TFieldUpdates = std::vector<TFieldUpdate>;
// Whether the last GSA used the satellite in each of the twelve slots, nothing
// for a slot it did not mark; slot n is entry n - 1.
using TUsedSlots = std::array<std::optional<bool>, kSatelliteSlots>;

// "red", "yellow" or "buttonface".
const char* ColourName(TFieldColour colour);
// "Invalid", "Valid SPS" ... for qualities 0..3; empty for any other value.
std::string QualityText(uint8_t quality);
// "Auto 3D", "Forced 2D", "No Fix" and the like.
std::string ModeText(const TGSA& gsa);
// What a slot's "Used?" field shows: "Yes", "No", or empty while unmarked.
const char* UsedText(std::optional<bool> used);

TFieldUpdates DisplayGGA(const TGGA& gga, const TFieldFormats& formats);
TFieldUpdates DisplayRMC(const TRMC& rmc, const TFieldFormats& formats);
// The satellite table, with the "Used?" marks the slots hold now.
TFieldUpdates DisplaySatellites(const TGSV& gsv, const TUsedSlots& used);
// The "Used?" marks a GSA gives the slots the GSV fills: used for the PRNs it
// lists, not used for the others in view, nothing past them.
TUsedSlots UsedSlotsFor(const TGSA& gsa, const TGSV& gsv);
// Marks the used satellites, then redraws the table and the dilutions.
TFieldUpdates DisplayGSA(const TGSA& gsa, const TGSV& gsv);
TFieldUpdates DisplayRME(const TRME& rme);

// Every field as the program starts: empty, the position in the button face
// and the bars empty.
TFieldUpdates DisplayNothing();

// The one display operation that belongs to a decode result; no writes for
// results that carry nothing to show.
TFieldUpdates DisplayFor(TSentenceResult result, const TNMEA& decoder, const TFieldFormats& formats,
                         const TUsedSlots& used);

// Carries the "Used?" writes of a list into the marks the slots hold.
void NoteUsedSlots(const TFieldUpdates& updates, TUsedSlots& used);

#pragma once
// What the fix display shows, decided away from the widgets: each function
// turns one of the decoder's records into the list of field writes that the
// main window applies in order (and that tolvane-decode --display prints).

#include <array>
#include <string>
#include <vector>

#include "format/FormatRoutines.h"
#include "nmea/NMEA.h"

enum class TFieldColour { ButtonFace, Red, Yellow };

struct TFieldUpdate {
  enum class TKind { Text, Colour, Bar };

  std::string Name;
  TKind Kind = TKind::Text;
  std::string Text;                                // Text: empty clears the field
  TFieldColour Colour = TFieldColour::ButtonFace;  // Colour and Bar
  int Position = 0;                                // Bar: already within the bar's range
};

using TFieldUpdates = std::vector<TFieldUpdate>;
// The "Used?" texts of the twelve satellite slots; slot n is entry n - 1.
using TUsedTexts = std::array<std::string, kSatelliteSlots>;

// "red", "yellow" or "buttonface".
const char* ColourName(TFieldColour colour);
// "Invalid", "Valid SPS" ... for qualities 0..3; empty for any other value.
std::string QualityText(uint8_t quality);
// "Auto 3D", "Forced 2D", "No Fix" and the like.
std::string ModeText(const TGSA& gsa);

TFieldUpdates DisplayGGA(const TGGA& gga, const TFieldFormats& formats);
TFieldUpdates DisplayRMC(const TRMC& rmc, const TFieldFormats& formats);
// The satellite table, with the "Used?" texts the slots hold now.
TFieldUpdates DisplaySatellites(const TGSV& gsv, const TUsedTexts& used);
// The "Used?" texts a GSA gives the slots the GSV fills: "Yes" for the PRNs
// it lists, "No" for the others in view, empty past them.
TUsedTexts UsedTextsFor(const TGSA& gsa, const TGSV& gsv);
// Marks the used satellites, then redraws the table and the dilutions.
TFieldUpdates DisplayGSA(const TGSA& gsa, const TGSV& gsv);
TFieldUpdates DisplayRME(const TRME& rme);

// The one display operation that belongs to a decode result; no writes for
// results that carry nothing to show.
TFieldUpdates DisplayFor(TSentenceResult result, const TNMEA& decoder, const TFieldFormats& formats,
                         const TUsedTexts& used);

// Carries the "Used?" writes of a list into the texts the slots hold.
void NoteUsedTexts(const TFieldUpdates& updates, TUsedTexts& used);

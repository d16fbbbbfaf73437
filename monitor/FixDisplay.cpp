#include "monitor/FixDisplay.h"

#include <algorithm>

namespace {

constexpr int kFixedDecimals = 2;

void AddText(TFieldUpdates& updates, std::string name, std::string text) {
  TFieldUpdate update;
  update.Name = std::move(name);
  update.Kind = TFieldUpdate::TKind::Text;
  update.Text = std::move(text);
  updates.push_back(std::move(update));
}

void AddColour(TFieldUpdates& updates, std::string name, TFieldColour colour) {
  TFieldUpdate update;
  update.Name = std::move(name);
  update.Kind = TFieldUpdate::TKind::Colour;
  update.Colour = colour;
  updates.push_back(std::move(update));
}

// A bar cannot show a value outside its range, so it shows the nearest end.
void AddBar(TFieldUpdates& updates, std::string name, int32_t position, TFieldColour colour) {
  TFieldUpdate update;
  update.Name = std::move(name);
  update.Kind = TFieldUpdate::TKind::Bar;
  update.Position = std::clamp<int32_t>(position, kSNRBarMinimum, kSNRBarMaximum);
  update.Colour = colour;
  updates.push_back(std::move(update));
}

std::string SlotName(const char* prefix, int slot) {
  return prefix + std::to_string(slot);
}

std::string Fixed2(float value) {
  return FormatFixed(value, kFixedDecimals);
}

TFieldColour FixTypeColour(uint8_t fixType) {
  switch (fixType) {
    case 1:
      return TFieldColour::Red;
    case 2:
      return TFieldColour::Yellow;
    default:
      return TFieldColour::ButtonFace;
  }
}

// A satellite received but not used in the fix gets a red bar.
TFieldColour BarColour(const TSatellite& sat, const std::string& used) {
  if (used != "Yes" && sat.SNR > 0) return TFieldColour::Red;
  return TFieldColour::ButtonFace;
}

}  // namespace

TUsedTexts UsedTextsFor(const TGSA& gsa, const TGSV& gsv) {
  const int32_t count = gsv.SatsInView;
  TUsedTexts used;
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) used[slot - 1] = slot <= count ? "No" : "";
  if (count <= 0) return used;
  const int lastSlot = std::min<int32_t>(count, kSatelliteSlots);
  // Every slot whose PRN matches is marked, even when a receiver repeats one.
  for (uint8_t prn : gsa.UsedPRN) {
    if (prn == 0) continue;
    for (int slot = 1; slot <= lastSlot; ++slot)
      if (gsv.Sats[slot - 1].PRN == prn) used[slot - 1] = "Yes";
  }
  return used;
}

const char* ColourName(TFieldColour colour) {
  switch (colour) {
    case TFieldColour::Red:
      return "red";
    case TFieldColour::Yellow:
      return "yellow";
    case TFieldColour::ButtonFace:
      break;
  }
  return "buttonface";
}

std::string QualityText(uint8_t quality) {
  switch (quality) {
    case 0:
      return "Invalid";
    case 1:
      return "Valid SPS";
    case 2:
      return "Valid DGPS";
    case 3:
      return "Valid PPS";
    default:
      return "";
  }
}

std::string ModeText(const TGSA& gsa) {
  if (gsa.FixType == 1) return "No Fix";
  std::string text = gsa.Mode == "A" ? "Auto " : "Forced ";
  if (gsa.FixType == 2) text += "2D";
  if (gsa.FixType == 3) text += "3D";
  return text;
}

TFieldUpdates DisplayGGA(const TGGA& gga, const TFieldFormats& formats) {
  TFieldUpdates updates;
  AddText(updates, "UTCTime", FormatTime(gga.Time, formats));
  AddText(updates, "Latitude", FormatLatitude(gga.Latitude, formats));
  AddText(updates, "Longitude", FormatLongitude(gga.Longitude, formats));
  // An unknown quality leaves the field as it was.
  const std::string quality = QualityText(gga.Quality);
  if (!quality.empty()) AddText(updates, "Quality", quality);
  AddText(updates, "SatsUsed", std::to_string(gga.SatsUsed));
  AddText(updates, "HDOP", Fixed2(gga.HDOP));
  AddText(updates, "Altitude", FormatAltitude(gga.Altitude, formats));
  return updates;
}

TFieldUpdates DisplayRMC(const TRMC& rmc, const TFieldFormats& formats) {
  TFieldUpdates updates;
  AddText(updates, "UTCDate", FormatDate(rmc.DateTime, formats));
  AddText(updates, "Latitude", FormatLatitude(rmc.Latitude, formats));
  AddText(updates, "Longitude", FormatLongitude(rmc.Longitude, formats));
  AddText(updates, "Speed", FormatSpeed(rmc.Speed, formats));
  AddText(updates, "Course", FormatCourse(rmc.Course, formats));
  AddText(updates, "MagneticVariation", Fixed2(rmc.Variation));
  return updates;
}

TFieldUpdates DisplaySatellites(const TGSV& gsv, const TUsedTexts& used) {
  const int32_t count = gsv.SatsInView;
  TFieldUpdates updates;
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) {
    const TSatellite& sat = gsv.Sats[slot - 1];
    const bool inView = slot <= count;
    AddText(updates, SlotName("PRN", slot), inView ? std::to_string(sat.PRN) : "");
    AddText(updates, SlotName("Elev", slot), inView ? std::to_string(sat.Elevation) : "");
    AddText(updates, SlotName("Az", slot), inView ? std::to_string(sat.Azimuth) : "");
    AddText(updates, SlotName("S", slot), inView ? std::to_string(sat.SNR) : "");
  }
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) {
    const TSatellite& sat = gsv.Sats[slot - 1];
    if (slot > count)
      AddBar(updates, SlotName("SNR", slot), 0, TFieldColour::ButtonFace);
    else
      AddBar(updates, SlotName("SNR", slot), sat.SNR, BarColour(sat, used[slot - 1]));
  }
  return updates;
}

TFieldUpdates DisplayGSA(const TGSA& gsa, const TGSV& gsv) {
  TFieldUpdates updates;
  const TFieldColour colour = FixTypeColour(gsa.FixType);
  AddColour(updates, "Latitude", colour);
  AddColour(updates, "Longitude", colour);
  AddText(updates, "Mode", ModeText(gsa));
  const TUsedTexts used = UsedTextsFor(gsa, gsv);
  for (int slot = 1; slot <= kSatelliteSlots; ++slot)
    AddText(updates, SlotName("Used", slot), used[slot - 1]);
  TFieldUpdates table = DisplaySatellites(gsv, used);
  updates.insert(updates.end(), std::make_move_iterator(table.begin()),
                 std::make_move_iterator(table.end()));
  AddText(updates, "PDOP", Fixed2(gsa.PDOP));
  AddText(updates, "HDOP", Fixed2(gsa.HDOP));
  AddText(updates, "VDOP", Fixed2(gsa.VDOP));
  return updates;
}

TFieldUpdates DisplayRME(const TRME& rme) {
  TFieldUpdates updates;
  AddText(updates, "HPE", Fixed2(rme.HPE));
  AddText(updates, "VPE", Fixed2(rme.VPE));
  AddText(updates, "EPE", Fixed2(rme.EPE));
  return updates;
}

TFieldUpdates DisplayFor(TSentenceResult result, const TNMEA& decoder, const TFieldFormats& formats,
                         const TUsedTexts& used) {
  switch (result) {
    case TSentenceResult::GGA:
      return DisplayGGA(decoder.GGA, formats);
    case TSentenceResult::RMC:
      return DisplayRMC(decoder.RMC, formats);
    case TSentenceResult::GSV:
      return DisplaySatellites(decoder.GSV, used);
    case TSentenceResult::GSA:
      return DisplayGSA(decoder.GSA, decoder.GSV);
    case TSentenceResult::RME:
      return DisplayRME(decoder.RME);
    default:
      return {};
  }
}

void NoteUsedTexts(const TFieldUpdates& updates, TUsedTexts& used) {
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) {
    const std::string name = SlotName("Used", slot);
    for (const TFieldUpdate& update : updates)
      if (update.Kind == TFieldUpdate::TKind::Text && update.Name == name)
        used[slot - 1] = update.Text;
  }
}

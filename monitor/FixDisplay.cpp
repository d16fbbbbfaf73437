#include "monitor/FixDisplay.h"

#include <algorithm>

namespace {

constexpr int kFixedDecimals = 2;

void AddText(TFieldUpdates& updates, TFixField field, std::string text) {
  TFieldUpdate update;
  update.Field = field;
  update.Kind = TFieldUpdate::TKind::Text;
  update.Text = std::move(text);
  updates.push_back(std::move(update));
}

void AddUsed(TFieldUpdates& updates, int slot, std::optional<bool> used) {
  TFieldUpdate update;
  update.Field = {TFixFieldKind::Used, slot};
  update.Kind = TFieldUpdate::TKind::Used;
  update.Used = used;
  updates.push_back(std::move(update));
}

void AddColour(TFieldUpdates& updates, TFixField field, TFieldColour colour) {
  TFieldUpdate update;
  update.Field = field;
  update.Kind = TFieldUpdate::TKind::Colour;
  update.Colour = colour;
  updates.push_back(std::move(update));
}

// A bar cannot show a value outside its range, so it shows the nearest end.
void AddBar(TFieldUpdates& updates, int slot, int32_t position, TFieldColour colour) {
  TFieldUpdate update;
  update.Field = {TFixFieldKind::SNR, slot};
  update.Kind = TFieldUpdate::TKind::Bar;
  update.Position = std::clamp<int32_t>(position, nmea::kSNRMinimum, nmea::kSNRMaximum);
  update.Colour = colour;
  updates.push_back(std::move(update));
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
TFieldColour BarColour(const TSatellite& sat, std::optional<bool> used) {
  if (!used.value_or(false) && sat.SNR > 0) return TFieldColour::Red;
  return TFieldColour::ButtonFace;
}

}  // namespace

TUsedSlots UsedSlotsFor(const TGSA& gsa, const TGSV& gsv) {
  const int lastSlot = std::clamp<int32_t>(gsv.SatsInView, 0, kSatelliteSlots);
  TUsedSlots used;
  for (int slot = 1; slot <= lastSlot; ++slot) used[slot - 1] = false;
  // Every slot whose PRN matches is marked, even when a receiver repeats one.
  for (uint8_t prn : gsa.UsedPRN) {
    if (prn == 0) continue;
    for (int slot = 1; slot <= lastSlot; ++slot)
      if (gsv.Sats[slot - 1].PRN == prn) used[slot - 1] = true;
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

const char* UsedText(std::optional<bool> used) {
  if (!used) return "";
  return *used ? "Yes" : "No";
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
  AddText(updates, {TFixFieldKind::UTCTime}, FormatTime(gga.Time, formats));
  AddText(updates, {TFixFieldKind::Latitude}, FormatLatitude(gga.Latitude, formats));
  AddText(updates, {TFixFieldKind::Longitude}, FormatLongitude(gga.Longitude, formats));
  // An unknown quality leaves the field as it was.
  const std::string quality = QualityText(gga.Quality);
  if (!quality.empty()) AddText(updates, {TFixFieldKind::Quality}, quality);
  AddText(updates, {TFixFieldKind::SatsUsed}, std::to_string(gga.SatsUsed));
  AddText(updates, {TFixFieldKind::HDOP}, Fixed2(gga.HDOP));
  AddText(updates, {TFixFieldKind::Altitude}, FormatAltitude(gga.Altitude, formats));
  return updates;
}

TFieldUpdates DisplayRMC(const TRMC& rmc, const TFieldFormats& formats) {
  TFieldUpdates updates;
  AddText(updates, {TFixFieldKind::UTCDate}, FormatDate(rmc.DateTime, formats));
  AddText(updates, {TFixFieldKind::Latitude}, FormatLatitude(rmc.Latitude, formats));
  AddText(updates, {TFixFieldKind::Longitude}, FormatLongitude(rmc.Longitude, formats));
  AddText(updates, {TFixFieldKind::Speed}, FormatSpeed(rmc.Speed, formats));
  AddText(updates, {TFixFieldKind::Course}, FormatCourse(rmc.Course, formats));
  AddText(updates, {TFixFieldKind::MagneticVariation}, Fixed2(rmc.Variation));
  return updates;
}

TFieldUpdates DisplaySatellites(const TGSV& gsv, const TUsedSlots& used) {
  const int32_t count = gsv.SatsInView;
  TFieldUpdates updates;
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) {
    const TSatellite& sat = gsv.Sats[slot - 1];
    const bool inView = slot <= count;
    AddText(updates, {TFixFieldKind::PRN, slot}, inView ? std::to_string(sat.PRN) : "");
    AddText(updates, {TFixFieldKind::Elev, slot}, inView ? std::to_string(sat.Elevation) : "");
    AddText(updates, {TFixFieldKind::Az, slot}, inView ? std::to_string(sat.Azimuth) : "");
    AddText(updates, {TFixFieldKind::S, slot}, inView ? std::to_string(sat.SNR) : "");
  }
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) {
    const TSatellite& sat = gsv.Sats[slot - 1];
    if (slot > count)
      AddBar(updates, slot, 0, TFieldColour::ButtonFace);
    else
      AddBar(updates, slot, sat.SNR, BarColour(sat, used[slot - 1]));
  }
  return updates;
}

TFieldUpdates DisplayNothing() {
  TFieldUpdates updates;
  for (int index = 0; index < kFixFields; ++index) {
    const TFixField field = FieldAt(index);
    if (field.Kind == TFixFieldKind::SNR)
      AddBar(updates, field.Slot, 0, TFieldColour::ButtonFace);
    else
      AddText(updates, field, "");
  }
  AddColour(updates, {TFixFieldKind::Latitude}, TFieldColour::ButtonFace);
  AddColour(updates, {TFixFieldKind::Longitude}, TFieldColour::ButtonFace);
  return updates;
}

TFieldUpdates DisplayGSA(const TGSA& gsa, const TGSV& gsv) {
  TFieldUpdates updates;
  const TFieldColour colour = FixTypeColour(gsa.FixType);
  AddColour(updates, {TFixFieldKind::Latitude}, colour);
  AddColour(updates, {TFixFieldKind::Longitude}, colour);
  AddText(updates, {TFixFieldKind::Mode}, ModeText(gsa));
  const TUsedSlots used = UsedSlotsFor(gsa, gsv);
  for (int slot = 1; slot <= kSatelliteSlots; ++slot) AddUsed(updates, slot, used[slot - 1]);
  TFieldUpdates table = DisplaySatellites(gsv, used);
  updates.insert(updates.end(), std::make_move_iterator(table.begin()),
                 std::make_move_iterator(table.end()));
  AddText(updates, {TFixFieldKind::PDOP}, Fixed2(gsa.PDOP));
  AddText(updates, {TFixFieldKind::HDOP}, Fixed2(gsa.HDOP));
  AddText(updates, {TFixFieldKind::VDOP}, Fixed2(gsa.VDOP));
  return updates;
}

TFieldUpdates DisplayRME(const TRME& rme) {
  TFieldUpdates updates;
  AddText(updates, {TFixFieldKind::HPE}, Fixed2(rme.HPE));
  AddText(updates, {TFixFieldKind::VPE}, Fixed2(rme.VPE));
  AddText(updates, {TFixFieldKind::EPE}, Fixed2(rme.EPE));
  return updates;
}

TFieldUpdates DisplayFor(TSentenceResult result, const TNMEA& decoder, const TFieldFormats& formats,
                         const TUsedSlots& used) {
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

void NoteUsedSlots(const TFieldUpdates& updates, TUsedSlots& used) {
  for (const TFieldUpdate& update : updates)
    if (update.Kind == TFieldUpdate::TKind::Used) used[update.Field.Slot - 1] = update.Used;
}

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "monitor/FixDisplay.h"

namespace {

constexpr TFieldColour kFace = TFieldColour::ButtonFace;
constexpr TFieldColour kRed = TFieldColour::Red;
constexpr TFieldColour kYellow = TFieldColour::Yellow;
constexpr std::optional<bool> kUnmarked;

// Stands in for the window: keeps what each field or bar was last given, so
// that a sequence of sentences is checked the way the user would see it.
struct TFakeDisplay {
  std::map<int, TFieldUpdate> Shown;
  TUsedSlots Used;

  void Apply(const TFieldUpdates& updates) {
    for (const TFieldUpdate& update : updates) {
      TFieldUpdate& field = Shown[FieldIndex(update.Field)];
      using TKind = TFieldUpdate::TKind;
      if (update.Kind == TKind::Text) field.Text = update.Text;
      if (update.Kind == TKind::Used) field.Used = update.Used;
      if (update.Kind == TKind::Colour || update.Kind == TKind::Bar) field.Colour = update.Colour;
      if (update.Kind == TKind::Bar) field.Position = update.Position;
    }
    NoteUsedSlots(updates, Used);
  }
  TFieldUpdate& At(TFixFieldKind kind, int slot = 0) { return Shown[FieldIndex({kind, slot})]; }
};

TGSV MakeGSV(int32_t inView, const std::vector<TSatellite>& sats) {
  TGSV gsv;
  gsv.SatsInView = inView;
  std::copy(sats.begin(), sats.end(), gsv.Sats.begin());
  return gsv;
}

TGSA MakeGSA(const char* mode, uint8_t fixType, const std::vector<uint8_t>& used) {
  TGSA gsa;
  gsa.Mode = mode;
  gsa.FixType = fixType;
  std::copy(used.begin(), used.end(), gsa.UsedPRN.begin());
  return gsa;
}

std::string Names(const TFieldUpdates& updates) {
  std::string names;
  for (const TFieldUpdate& update : updates)
    names += (names.empty() ? "" : " ") + FieldName(update.Field);
  return names;
}

TEST(FixDisplay, EachSentenceWritesItsFieldsInOrder) {
  TGGA gga{0.5, -48.1173, 11.516667, 1, 8, 0.9F, 545.4F};
  TRMC rmc{0, true, 48.1173, -11.516667, 22.4F, 84.4F, -3.1F};
  TFieldFormats formats;
  formats.PositionDecimals = 2;
  TFakeDisplay display;
  display.Apply(DisplayGGA(gga, formats));
  EXPECT_EQ(Names(DisplayGGA(gga, formats)),
            "UTCTime Latitude Longitude Quality SatsUsed HDOP Altitude");
  EXPECT_EQ(Names(DisplayRMC(rmc, formats)),
            "UTCDate Latitude Longitude Speed Course MagneticVariation");
  const std::string gsa = Names(DisplayGSA(MakeGSA("A", 3, {}), TGSV{}));
  EXPECT_EQ(gsa.substr(0, 40), "Latitude Longitude Mode Used1 Used2 Used");
  EXPECT_NE(gsa.find("Used12 PRN1 Elev1 Az1 S1 PRN2"), std::string::npos);
  EXPECT_NE(gsa.find("S12 SNR1 SNR2"), std::string::npos);
  EXPECT_EQ(gsa.substr(gsa.size() - 20), "SNR12 PDOP HDOP VDOP");

  const std::pair<TFixFieldKind, const char*> ggaShown[] = {
      {TFixFieldKind::Latitude, "48.12,S"},  {TFixFieldKind::Longitude, "11.52,E"},
      {TFixFieldKind::Quality, "Valid SPS"}, {TFixFieldKind::SatsUsed, "8"},
      {TFixFieldKind::HDOP, "0.90"},         {TFixFieldKind::Altitude, "545.4"}};
  for (const auto& [field, text] : ggaShown)
    EXPECT_EQ(display.At(field).Text, text) << FieldName(TFixField{field});
  display.Apply(DisplayRMC(rmc, formats));
  display.Apply(DisplayRME(TRME{15.0F, 45.5F, -0.004F}));
  const std::pair<TFixFieldKind, const char*> laterShown[] = {
      {TFixFieldKind::Latitude, "48.12,N"},
      {TFixFieldKind::Speed, "22.4"},
      {TFixFieldKind::MagneticVariation, "-3.10"},
      {TFixFieldKind::HPE, "15.00"},
      {TFixFieldKind::VPE, "45.50"},
      {TFixFieldKind::EPE, "0.00"}};
  for (const auto& [field, text] : laterShown)
    EXPECT_EQ(display.At(field).Text, text) << FieldName(TFixField{field});
}

TEST(FixDisplay, QualityAndModeTexts) {
  const std::pair<uint8_t, const char*> qualities[] = {{0, "Invalid"},    {1, "Valid SPS"},
                                                       {2, "Valid DGPS"}, {3, "Valid PPS"},
                                                       {6, "kept"},       {44, "kept"}};
  for (const auto& [quality, text] : qualities) {
    TFakeDisplay display;
    display.At(TFixFieldKind::Quality).Text = "kept";
    display.Apply(DisplayGGA(TGGA{0, 0, 0, quality}, TFieldFormats{}));
    EXPECT_EQ(display.At(TFixFieldKind::Quality).Text, text) << int(quality);
  }
  struct TRow {
    const char* Mode;
    uint8_t FixType;
    const char* Shown;
    TFieldColour Colour;
  };
  const TRow modes[] = {{"A", 1, "No Fix", kRed},      {"A", 2, "Auto 2D", kYellow},
                        {"A", 3, "Auto 3D", kFace},    {"M", 3, "Forced 3D", kFace},
                        {"", 2, "Forced 2D", kYellow}, {"a", 3, "Forced 3D", kFace},
                        {"A", 0, "Auto ", kFace},      {"M", 9, "Forced ", kFace}};
  for (const TRow& row : modes) {
    TFakeDisplay display;
    display.Apply(DisplayGSA(MakeGSA(row.Mode, row.FixType, {}), TGSV{}));
    EXPECT_EQ(display.At(TFixFieldKind::Mode).Text, row.Shown) << row.Mode << int(row.FixType);
    EXPECT_EQ(display.At(TFixFieldKind::Latitude).Colour, row.Colour) << row.Shown;
    EXPECT_EQ(display.At(TFixFieldKind::Longitude).Colour, row.Colour) << row.Shown;
  }
}

// A sequence of satellite sentences per row (a GSA when it lists PRNs); the
// table is checked after the last one, slot by slot.
TEST(FixDisplay, SatelliteTable) {
  struct TStep {
    TGSV GSV;
    std::vector<uint8_t> UsedPRN;
    bool IsGSA = false;
  };
  struct TSlot {
    int Slot;
    const char* PRN;
    std::optional<bool> Used;
    int Bar;
    TFieldColour Colour;
  };
  struct TRow {
    const char* Legend;
    std::vector<TStep> Steps;
    std::vector<TSlot> Expected;
  };
  TGSV seven = MakeGSV(7, {{1, 1, 1, 20}, {}, {}, {}, {}, {}, {7, 1, 1, 26}, {8, 1, 1, 41}});
  TGSV eight = seven;
  eight.SatsInView = 8;
  TGSV fourteen = MakeGSV(14, {});
  for (int i = 0; i < 12; ++i) fourteen.Sats[i] = {10 + i, 5, 5, 30};
  const TGSV edges = MakeGSV(3, {{1, 0, 0, 0}, {2, 0, 0, 99}, {3, 0, 0, -5}});
  const TGSV pair = MakeGSV(2, {{20, 0, 0, 35}, {10, 0, 0, 35}});
  const TGSV swapped = MakeGSV(2, {{10, 0, 0, 35}, {20, 0, 0, 35}});
  const std::vector<TRow> rows = {
      {"before any GSA every received satellite is red, slots beyond the count empty",
       {{seven, {}}},
       {{1, "1", kUnmarked, 20, kRed},
        {8, "", kUnmarked, 0, kFace},
        {12, "", kUnmarked, 0, kFace}}},
      {"a later cycle with more satellites fills the next slot from the record",
       {{seven, {}}, {eight, {}}},
       {{8, "8", kUnmarked, 41, kRed}}},
      {"more than twelve: twelve slots, matched up to slot 12",
       {{fourteen, {21, 10}, true}},
       {{1, "10", true, 30, kFace}, {11, "20", false, 30, kRed}, {12, "21", true, 30, kFace}}},
      {"bars: SNR 0 empty, 99 at the top, -5 at the bottom",
       {{edges, {}}},
       {{1, "1", kUnmarked, 0, kFace},
        {2, "2", kUnmarked, 60, kRed},
        {3, "3", kUnmarked, 0, kFace}}},
      {"listed by the GSA: Yes and the button face; not listed: No and red",
       {{pair, {10}, true}},
       {{1, "20", false, 35, kRed}, {2, "10", true, 35, kFace}}},
      {"satellites changing slots keep the slot's Used text until the next GSA",
       {{pair, {10}, true}, {swapped, {}}},
       {{1, "10", false, 35, kRed}, {2, "20", true, 35, kFace}}},
      {"a PRN listed twice in view marks both slots",
       {{MakeGSV(3, {{7, 0, 0, 30}, {8, 0, 0, 30}, {7, 0, 0, 30}}), {7}, true}},
       {{1, "7", true, 30, kFace}, {2, "8", false, 30, kRed}, {3, "7", true, 30, kFace}}},
      {"a negative count shows and marks nothing",
       {{MakeGSV(-1, {{1, 0, 0, 30}}), {1}, true}},
       {{1, "", kUnmarked, 0, kFace}}},
  };
  for (const TRow& row : rows) {
    TFakeDisplay display;
    for (const TStep& step : row.Steps)
      display.Apply(step.IsGSA ? DisplayGSA(MakeGSA("A", 3, step.UsedPRN), step.GSV)
                               : DisplaySatellites(step.GSV, display.Used));
    for (const TSlot& slot : row.Expected) {
      const int n = slot.Slot;
      EXPECT_EQ(display.At(TFixFieldKind::PRN, n).Text, slot.PRN) << row.Legend << ", slot " << n;
      EXPECT_EQ(display.At(TFixFieldKind::S, n).Text.empty(),
                display.At(TFixFieldKind::PRN, n).Text.empty())
          << row.Legend;
      EXPECT_EQ(display.At(TFixFieldKind::Used, n).Used, slot.Used) << row.Legend << ", slot " << n;
      EXPECT_EQ(display.At(TFixFieldKind::SNR, n).Position, slot.Bar)
          << row.Legend << ", slot " << n;
      EXPECT_EQ(display.At(TFixFieldKind::SNR, n).Colour, slot.Colour)
          << row.Legend << ", slot " << n;
    }
  }
}

TEST(FixDisplay, OnlyDecodedSentencesReachTheDisplay) {
  const std::pair<TSentenceResult, const char*> rows[] = {
      {TSentenceResult::BadChecksum, ""}, {TSentenceResult::Unrecognised, ""},
      {TSentenceResult::Invalid, ""},     {TSentenceResult::GGA, "UTCTime"},
      {TSentenceResult::RMC, "UTCDate"},  {TSentenceResult::GSV, "PRN1"},
      {TSentenceResult::GSA, "Latitude"}, {TSentenceResult::RME, "HPE"}};
  for (const auto& [result, first] : rows) {
    const TFieldUpdates updates = DisplayFor(result, TNMEA{}, TFieldFormats{}, TUsedSlots{});
    EXPECT_EQ(updates.empty() ? "" : FieldName(updates.front().Field), first) << int(result);
  }
}

}  // namespace

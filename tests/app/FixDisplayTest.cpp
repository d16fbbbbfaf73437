#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/FixDisplay.h"

namespace {

// Stands in for the window: keeps what each field or bar was last given, so
// that a sequence of sentences can be checked the way a user would see it.
struct TShownField {
  std::string Text;
  TFieldColour Colour = TFieldColour::ButtonFace;
  int Position = 0;
};

struct TFakeDisplay {
  std::map<std::string, TShownField> Fields;
  TUsedTexts UsedTexts;

  void Apply(const TFieldUpdates& updates) {
    for (const TFieldUpdate& update : updates) {
      TShownField& field = Fields[update.Name];
      if (update.Kind == TFieldUpdate::TKind::Text) field.Text = update.Text;
      if (update.Kind != TFieldUpdate::TKind::Text) field.Colour = update.Colour;
      if (update.Kind == TFieldUpdate::TKind::Bar) field.Position = update.Position;
    }
    NoteUsedTexts(updates, UsedTexts);
  }
  std::string Text(const std::string& name) { return Fields[name].Text; }
  TFieldColour Colour(const std::string& name) { return Fields[name].Colour; }
  int Bar(int slot) { return Fields["SNR" + std::to_string(slot)].Position; }
  TFieldColour BarColour(int slot) { return Fields["SNR" + std::to_string(slot)].Colour; }
  std::string Used(int slot) { return Text("Used" + std::to_string(slot)); }
  std::string PRN(int slot) { return Text("PRN" + std::to_string(slot)); }
};

constexpr TFieldColour kFace = TFieldColour::ButtonFace;
constexpr TFieldColour kRed = TFieldColour::Red;

TGSV MakeGSV(int32_t inView, const std::vector<TSatellite>& sats) {
  TGSV gsv;
  gsv.SatsInView = inView;
  for (size_t i = 0; i < sats.size() && i < gsv.Sats.size(); ++i) gsv.Sats[i] = sats[i];
  return gsv;
}

TGSA MakeGSA(std::string mode, uint8_t fixType, const std::vector<uint8_t>& used) {
  TGSA gsa;
  gsa.Mode = std::move(mode);
  gsa.FixType = fixType;
  for (size_t i = 0; i < used.size() && i < gsa.UsedPRN.size(); ++i) gsa.UsedPRN[i] = used[i];
  return gsa;
}

std::vector<std::string> Names(const TFieldUpdates& updates) {
  std::vector<std::string> names;
  for (const TFieldUpdate& update : updates) names.push_back(update.Name);
  return names;
}

TEST(FixDisplay, GGAWritesItsFieldsInOrderThroughTheFormats) {
  TGGA gga;
  gga.Latitude = -48.1173;
  gga.Longitude = 11.516667;
  gga.Quality = 1;
  gga.SatsUsed = 8;
  gga.HDOP = 0.9F;
  gga.Altitude = 545.4F;
  TFieldFormats formats;
  formats.PositionFormat = 0;
  formats.PositionDecimals = 2;
  TFakeDisplay display;
  const TFieldUpdates updates = DisplayGGA(gga, formats);
  display.Apply(updates);

  const std::vector<std::string> order = {"UTCTime",  "Latitude", "Longitude", "Quality",
                                          "SatsUsed", "HDOP",     "Altitude"};
  EXPECT_EQ(Names(updates), order);
  EXPECT_EQ(display.Text("Latitude"), "48.12,S");
  EXPECT_EQ(display.Text("Longitude"), "11.52,E");
  EXPECT_EQ(display.Text("Quality"), "Valid SPS");
  EXPECT_EQ(display.Text("SatsUsed"), "8");
  EXPECT_EQ(display.Text("HDOP"), "0.90");
  EXPECT_EQ(display.Text("Altitude"), "545.4");
}

TEST(FixDisplay, QualityTextsAndUnknownQualityKeepsTheField) {
  struct TRow {
    const char* Legend;
    uint8_t Quality;
    const char* Shown;
  };
  const TRow rows[] = {
      {"no fix", 0, "Invalid"},
      {"standard", 1, "Valid SPS"},
      {"differential", 2, "Valid DGPS"},
      {"precise", 3, "Valid PPS"},
      {"estimated, unknown here", 6, "Valid SPS"},
      {"wrapped 300", 44, "Valid SPS"},
  };
  for (const TRow& row : rows) {
    TFakeDisplay display;
    display.Fields["Quality"].Text = "Valid SPS";
    TGGA gga;
    gga.Quality = row.Quality;
    display.Apply(DisplayGGA(gga, TFieldFormats{}));
    EXPECT_EQ(display.Text("Quality"), row.Shown) << row.Legend;
  }
}

TEST(FixDisplay, RMCWritesItsFieldsInOrder) {
  TRMC rmc;
  rmc.Latitude = 48.1173;
  rmc.Longitude = -11.516667;
  rmc.Speed = 22.4F;
  rmc.Course = 84.4F;
  rmc.Variation = -3.1F;
  TFieldFormats formats;
  formats.PositionFormat = 1;
  formats.PositionDecimals = 3;
  TFakeDisplay display;
  const TFieldUpdates updates = DisplayRMC(rmc, formats);
  display.Apply(updates);

  const std::vector<std::string> order = {"UTCDate", "Latitude", "Longitude",
                                          "Speed",   "Course",   "MagneticVariation"};
  EXPECT_EQ(Names(updates), order);
  EXPECT_EQ(display.Text("Latitude"), "48.117");
  EXPECT_EQ(display.Text("Longitude"), "-11.517");
  EXPECT_EQ(display.Text("Speed"), "22.4");
  EXPECT_EQ(display.Text("Course"), "84");
  EXPECT_EQ(display.Text("MagneticVariation"), "-3.10");
}

TEST(FixDisplay, GSAModeTextAndFixColour) {
  struct TRow {
    const char* Legend;
    const char* Mode;
    uint8_t FixType;
    const char* Shown;
    TFieldColour Colour;
  };
  const TRow rows[] = {
      {"no fix replaces the mode", "A", 1, "No Fix", kRed},
      {"automatic 2D", "A", 2, "Auto 2D", TFieldColour::Yellow},
      {"automatic 3D", "A", 3, "Auto 3D", kFace},
      {"manual 3D", "M", 3, "Forced 3D", kFace},
      {"empty mode counts as forced", "", 2, "Forced 2D", TFieldColour::Yellow},
      {"lower-case a is not automatic", "a", 3, "Forced 3D", kFace},
      {"empty fix type keeps the trailing space", "A", 0, "Auto ", kFace},
      {"unknown fix type", "M", 9, "Forced ", kFace},
  };
  for (const TRow& row : rows) {
    TFakeDisplay display;
    display.Apply(DisplayGSA(MakeGSA(row.Mode, row.FixType, {}), TGSV{}));
    EXPECT_EQ(display.Text("Mode"), row.Shown) << row.Legend;
    EXPECT_EQ(display.Colour("Latitude"), row.Colour) << row.Legend;
    EXPECT_EQ(display.Colour("Longitude"), row.Colour) << row.Legend;
  }
}

TEST(FixDisplay, GSAWritesInOrderEndingWithTheDilutions) {
  TGSA gsa = MakeGSA("A", 3, {});
  gsa.PDOP = 2.5F;
  gsa.HDOP = 1.3F;
  gsa.VDOP = 2.125F;
  const TFieldUpdates updates = DisplayGSA(gsa, MakeGSV(1, {{5, 10, 20, 30}}));
  const std::vector<std::string> names = Names(updates);
  ASSERT_EQ(names.size(), 2U + 1 + 12 + 48 + 12 + 3);
  EXPECT_EQ(names[0], "Latitude");
  EXPECT_EQ(names[2], "Mode");
  EXPECT_EQ(names[3], "Used1");
  EXPECT_EQ(names[15], "PRN1");
  EXPECT_EQ(names[63], "SNR1");
  EXPECT_EQ(std::vector<std::string>(names.end() - 3, names.end()),
            (std::vector<std::string>{"PDOP", "HDOP", "VDOP"}));
  TFakeDisplay display;
  display.Apply(updates);
  EXPECT_EQ(display.Text("VDOP"), "2.13") << "half away from zero";
  EXPECT_EQ(display.Text("HDOP"), "1.30");
}

// One satellite sentence sequence per row; the table is checked after the
// last sentence, as the user sees it.
struct TSatStep {
  bool IsGSA;
  TGSV GSV;
  std::vector<uint8_t> UsedPRN;
};

struct TSlotShown {
  int Slot;
  const char* PRN;
  const char* Used;
  int Bar;
  TFieldColour Colour;
};

struct TTableRow {
  const char* Legend;
  std::vector<TSatStep> Steps;
  std::vector<TSlotShown> Expected;
};

TEST(FixDisplay, SatelliteTableScenarios) {
  const TGSV seven = MakeGSV(7, {{1, 10, 100, 20},
                                 {2, 10, 100, 21},
                                 {3, 10, 100, 22},
                                 {4, 10, 100, 23},
                                 {5, 10, 100, 24},
                                 {6, 10, 100, 25},
                                 {7, 10, 100, 26},
                                 {8, 1, 1, 41},
                                 {9, 1, 1, 42}});
  TGSV nine = seven;
  nine.SatsInView = 9;
  TGSV fourteen = nine;
  fourteen.SatsInView = 14;
  for (int i = 9; i < 12; ++i) fourteen.Sats[i] = {10 + i, 5, 5, 30};
  const TGSV edges = MakeGSV(4, {{1, 0, 0, 0}, {2, 0, 0, 99}, {3, 0, 0, -5}, {4, 0, 0, 60}});
  const TGSV swapped = MakeGSV(2, {{20, 0, 0, 35}, {10, 0, 0, 35}});
  const TGSV repeated = MakeGSV(3, {{7, 0, 0, 30}, {8, 0, 0, 30}, {7, 0, 0, 30}});
  const TGSV none = MakeGSV(-1, {{1, 0, 0, 30}});

  const std::vector<TTableRow> rows = {
      {"seven in view fill slots 1-7, the rest empty with empty bars",
       {{false, seven, {}}},
       {{1, "1", "", 20, kRed},
        {7, "7", "", 26, kRed},
        {8, "", "", 0, kFace},
        {12, "", "", 0, kFace}}},
      {"a later cycle of nine fills slots 8 and 9 from the record",
       {{false, seven, {}}, {false, nine, {}}},
       {{8, "8", "", 41, kRed}, {9, "9", "", 42, kRed}, {10, "", "", 0, kFace}}},
      {"more than twelve in view fill all twelve slots",
       {{false, fourteen, {}}, {true, fourteen, {21, 1}}},
       {{1, "1", "Yes", 20, kFace}, {12, "21", "Yes", 30, kFace}, {11, "20", "No", 30, kRed}}},
      {"bars: SNR 0 empty, 99 at the top, -5 at the bottom, 60 full",
       {{false, edges, {}}},
       {{1, "1", "", 0, kFace},
        {2, "2", "", 60, kRed},
        {3, "3", "", 0, kFace},
        {4, "4", "", 60, kRed}}},
      {"received but not used is red, once listed it is not",
       {{false, swapped, {}}, {true, swapped, {10}}},
       {{1, "20", "No", 35, kRed}, {2, "10", "Yes", 35, kFace}}},
      {"satellites changing slots keep the slot's Used text until the next GSA",
       {{true, swapped, {10}}, {false, MakeGSV(2, {{10, 0, 0, 35}, {20, 0, 0, 35}}), {}}},
       {{1, "10", "No", 35, kRed}, {2, "20", "Yes", 35, kFace}}},
      {"the next GSA matches the PRNs again",
       {{true, swapped, {10}}, {true, MakeGSV(2, {{10, 0, 0, 35}, {20, 0, 0, 35}}), {10}}},
       {{1, "10", "Yes", 35, kFace}, {2, "20", "No", 35, kRed}}},
      {"a PRN that appears twice marks both slots",
       {{true, repeated, {7}}},
       {{1, "7", "Yes", 30, kFace}, {2, "8", "No", 30, kRed}, {3, "7", "Yes", 30, kFace}}},
      {"a negative count shows nothing and marks nothing",
       {{true, none, {1}}},
       {{1, "", "", 0, kFace}}},
  };
  for (const TTableRow& row : rows) {
    TFakeDisplay display;
    for (const TSatStep& step : row.Steps) {
      if (step.IsGSA)
        display.Apply(DisplayGSA(MakeGSA("A", 3, step.UsedPRN), step.GSV));
      else
        display.Apply(DisplaySatellites(step.GSV, display.UsedTexts));
    }
    for (const TSlotShown& slot : row.Expected) {
      EXPECT_EQ(display.PRN(slot.Slot), slot.PRN) << row.Legend << ", slot " << slot.Slot;
      EXPECT_EQ(display.Used(slot.Slot), slot.Used) << row.Legend << ", slot " << slot.Slot;
      EXPECT_EQ(display.Bar(slot.Slot), slot.Bar) << row.Legend << ", slot " << slot.Slot;
      EXPECT_EQ(display.BarColour(slot.Slot), slot.Colour) << row.Legend << ", slot " << slot.Slot;
    }
  }
}

TEST(FixDisplay, EmptySlotsClearAllFourNumbers) {
  TFakeDisplay display;
  display.Apply(DisplaySatellites(MakeGSV(1, {{3, 45, 270, 0}, {4, 1, 2, 3}}), display.UsedTexts));
  EXPECT_EQ(display.Text("Elev1"), "45");
  EXPECT_EQ(display.Text("Az1"), "270");
  EXPECT_EQ(display.Text("S1"), "0") << "a satellite not tracked still shows its SNR";
  for (const char* field : {"PRN2", "Elev2", "Az2", "S2"}) EXPECT_EQ(display.Text(field), "");
}

TEST(FixDisplay, OnlyDecodedSentencesReachTheDisplay) {
  struct TRow {
    const char* Legend;
    TSentenceResult Result;
    const char* FirstField;
  };
  const TRow rows[] = {
      {"bad checksum", srBadChecksum, nullptr},
      {"unrecognised", srUnrecognised, nullptr},
      {"invalid", srInvalid, nullptr},
      {"GGA", srGGA, "UTCTime"},
      {"RMC", srRMC, "UTCDate"},
      {"GSV", srGSV, "PRN1"},
      {"GSA", srGSA, "Latitude"},
      {"RME", srRME, "HPE"},
  };
  const TNMEA decoder;
  for (const TRow& row : rows) {
    const TFieldUpdates updates = DisplayFor(row.Result, decoder, TFieldFormats{}, TUsedTexts{});
    if (row.FirstField == nullptr) {
      EXPECT_TRUE(updates.empty()) << row.Legend;
    } else {
      ASSERT_FALSE(updates.empty()) << row.Legend;
      EXPECT_EQ(updates.front().Name, row.FirstField) << row.Legend;
    }
  }
}

TEST(FixDisplay, RMEShowsTwoDecimals) {
  TFakeDisplay display;
  display.Apply(DisplayRME(TRME{15.0F, 45.5F, -0.004F}));
  EXPECT_EQ(display.Text("HPE"), "15.00");
  EXPECT_EQ(display.Text("VPE"), "45.50");
  EXPECT_EQ(display.Text("EPE"), "0.00") << "a value shown as zero has no sign";
}

}  // namespace

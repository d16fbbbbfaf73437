// The sky model fed with sentences in the shapes real receivers send. Each
// row replays its lines into a fresh model and compares the whole model,
// written one entry per item as "System sv:signal el/az/snr flags", where "-"
// is an absent value and the flag U marks a used satellite.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "nmea/SkyModel.h"
#include "tests/nmea/Sentences.h"

namespace {

using testing_nmea::Sentence;

std::string Value(const std::optional<int32_t>& value) {
  return value ? std::to_string(*value) : "-";
}

std::string Describe(const TSkyModel& sky) {
  std::string text;
  for (const TSkyEntry& entry : sky.Entries()) {
    if (!text.empty()) text += "; ";
    text += std::string(SkySystemName(entry.System)) + " " + std::to_string(entry.Satellite) + ":" +
            std::to_string(entry.Signal) + " " + Value(entry.Elevation) + "/" +
            Value(entry.Azimuth) + "/" + Value(entry.SNR);
    if (entry.Used) text += " U";
  }
  return text;
}

// Bodies are framed with their checksum; a line starting with "!" is taken
// as it stands.
std::string Describe(const std::vector<std::string>& lines) {
  TSkyModel sky;
  for (const std::string& line : lines) sky.Take(line[0] == '!' ? line.substr(1) : Sentence(line));
  return Describe(sky);
}

struct TRow {
  const char* Legend;
  std::vector<std::string> Lines;
  const char* Expected;
};

void ExpectRows(const std::vector<TRow>& rows) {
  for (const TRow& row : rows) EXPECT_EQ(Describe(row.Lines), row.Expected) << row.Legend;
}

TEST(SkyModel, SeriesAndSignals) {
  ExpectRows({
      {"four systems, one series per signal (u-blox F9 style)",
       {"GPGSV,2,1,05,05,40,083,46,13,22,062,23,44,45,171,45,29,46,133,43,1",
        "GPGSV,2,2,05,30,10,300,,1", "GPGSV,1,1,02,05,40,083,41,30,10,300,35,7",
        "GLGSV,1,1,02,66,09,027,,82,51,077,39,1", "GLGSV,1,1,01,82,51,077,31,3",
        "GAGSV,1,1,02,03,44,149,40,05,42,071,39,7", "GAGSV,1,1,01,03,44,149,42,1",
        "GBGSV,1,1,02,27,78,059,44,32,45,196,44,1", "GBGSV,1,1,01,32,45,196,38,B"},
       "GPS 5:1 40/83/46; GPS 5:7 40/83/41; GPS 13:1 22/62/23; GPS 29:1 46/133/43; "
       "GPS 30:1 10/300/-; GPS 30:7 10/300/35; SBAS 131:1 45/171/45; GLONASS 2:1 9/27/-; "
       "GLONASS 18:1 51/77/39; GLONASS 18:3 51/77/31; Galileo 3:1 44/149/42; "
       "Galileo 3:7 44/149/40; Galileo 5:7 42/71/39; BeiDou 27:1 78/59/44; "
       "BeiDou 32:1 45/196/44; BeiDou 32:11 45/196/38"},
      {"one series whose last part carries the L5 satellites",
       {"GPGSV,2,1,06,02,60,010,40,04,30,100,38,06,20,200,33,08,10,300,,1",
        "GPGSV,2,2,06,02,60,010,45,04,30,100,41,8"},
       "GPS 2:1 60/10/40; GPS 2:8 60/10/45; GPS 4:1 30/100/38; GPS 4:8 30/100/41; "
       "GPS 6:1 20/200/33; GPS 8:1 10/300/-"},
      {"a GN stream from before NMEA 4.10: the number's range decides",
       {"GNGSV,2,1,08,05,10,010,30,40,20,020,31,70,30,030,32,195,40,040,33",
        "GNGSV,2,2,08,210,50,050,34,305,60,060,35,405,70,070,36,500,80,080,37"},
       "GPS 5:0 10/10/30; SBAS 127:0 20/20/31; GLONASS 6:0 30/30/32; Galileo 5:0 60/60/35; "
       "BeiDou 5:0 70/70/36; BeiDou 10:0 50/50/34; QZSS 3:0 40/40/33; Other 500:0 80/80/37"},
      {"extended numbers under a system's own talker come back, others are kept",
       {"GLGSV,1,1,02,65,10,010,30,05,11,011,31", "GAGSV,1,1,03,101,20,020,32,305,21,021,33,40,,,",
        "GBGSV,1,1,02,201,30,030,34,405,31,031,35", "QZGSV,1,1,02,193,40,040,36,07,41,041,37",
        "GIGSV,1,1,01,03,50,050,38"},
       "GLONASS 1:0 10/10/30; GLONASS 5:0 11/11/31; Galileo 1:0 20/20/32; Galileo 5:0 21/21/33; "
       "Galileo 40:0 -/-/-; BeiDou 1:0 30/30/34; BeiDou 5:0 31/31/35; QZSS 1:0 40/40/36; "
       "QZSS 7:0 41/41/37; NavIC 3:0 50/50/38"},
      {"empty and unreadable values are absent; a group without a number is skipped",
       {"GPGSV,1,1,04,07,,,,09,x,1e2,0,,45,100,30,11,-3,0x10,99"},
       "GPS 7:0 -/-/-; GPS 9:0 -/-/0; GPS 11:0 -3/16/99"},
      {"the signal ID is hex, in either case",
       {"GBGSV,1,1,01,11,20,100,30,b"},
       "BeiDou 11:11 20/100/30"},
  });
}

TEST(SkyModel, SeriesOrder) {
  const std::string first = "GPGSV,1,1,01,01,10,100,30";  // the satellites kept before each row
  ExpectRows({
      {"a missing part discards the series; what was kept stays",
       {first, "GPGSV,3,1,09,02,20,200,30", "GPGSV,3,3,09,03,30,300,30"},
       "GPS 1:0 10/100/30"},
      {"a part repeated discards the series",
       {first, "GPGSV,3,1,09,02,20,200,30", "GPGSV,3,2,09,03,30,300,30",
        "GPGSV,3,2,09,03,30,300,30", "GPGSV,3,3,09"},
       "GPS 1:0 10/100/30"},
      {"a part whose count differs discards the series",
       {first, "GPGSV,2,1,09,02,20,200,30", "GPGSV,3,2,09,03,30,300,30"},
       "GPS 1:0 10/100/30"},
      {"a new first part starts over",
       {first, "GPGSV,2,1,09,02,20,200,30", "GPGSV,2,1,09,04,40,040,40", "GPGSV,2,2,09"},
       "GPS 4:0 40/40/40"},
      {"a skipped sentence leaves the series in progress untouched",
       {first, "GPGSV,2,1,09,02,20,200,30", "GPGSV,2,2,09,03,30,300", "GPGSV,2,2,09,05,,,"},
       "GPS 2:0 20/200/30; GPS 5:0 -/-/-"},
      {"talkers keep their series apart even when interleaved",
       {first, "GPGSV,2,1,09,02,20,200,30", "GLGSV,2,1,09,65,20,200,30", "GPGSV,2,2,09",
        "GLGSV,2,2,09"},
       "GPS 2:0 20/200/30; GLONASS 1:0 20/200/30"},
      {"a signal named by a part without satellites empties that signal",
       {"GPGSV,1,1,01,01,10,100,30,1", "GPGSV,1,1,01,01,10,100,44,7", "GPGSV,1,1,00,7"},
       "GPS 1:1 10/100/30"},
      {"the same satellite and signal from two talkers: the later series wins",
       {first, "GNGSV,1,1,01,01,11,111,31"},
       "GPS 1:0 11/111/31"},
      {"... whichever talker sent it", {"GNGSV,1,1,01,01,11,111,31", first}, "GPS 1:0 10/100/30"},
      {"... and the other shows again once the later one's series drops it",
       {first, "GNGSV,1,1,01,01,11,111,31", "GNGSV,1,1,00"},
       "GPS 1:0 10/100/30"},
      {"the same satellite twice in one series: the later group wins",
       {"GPGSV,1,1,02,01,10,100,30,01,11,111,31"},
       "GPS 1:0 11/111/31"},
  });
}

// Rows that must leave the kept satellite exactly as it was.
TEST(SkyModel, SentencesSkippedOrIgnored) {
  const std::string first = "GPGSV,1,1,01,01,10,100,30";
  const char* kept = "GPS 1:0 10/100/30";
  struct TSkipRow {
    const char* Legend;
    std::string Line;
  };
  const TSkipRow rows[] = {
      {"field count 3 + 4k + 2", Sentence("GPGSV,1,1,01,02,20,200,30,1,1")},
      {"field count below 3", Sentence("GPGSV,1,1")},
      {"signal ID of two digits", Sentence("GPGSV,1,1,01,02,20,200,30,10")},
      {"signal ID not hex", Sentence("GPGSV,1,1,01,02,20,200,30,G")},
      {"count 0", Sentence("GPGSV,0,0,01,02,20,200,30")},
      {"number above count", Sentence("GPGSV,1,2,01,02,20,200,30")},
      {"count above 9", Sentence("GPGSV,10,1,01,02,20,200,30")},
      {"count not decimal", Sentence("GPGSV,x1,1,01,02,20,200,30")},
      {"number signed", Sentence("GPGSV,1,+1,01,02,20,200,30")},
      {"bad checksum", "$GPGSV,1,1,01,02,20,200,30*00"},
      {"no checksum", "$GPGSV,1,1,01,02,20,200,30"},
      {"not at the start of the line",
       std::string("x").append(Sentence("GPGSV,1,1,01,02,20,200,30"))},
      {"a six-character address", Sentence("GPGSVX,1,1,01,02,20,200,30")},
      {"a four-character address", Sentence("GSV,1,1,01,02,20,200,30")},
  };
  for (const TSkipRow& row : rows) EXPECT_EQ(Describe({first, "!" + row.Line}), kept) << row.Legend;
}

// A bare time stands for "GPGGA,<time>": an epoch at that time of the receiver.
std::vector<std::string> Lines(std::vector<std::string> items) {
  for (std::string& item : items)
    if (item.find(',') == std::string::npos) item = "GPGGA," + item;
  return items;
}

TEST(SkyModel, SatellitesUnheardForTenSecondsAndFiveEpochsLeave) {
  const std::string g = "GPGSV,1,1,01,01,,,30";
  const char* kept = "GPS 1:0 -/-/30";
  ExpectRows({
      {"9 s", Lines({"120000", g, "120005", "120006", "120007", "120008", "120009"}), kept},
      {"10 s", Lines({"120000", g, "120001", "120002", "120003", "120004", "120010"}), ""},
      {"10 s in 4 epochs", Lines({"120000", g, "120004", "120008", "120010", "120011"}), kept},
      {"over midnight", Lines({"235955", g, "235959", "000001", "000002", "000003", "000005"}), ""},
      {"ZDA's time counts", Lines({"120000", g, "GPZDA,120010", "A", "B", "C", "D", "E"}), ""},
      {"no receiver time: 5 epochs", Lines({g, "A", "B", "C", "D", "E"}), ""},
  });
}

TEST(SkyModel, ASystemChangingToOrFromSignalIdsDropsTheOtherForm) {
  ExpectRows({
      {"GPS takes IDs: its entries without go, GLONASS's stay",
       {"GPGSV,1,1,02,01,,,30,02,,,30", "GLGSV,1,1,01,65,,,30", "GPGSV,1,1,01,01,,,35,1"},
       "GPS 1:1 -/-/35; GLONASS 1:0 -/-/30"},
      {"and back: every signal with an ID goes",
       {"GPGSV,1,1,01,01,,,30,1", "GPGSV,1,1,01,01,,,31,8", "GPGSV,1,1,01,03,,,"},
       "GPS 3:0 -/-/-"},
  });
}

// Fields after the "*" do not count: the checksum ends the sentence.
TEST(SkyModel, FieldsCountedUpToTheChecksum) {
  TSkyModel sky;
  sky.Take(Sentence("GPGSV,1,1,01,02,20,200,30") + ",7");
  EXPECT_EQ(Describe(sky), "GPS 2:0 20/200/30");
}

// Damaged sentences, framed with a right checksum or none: whatever comes,
// the entries stay sorted and unique, and every satellite's signals lie
// within them.
TEST(SkyModel, DamagedSentencesKeepTheModelWhole) {
  const std::string bodies[] = {
      "GPGSV,2,1,05,05,62,310,44,10,45,120,39,12,07,015,,46,38,201,42,1",
      "GPGSV,2,2,05,29,12,250,21,1",
      "GLGSV,1,1,02,70,33,080,36,86,05,340,,1",
      "GNGSA,A,3,10,05,46,,,,,,,,,,1.5,0.9,1.2,1",
      "GNRMC,101500.00,A,4807.03800,N",
      "GBGSV,1,1,01,201,70,010,45,B",
  };
  const std::string alphabet = ",*$0123456789ABFx- ";
  std::mt19937 random(7);
  auto pick = [&random](size_t count) { return static_cast<size_t>(random() % count); };
  TSkyModel sky;
  for (int round = 0; round < 20000; ++round) {
    std::string body = bodies[pick(std::size(bodies))];
    for (int edit = 0; edit < 3; ++edit) {
      const size_t at = pick(body.size());
      const char ch = alphabet[pick(alphabet.size())];
      if (edit == 0) body.insert(at, 1, ch);
      if (edit == 1) body.erase(at, 1);
      if (edit == 2) body[at] = ch;
    }
    sky.Take(round % 8 == 0 ? "$" + body : Sentence(body));
    if (round % 50 != 0) continue;
    const std::vector<TSkyEntry>& entries = sky.Entries();
    auto key = [](const TSkyEntry& e) { return std::tuple(e.System, e.Satellite, e.Signal); };
    for (size_t i = 1; i < entries.size(); ++i)
      ASSERT_LT(key(entries[i - 1]), key(entries[i])) << "round " << round;
    for (const TSkySatellite& satellite : sky.Satellites())
      ASSERT_LE(satellite.FirstEntry + satellite.EntryCount, entries.size()) << "round " << round;
  }
  EXPECT_FALSE(sky.Entries().empty());
}

}  // namespace

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "common/Settings.h"
#include "tests/support/SettingsHome.h"
#include "tests/tools/DecodeRun.h"

namespace {

// Runs tolvane-decode --display over the given text; one string per output line.
std::vector<std::string> RunDisplay(const std::string& input) {
  const TRunResult result =
      RunDecode({"--display"}, QByteArray(input.data(), static_cast<qsizetype>(input.size())));
  std::vector<std::string> lines;
  for (const QString& line : QString::fromUtf8(result.Out).split('\n'))
    if (!line.isEmpty()) lines.push_back(line.toStdString());
  return lines;
}

class DecodeDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSettingStr("Options", "TimeFormat", "hh:nn:ss");
    WriteSettingInt("Options", "PositionFormat", 1);
    WriteSettingInt("Options", "PositionDecimals", 3);
  }
  TTempSettingsHome Home;
};

TEST_F(DecodeDisplayTest, EachLineShowsWhatTheWindowWouldWrite) {
  const std::string input =
      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*00\r\n"  // bad sum
      "\r\n" +
      FrameSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\n" +
      FrameSentence("GPGSV,1,1,02,05,40,083,46,07,17,308,70") + "\r\n" +
      FrameSentence("GPGSA,A,2,05,,,,,,,,,,,,2.5,1.3,2.1") + "\r\n" +
      FrameSentence("GPGSV,1,1,02,07,40,083,46,05,17,308,00") + "\r\n" +
      FrameSentence("PGRME,15.0,M,45.0,M,25.0,M") + "\r\n";
  const std::vector<std::string> lines = RunDisplay(input);
  ASSERT_EQ(lines.size(), 6U) << (lines.empty() ? "" : lines[0]);

  struct TRow {
    const char* Legend;
    size_t Line;
    const char* Contains;
  };
  const TRow rows[] = {
      {"nothing to show for a bad checksum", 0,
       R"({"n":1,"code":0,"result":"srBadChecksum","fields":{},"colours":{}})"},
      {"GGA in the stored formats, empty line counted", 1,
       R"({"n":3,"code":3,"result":"srGGA","fields":{"UTCTime":"12:35:19","Latitude":"48.117",)"
       R"("Longitude":"11.517","Quality":"Valid SPS","SatsUsed":"8","HDOP":"0.90",)"
       R"("Altitude":"545.4"},"colours":{}})"},
      {"before any GSA a received satellite is red", 2, R"("SNR1":46,"SNR2":60,"SNR3":0,)"},
      {"bars' colours", 2, R"("colours":{"SNR1":"red","SNR2":"red","SNR3":"buttonface",)"},
      {"GSA marks the used slot", 3, R"("Used1":"Yes","Used2":"No","Used3":"",)"},
      {"GSA colours the position", 3,
       R"("colours":{"Latitude":"yellow","Longitude":"yellow","SNR1":"buttonface","SNR2":"red",)"},
      {"GSA ends with the dilutions", 3, R"("PDOP":"2.50","HDOP":"1.30","VDOP":"2.10"},)"},
      {"slots keep their Used texts between GSA sentences", 4,
       R"("colours":{"SNR1":"buttonface","SNR2":"buttonface",)"},
      {"the table's numbers", 4, R"("PRN1":"7","Elev1":"40","Az1":"83","S1":"46","PRN2":"5",)"},
      {"RME", 5,
       R"({"n":7,"code":7,"result":"srRME","fields":{"HPE":"15.00","VPE":"45.00",)"
       R"("EPE":"25.00"},"colours":{}})"},
  };
  for (const TRow& row : rows)
    EXPECT_NE(lines[row.Line].find(row.Contains), std::string::npos)
        << row.Legend << "\n  in: " << lines[row.Line];
}

}  // namespace

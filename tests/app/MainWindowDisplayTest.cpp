#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "common/Routines.h"
#include "common/Settings.h"
#include "format/FormatRoutines.h"
#include "tests/support/SettingsHome.h"

namespace {

// A short drive: a fix, a date, a satellite cycle of seven, a 2D GSA, the
// error estimates, then a GGA of a quality this program has no text for and
// a line spoiled on the way.
const std::vector<std::string> kLog = {
    FrameSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"),
    FrameSentence("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W"),
    FrameSentence("GPGSV,2,1,07,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,35"),
    FrameSentence("GPGSV,2,2,07,15,50,100,00,16,10,200,30,17,60,300,99"),
    FrameSentence("GPGSA,A,2,01,02,14,,,,,,,,,,2.5,1.3,2.1"),
    FrameSentence("PGRME,15.0,M,45.0,M,25.0,M"),
    FrameSentence("GPGGA,123521,4807.038,N,01131.000,E,6,08,0.9,545.4,M,46.9,M,,"),
    "$GPGGA,123522,4807.038,N,01131.000,E,1,08,0.9,999.9,M,46.9,M,,*00",
};

class MainWindowDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSettingStr("Options", "TimeFormat", "hh:nn:ss");
    WriteSettingStr("Options", "DateFormat", "yyyy-mm-dd");
    WriteSettingInt("Options", "PositionDecimals", 3);
    Form.SetLocaleFormats({});  // reads the field formats again
    ASSERT_TRUE(Dir.isValid());
    LogName = Dir.filePath("drive.txt").toStdString();
    QFile file(QString::fromStdString(LogName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    for (const std::string& line : kLog) file.write((line + "\r\n").c_str());
  }

  std::string Text(const char* name) {
    const auto* field = Form.findChild<QLineEdit*>(name);
    return field ? field->text().toStdString() : "<missing " + std::string(name) + ">";
  }
  QColor Background(const char* name) {
    const auto* field = Form.findChild<QWidget*>(name);
    return field ? field->palette().color(QPalette::Base) : QColor();
  }
  int Bar(const char* name) {
    const auto* bar = Form.findChild<QProgressBar*>(name);
    return bar ? bar->value() : -1;
  }

  TTempSettingsHome Home;
  QTemporaryDir Dir;
  std::string LogName;
  TMainWindow Form;
};

TEST_F(MainWindowDisplayTest, ReplayedDriveShowsInTheFieldsAndKeepsThemAfterStop) {
  Form.StartReplay(LogName);
  for (size_t tick = 0; tick <= kLog.size() + 1; ++tick) Form.onReceiveTick();
  ASSERT_FALSE(Form.Receiver().Replaying()) << "the end of the file stops the replay";

  const QColor face = QApplication::palette().color(QPalette::Button);
  const QColor red(255, 0, 0);
  const QColor yellow(255, 255, 0);
  struct TRow {
    const char* Legend;
    const char* Field;
    const char* Shown;
  };
  const TRow texts[] = {
      {"time of the last good GGA", "UTCTime", "12:35:21"},
      {"date of the RMC", "UTCDate", "1994-03-23"},
      {"position of the last writer", "Latitude", "48.117,N"},
      {"quality 6 keeps the earlier text", "Quality", "Valid SPS"},
      {"altitude not spoiled by the bad line", "Altitude", "545.4"},
      {"HDOP of the last writer, a GGA after the GSA", "HDOP", "0.90"},
      {"GSA mode", "Mode", "Auto 2D"},
      {"RME", "EPE", "25.00"},
      {"slot 1 used", "Used1", "Yes"},
      {"slot 3 received, not used", "Used3", "No"},
      {"slot 8 beyond the seven in view", "Used8", ""},
      {"slot 8 cleared", "PRN8", ""},
  };
  for (const TRow& row : texts) EXPECT_EQ(Text(row.Field), row.Shown) << row.Legend;

  EXPECT_EQ(Background("Latitude"), yellow) << "a 2D fix";
  EXPECT_EQ(Background("Longitude"), yellow) << "a 2D fix";
  struct TBarRow {
    const char* Legend;
    const char* Bar;
    int Position;
    QColor Colour;
  };
  const TBarRow bars[] = {
      {"used", "SNR1", 46, face},
      {"received, not used", "SNR3", 39, red},
      {"in view, not tracked", "SNR5", 0, face},
      {"beyond the top", "SNR7", 60, red},
      {"empty slot", "SNR8", 0, face},
  };
  for (const TBarRow& row : bars) {
    EXPECT_EQ(Bar(row.Bar), row.Position) << row.Legend;
    EXPECT_EQ(Background(row.Bar), row.Colour) << row.Legend;
  }
}

}  // namespace

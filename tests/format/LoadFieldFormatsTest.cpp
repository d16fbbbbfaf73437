#include <gtest/gtest.h>

#include <tuple>

#include "common/Settings.h"
#include "format/FormatRoutines.h"
#include "format/LocaleFormats.h"
#include "tests/support/SettingsHome.h"

namespace {

// Each test starts from a fresh store, a known locale and a known record, and
// leaves the process-wide values as it found them.
class LoadFieldFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SavedLocale = LocaleFormats;
    SavedFormats = FieldFormats;
    LocaleFormats.ShortDateFormat = "dd.mm.yyyy";
    LocaleFormats.ShortTimeFormat = "hh:mm";
    FieldFormats = Scrambled();
  }
  void TearDown() override {
    LocaleFormats = SavedLocale;
    FieldFormats = SavedFormats;
  }

  // Values no load would give, so that a value left unread shows.
  static TFieldFormats Scrambled() { return {"x", "x", 77, 77, 77, 77, 77, 77, 77, 77, 77}; }

  TTempSettingsHome Home;
  TLocaleFormats SavedLocale;
  TFieldFormats SavedFormats;
};

auto Fields(const TFieldFormats& f) {
  return std::tuple(f.DateFormat, f.TimeFormat, f.PositionFormat, f.PositionDecimals,
                    f.AltitudeFormat, f.AltitudeDecimals, f.ValidFormat, f.SpeedFormat,
                    f.SpeedDecimals, f.CourseFormat, f.CourseDecimals);
}

void ExpectFormats(const TFieldFormats& actual, const TFieldFormats& expected) {
  EXPECT_EQ(Fields(actual), Fields(expected));
}

TEST_F(LoadFieldFormatsTest, FreshStoreGivesTheDefaults) {
  LoadFieldFormats();
  ExpectFormats(FieldFormats, {"dd.mm.yyyy", "hh:mm", 0, 6, 0, 1, 0, 0, 1, 0, 0});
}

TEST_F(LoadFieldFormatsTest, StoredValuesAreTakenAsTheyStand) {
  const char* const names[] = {"PositionFormat",   "PositionDecimals", "AltitudeFormat",
                               "AltitudeDecimals", "ValidFormat",      "SpeedFormat",
                               "SpeedDecimals",    "CourseFormat",     "CourseDecimals"};
  WriteSettingStr("Options", "DateFormat", "yyyy-mm-dd");
  WriteSettingStr("Options", "TimeFormat", "HH:MM:SS");
  int32_t value = -1;  // out-of-range values too: nothing is validated on loading
  for (const char* name : names) WriteSettingInt("Options", name, value++);
  LoadFieldFormats();
  ExpectFormats(FieldFormats, {"yyyy-mm-dd", "HH:MM:SS", -1, 0, 1, 2, 3, 4, 5, 6, 7});
}

TEST_F(LoadFieldFormatsTest, EmptyOrWronglyTypedValuesGiveTheDefaults) {
  WriteSettingStr("Options", "DateFormat", "");
  WriteSettingInt("Options", "TimeFormat", 5);
  WriteSettingStr("Options", "PositionDecimals", "3");
  WriteSettingStr("Options", "SpeedFormat", "2");
  WriteSettingInt("Options", "CourseDecimals", 4);
  LoadFieldFormats();
  ExpectFormats(FieldFormats, {"dd.mm.yyyy", "hh:mm", 0, 6, 0, 1, 0, 0, 1, 0, 4});
}

TEST_F(LoadFieldFormatsTest, StoredLayoutOutsideTheListFormatsAsSignedDegrees) {
  WriteSettingInt("Options", "PositionFormat", 7);
  WriteSettingInt("Options", "PositionDecimals", 2);
  LoadFieldFormats();
  EXPECT_EQ(FormatLatitude(-42.8424769), "-42.84");
}

}  // namespace

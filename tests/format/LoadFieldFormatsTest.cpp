#include <gtest/gtest.h>

#include <tuple>

#include "common/Settings.h"
#include "format/FieldFormatSettings.h"
#include "format/LocaleFormats.h"
#include "tests/support/SettingsHome.h"

namespace {

// Each test starts from a fresh store and a known locale.
class LoadFieldFormatsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Locale.ShortDateFormat = "dd.mm.yyyy";
    Locale.ShortTimeFormat = "hh:mm";
    Locale.LongTimeFormat = "hh:mm:ss";  // the default: a fix's time to the second
    Locale.TimePMString = "nachm.";
  }

  TTempSettingsHome Home;
  TLocaleFormats Locale;
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
  const TFieldFormats formats = StoredFieldFormats(Locale);
  ExpectFormats(formats, {"dd.mm.yyyy", "hh:mm:ss", 0, 6, 0, 1, 0, 0, 1, 0, 0, {}});
  EXPECT_EQ(formats.Locale.TimePMString, "nachm.") << "the locale travels with the formats";
}

TEST_F(LoadFieldFormatsTest, StoredValuesAreTakenAsTheyStand) {
  const char* const names[] = {"PositionFormat",   "PositionDecimals", "AltitudeFormat",
                               "AltitudeDecimals", "ValidFormat",      "SpeedFormat",
                               "SpeedDecimals",    "CourseFormat",     "CourseDecimals"};
  WriteSettingStr("Options", "DateFormat", "yyyy-mm-dd");
  WriteSettingStr("Options", "TimeFormat", "HH:MM:SS");
  int32_t value = -1;  // out-of-range values too: nothing is validated on loading
  for (const char* name : names) WriteSettingInt("Options", name, value++);
  ExpectFormats(StoredFieldFormats(Locale),
                {"yyyy-mm-dd", "HH:MM:SS", -1, 0, 1, 2, 3, 4, 5, 6, 7, {}});
}

TEST_F(LoadFieldFormatsTest, EmptyOrWronglyTypedValuesGiveTheDefaults) {
  WriteSettingStr("Options", "DateFormat", "");
  WriteSettingInt("Options", "TimeFormat", 5);
  WriteSettingStr("Options", "PositionDecimals", "3");
  WriteSettingStr("Options", "SpeedFormat", "2");
  WriteSettingInt("Options", "CourseDecimals", 4);
  ExpectFormats(StoredFieldFormats(Locale),
                {"dd.mm.yyyy", "hh:mm:ss", 0, 6, 0, 1, 0, 0, 1, 0, 4, {}});
}

TEST_F(LoadFieldFormatsTest, StoredLayoutOutsideTheListFormatsAsSignedDegrees) {
  WriteSettingInt("Options", "PositionFormat", 7);
  WriteSettingInt("Options", "PositionDecimals", 2);
  EXPECT_EQ(FormatLatitude(-42.8424769, StoredFieldFormats(Locale)), "-42.84");
}

TEST_F(LoadFieldFormatsTest, StoredValuesReadBackAsWritten) {
  const TFieldFormats written{"d.m.yy", "h:nn ampm", 3, 4, 2, 0, 1, 3, 2, 0, 5, Locale};
  StoreFieldFormats(written);
  ExpectFormats(StoredFieldFormats(TLocaleFormats{}), written);
}

}  // namespace

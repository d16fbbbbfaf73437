#include "format/FieldFormatSettings.h"

#include "common/Settings.h"

TFieldFormats StoredFieldFormats(const TLocaleFormats& locale) {
  const TFieldFormats defaults;
  TFieldFormats formats;
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    formats.*setting.Member =
        ReadSettingStr(kOptionsSection, setting.Name, locale.*setting.Default);
  for (const TNumberFormatSetting& setting : kNumberFormatSettings)
    formats.*setting.Member =
        ReadSettingInt(kOptionsSection, setting.Name, defaults.*setting.Member);
  formats.Locale = locale;
  return formats;
}

void StoreFieldFormats(const TFieldFormats& formats) {
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    WriteSettingStr(kOptionsSection, setting.Name, formats.*setting.Member);
  for (const TNumberFormatSetting& setting : kNumberFormatSettings)
    WriteSettingInt(kOptionsSection, setting.Name, formats.*setting.Member);
}

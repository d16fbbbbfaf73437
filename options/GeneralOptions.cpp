#include "options/GeneralOptions.h"

#include "common/Settings.h"

TGeneralOptions StoredGeneralOptions() {
  TGeneralOptions options;
  options.BaudRate = ReadSettingStr(kOptionsSection, kBaudRateName, kDefaultBaudRate);
  options.Monitor = LoadMonitorOptions();
  return options;
}

void StoreGeneralOptions(const TGeneralOptions& options) {
  WriteSettingStr(kOptionsSection, kBaudRateName, options.BaudRate);
  SaveMonitorOptions(options.Monitor);
}

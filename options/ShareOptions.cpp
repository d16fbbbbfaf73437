#include "options/ShareOptions.h"

#include <limits>

#include "common/Settings.h"

TShareOptions StoredShareOptions() {
  TShareOptions options;
  options.Enabled = ReadSettingBool(kShareSection, "Enabled", options.Enabled);
  const int32_t port = ReadSettingInt(kShareSection, "Port", options.Port);
  if (port >= 1 && port <= std::numeric_limits<uint16_t>::max()) options.Port = port;
  options.AllowOthers = ReadSettingBool(kShareSection, "AllowOtherComputers", options.AllowOthers);
  options.AcceptCommands = ReadSettingBool(kShareSection, "AcceptCommands", options.AcceptCommands);
  return options;
}

void StoreShareOptions(const TShareOptions& options) {
  WriteSettingBool(kShareSection, "Enabled", options.Enabled);
  WriteSettingInt(kShareSection, "Port", options.Port);
  WriteSettingBool(kShareSection, "AllowOtherComputers", options.AllowOthers);
  WriteSettingBool(kShareSection, "AcceptCommands", options.AcceptCommands);
}

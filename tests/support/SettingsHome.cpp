#include "tests/support/SettingsHome.h"

TTempSettingsHome::TTempSettingsHome()
    : SavedValue(qgetenv("XDG_CONFIG_HOME")),
      HadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", Dir.path().toLocal8Bit());
}

TTempSettingsHome::~TTempSettingsHome() {
  if (HadValue)
    qputenv("XDG_CONFIG_HOME", SavedValue);
  else
    qunsetenv("XDG_CONFIG_HOME");
}

std::string TTempSettingsHome::Path() const {
  return Dir.path().toStdString();
}

std::string TTempSettingsHome::SettingsFile() const {
  return Path() + "/Tolvane/Tolvane.reg";
}

#pragma once
// Points the settings store at a fresh temporary folder for the lifetime of
// the object, so that tests never touch the user's own settings.

#include <QByteArray>
#include <QTemporaryDir>
#include <string>

class TTempSettingsHome {
 public:
  TTempSettingsHome();
  ~TTempSettingsHome();
  TTempSettingsHome(const TTempSettingsHome&) = delete;
  TTempSettingsHome& operator=(const TTempSettingsHome&) = delete;

  // The folder that stands for $XDG_CONFIG_HOME.
  std::string Path() const;
  // The settings file inside it.
  std::string SettingsFile() const;

 private:
  QTemporaryDir Dir;
  QByteArray SavedValue;
  bool HadValue;
};

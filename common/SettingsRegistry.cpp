// The settings store on Windows: the per-user registry key
// HKEY_CURRENT_USER\SOFTWARE\Tolvane\<section>, through QSettings.

#include <QtGlobal>

#ifdef Q_OS_WIN

#include <QSettings>

#include "common/Settings.h"
#include "common/SettingsStore.h"

namespace {

QString Latin1(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString KeyPath(std::string_view section) {
  return Latin1(SectionKey(section));
}

}  // namespace

std::string SettingsLocation() {
  return "HKEY_CURRENT_USER\\SOFTWARE\\Tolvane";
}

// QSettings hands a REG_DWORD back as an int and REG_SZ or REG_EXPAND_SZ as
// a text; any other registry type is not one of ours.
std::optional<TStoredValue> LoadStoredValue(std::string_view section, std::string_view name) {
  const QSettings key(KeyPath(section), QSettings::NativeFormat);
  const QVariant value = key.value(Latin1(name));
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
      return TStoredValue(static_cast<uint32_t>(value.toUInt()));
    case QMetaType::QString:
      return TStoredValue(value.toString().toLatin1().toStdString());
    default:
      return std::nullopt;
  }
}

// An int becomes a REG_DWORD, a text a REG_SZ (a bool would become a text,
// hence the int for both dword kinds).
bool SaveStoredValue(std::string_view section, std::string_view name, const TStoredValue& value,
                     std::string& whyNot) {
  QSettings key(KeyPath(section), QSettings::NativeFormat);
  if (const uint32_t* dword = std::get_if<uint32_t>(&value))
    key.setValue(Latin1(name), static_cast<int>(*dword));
  else
    key.setValue(Latin1(name), Latin1(std::get<std::string>(value)));
  key.sync();
  if (key.status() == QSettings::NoError) return true;
  whyNot = "The registry key " + SectionKey(section) + " cannot be written";
  return false;
}

std::string StoreNotice() {
  return {};
}

#endif

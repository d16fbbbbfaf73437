// Section "Position": the reference the Position window measures from.

#include <QString>
#include <cmath>

#include "app/AppSettings.h"
#include "common/Settings.h"
#include "history/TrackText.h"

namespace {

constexpr const char* kPositionSection = "Position";

std::optional<double> StoredNumber(const char* name, double limit) {
  bool ok = false;
  const double value =
      QString::fromStdString(ReadSettingStr(kPositionSection, name, "")).toDouble(&ok);
  if (!ok || !std::isfinite(value) || std::fabs(value) > limit) return std::nullopt;
  return value;
}

std::string NumberText(double value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

}  // namespace

std::optional<TGeodetic> TAppSettings::PositionReference() const {
  const std::optional<double> latitude = StoredNumber("ReferenceLatitude", 90);
  const std::optional<double> longitude = StoredNumber("ReferenceLongitude", 180);
  const std::optional<double> altitude = StoredNumber("ReferenceAltitude", 1e7);
  if (!latitude || !longitude || !altitude) return std::nullopt;
  return TGeodetic{*latitude, *longitude, *altitude};
}

void TAppSettings::StorePositionReference(const std::optional<TGeodetic>& reference) {
  WriteSettingStr(kPositionSection, "ReferenceLatitude",
                  reference ? NumberText(reference->Latitude) : "");
  WriteSettingStr(kPositionSection, "ReferenceLongitude",
                  reference ? NumberText(reference->Longitude) : "");
  WriteSettingStr(kPositionSection, "ReferenceAltitude",
                  reference ? NumberText(reference->Altitude) : "");
}

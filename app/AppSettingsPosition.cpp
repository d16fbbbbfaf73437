// Section "Position": the reference the Position window measures from.

#include "app/AppSettings.h"
#include "common/Settings.h"
#include "format/PositionText.h"
#include "history/TrackText.h"

namespace {

constexpr const char* kPositionSection = "Position";

std::string Stored(const char* name) {
  return ReadSettingStr(kPositionSection, name, "");
}

std::string NumberText(double value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

}  // namespace

std::optional<TGeodetic> TAppSettings::PositionReference() const {
  const std::optional<double> latitude = ParsePosition(Stored("ReferenceLatitude"), true);
  const std::optional<double> longitude = ParsePosition(Stored("ReferenceLongitude"), false);
  const std::optional<double> altitude = ParseNumber(Stored("ReferenceAltitude"));
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

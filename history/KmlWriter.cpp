// KML 2.2: the fixes as one line, and a pin at their mean. GGA altitudes are
// above mean sea level, which is what KML's absolute altitude means.

#include "history/KmlWriter.h"

#include "history/Accuracy.h"
#include "history/TrackText.h"

namespace {

void AppendCoordinates(std::string& text, double latitude, double longitude, double altitude) {
  AppendDegrees(text, longitude);
  text += ',';
  AppendDegrees(text, latitude);
  text += ',';
  AppendNumber(text, altitude);
}

}  // namespace

void TKmlWriter::Begin(std::string& text) {
  Fixes.clear();
  text +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
      "<Document>\n"
      "<name>Tolvane track</name>\n";
}

void TKmlWriter::Take(const TEpoch& epoch, std::string& text) {
  for (const TEpochFix& fix : epoch.Fixes) {
    // The line opens with its first point: without fixes there is none.
    if (Fixes.empty()) {
      text +=
          "<Placemark>\n<name>Track</name>\n<LineString>\n"
          "<altitudeMode>absolute</altitudeMode>\n<coordinates>\n";
    }
    AppendCoordinates(text, fix.Latitude, fix.Longitude, fix.Altitude);
    text += '\n';
    Fixes.push_back(fix);
  }
}

void TKmlWriter::End(std::string& text) {
  if (const std::optional<TGeodetic> mean = MeanPosition(Fixes)) {
    text +=
        "</coordinates>\n</LineString>\n</Placemark>\n"
        "<Placemark>\n<name>Mean position</name>\n<Point>\n"
        "<altitudeMode>absolute</altitudeMode>\n<coordinates>";
    AppendCoordinates(text, mean->Latitude, mean->Longitude, mean->Altitude);
    text += "</coordinates>\n</Point>\n</Placemark>\n";
  }
  text += "</Document>\n</kml>\n";
}

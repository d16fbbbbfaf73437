// GPX 1.1: one track of one segment, a point per fix, its children in the
// order the schema's wptType lists them (ele, time, fix, sat, hdop, vdop,
// pdop).

#include "history/GpxWriter.h"

#include "history/TrackText.h"

namespace {

// GPX's fix kinds by GGA quality; an autonomous fix says 2D or 3D only
// through the last GSA's mode.
std::optional<std::string_view> FixKind(const TEpochFix& fix) {
  switch (fix.Quality) {
    case 2:
    case 4:
    case 5:
      return "dgps";
    case 3:
      return "pps";
    case 1:
      if (fix.Mode == 2) return "2d";
      if (fix.Mode == 3) return "3d";
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

void Element(std::string& text, std::string_view name, std::string_view value) {
  text.append("<").append(name).append(">").append(value).append("</").append(name).append(">");
}

void NumberElement(std::string& text, std::string_view name, const std::optional<double>& value) {
  if (!value) return;
  std::string number;
  AppendNumber(number, *value);
  Element(text, name, number);
}

}  // namespace

void TGpxWriter::Begin(std::string& text) {
  text +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"Tolvane\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
      "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
      "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
      " <trk>\n"
      "  <trkseg>\n";
}

void TGpxWriter::Take(const TEpoch& epoch, std::string& text) {
  for (const TEpochFix& fix : epoch.Fixes) {
    text += "   <trkpt lat=\"";
    AppendDegrees(text, fix.Latitude);
    text += "\" lon=\"";
    AppendDegrees(text, fix.Longitude);
    text += "\">";
    NumberElement(text, "ele", fix.Altitude);
    if (const std::optional<std::string> time = IsoTime(epoch.Date, fix.Time))
      Element(text, "time", *time);
    if (const std::optional<std::string_view> kind = FixKind(fix)) Element(text, "fix", *kind);
    if (fix.Used && *fix.Used >= 0) Element(text, "sat", std::to_string(*fix.Used));
    NumberElement(text, "hdop", fix.HDOP);
    NumberElement(text, "vdop", fix.VDOP);
    NumberElement(text, "pdop", fix.PDOP);
    text += "</trkpt>\n";
  }
}

void TGpxWriter::End(std::string& text) {
  text +=
      "  </trkseg>\n"
      " </trk>\n"
      "</gpx>\n";
}

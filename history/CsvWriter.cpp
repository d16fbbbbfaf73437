// A row per epoch for spreadsheets: the epoch's fields, the mean C/N0 of
// every system in a fixed order, then the last RMC's speed and course.
// Empty cells are absent values.

#include "history/CsvWriter.h"

#include "history/SystemCn0.h"
#include "history/TrackText.h"

namespace {

constexpr TSkySystem kCn0Systems[] = {TSkySystem::GPS,     TSkySystem::SBAS,   TSkySystem::GLONASS,
                                      TSkySystem::Galileo, TSkySystem::BeiDou, TSkySystem::QZSS,
                                      TSkySystem::NavIC};

// Receiver text goes in quotes when it holds a separator, a quote or a line
// end, quotes doubled.
void Text(std::string& row, const std::optional<std::string>& value) {
  row += ',';
  if (!value) return;
  if (value->find_first_of(",\"\r\n") == std::string::npos) {
    row += *value;
    return;
  }
  row += '"';
  for (const char ch : *value) {
    if (ch == '"') row += '"';
    row += ch;
  }
  row += '"';
}

void Number(std::string& row, const std::optional<double>& value) {
  row += ',';
  if (value) AppendNumber(row, *value);
}

void Degrees(std::string& row, const std::optional<double>& value) {
  row += ',';
  if (value) AppendDegrees(row, *value);
}

void Integer(std::string& row, const std::optional<long long>& value) {
  row += ',';
  if (value) row += std::to_string(*value);
}

std::optional<long long> Wide(const std::optional<int>& value) {
  if (!value) return std::nullopt;
  return *value;
}

}  // namespace

void TCsvWriter::Begin(std::string& text) {
  text +=
      "line,time,date,quality,used,lat,lon,alt,hdop,diffAge,diffStation,mode,pdop,vdop,"
      "latErr,lonErr,altErr,hpe,vpe,epe,lines,badChecksums,interference";
  for (const TSkySystem system : kCn0Systems) text += std::string(",cn0") + SkySystemName(system);
  text += ",speed,course\n";
}

void TCsvWriter::Take(const TEpoch& epoch, std::string& text) {
  text += std::to_string(epoch.Line);
  Text(text, epoch.Time);
  Text(text, epoch.Date);
  Integer(text, Wide(epoch.Quality));
  Integer(text, Wide(epoch.Used));
  Degrees(text, epoch.Latitude);
  Degrees(text, epoch.Longitude);
  Number(text, epoch.Altitude);
  Number(text, epoch.HDOP);
  Number(text, epoch.DiffAge);
  Integer(text, Wide(epoch.DiffStation));
  Integer(text, Wide(epoch.Mode));
  Number(text, epoch.PDOP);
  Number(text, epoch.VDOP);
  Number(text, epoch.LatitudeError);
  Number(text, epoch.LongitudeError);
  Number(text, epoch.AltitudeError);
  Number(text, epoch.HorizontalError);
  Number(text, epoch.VerticalError);
  Number(text, epoch.SphericalError);
  Integer(text, epoch.Lines);
  Integer(text, epoch.BadChecksums);
  Integer(text, epoch.Interference ? 1 : 0);
  for (const TSkySystem system : kCn0Systems) Number(text, SystemCn0(epoch, system));
  Number(text, epoch.Speed);
  Number(text, epoch.Course);
  text += '\n';
}

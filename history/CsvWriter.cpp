// A row per epoch for spreadsheets: the fields of `tolvane-decode --epochs`
// with the mean C/N0 of every system in a column of its own, then the last
// RMC's speed (knots) and course.
// Empty cells are absent values.

#include "history/CsvWriter.h"

#include "history/TrackText.h"

namespace {

// GPS, SBAS, GLONASS, Galileo, BeiDou, QZSS and NavIC: the systems in
// their TSkySystem order, without "Other".
constexpr int kCn0Systems = static_cast<int>(TSkySystem::NavIC) + 1;

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

void Integer(std::string& row, const std::optional<int>& value) {
  row += ',';
  if (value) row += std::to_string(*value);
}

}  // namespace

void TCsvWriter::Begin(std::string& text) {
  text += "n,time,date,quality,mode,lat,lon,alt,used,pdop,hdop,vdop,diffAge";
  for (int system = 0; system < kCn0Systems; ++system)
    text += std::string(",cn0") + SkySystemName(static_cast<TSkySystem>(system));
  text += ",interference,speed,course\n";
}

void TCsvWriter::Take(const TEpoch& epoch, std::string& text) {
  text += std::to_string(epoch.Line);
  Text(text, epoch.Time);
  Text(text, epoch.Date);
  Integer(text, epoch.Quality);
  Integer(text, epoch.Mode);
  Degrees(text, epoch.Latitude);
  Degrees(text, epoch.Longitude);
  Number(text, epoch.Altitude);
  Integer(text, epoch.Used);
  Number(text, epoch.PDOP);
  Number(text, epoch.HDOP);
  Number(text, epoch.VDOP);
  Number(text, epoch.DiffAge);
  const auto cn0 = EpochCn0(epoch);
  for (int system = 0; system < kCn0Systems; ++system)
    Number(text, cn0[static_cast<size_t>(system)]);
  text += epoch.Interference ? ",true" : ",false";
  Number(text, epoch.Speed);
  Number(text, epoch.Course);
  text += '\n';
}

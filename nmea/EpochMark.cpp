#include "nmea/EpochMark.h"

#include "common/Routines.h"
#include "nmea/SkyLine.h"

namespace nmea {

// The decoder's checksum rule too, so that the epochs follow exactly the
// lines that the decoder does not reject for their checksum.
bool SkyReadable(std::string_view line, const TSkyLine& fields) {
  return !line.empty() && line[0] == '$' && fields.Address.size() == 5 &&
         SentenceChecksumHolds(line);
}

// GGA, RMC and GNS carry the time first; GLL after its latitude and longitude.
std::optional<std::string_view> TakeTimeField(std::string_view type, TSkyLine& fields) {
  if (type == "GGA" || type == "RMC" || type == "GNS") return fields.Take();
  if (type != "GLL") return std::nullopt;
  fields.Skip(4);
  return fields.Take();
}

// The type is looked at before the checksum: most lines of an epoch are no
// time sentences, and their checksum need not be worked out here.
std::optional<std::string_view> EpochTimeField(std::string_view line) {
  if (line.empty() || line[0] != '$') return std::nullopt;
  TSkyLine fields(line);
  if (fields.Address.size() != 5) return std::nullopt;
  const std::optional<std::string_view> time = TakeTimeField(fields.Address.substr(2), fields);
  if (!time || !SkyReadable(line, fields)) return std::nullopt;
  return time;
}

}  // namespace nmea

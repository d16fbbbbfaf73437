// The fix sentences: GGA (time, position, quality, altitude) and RMC (date,
// time, position, speed, course, variation).

#include "common/Routines.h"
#include "nmea/Fields.h"
#include "nmea/NMEA.h"
#include "nmea/TimeText.h"

namespace {

// A hemisphere letter as the sign it gives; 0 for anything but the two letters.
int HemisphereSign(std::string_view letter, char positive, char negative) {
  if (letter.size() != 1) return 0;
  if (letter[0] == positive) return 1;
  if (letter[0] == negative) return -1;
  return 0;
}

}  // namespace

// $--GGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,x,xx,x.x,x.x,M,x.x,M,x.x,xxxx*hh
//        1         2       3 4        5 6 7  8   9   10 11 12 13  14
// time, latitude N/S, longitude E/W, quality, satellites in use, HDOP,
// altitude (M), geoidal separation (M), age of differential, station ID.
// Stops at the first bad field: the fields before it hold the new values.
TSentenceResult TNMEA::DecodeGGA(std::string_view line) {
  const nmea::TFields<15> field(line);

  nmea::TJoinedText time;
  nmea::JoinTime(field[1], time);
  if (!nmea::ReadTimeText(time.View(), GGA.Time)) return TSentenceResult::Invalid;

  if (!nmea::ReadDouble(field[2], GGA.Latitude)) return TSentenceResult::Invalid;
  const int north = HemisphereSign(field[3], 'N', 'S');
  if (north == 0) return TSentenceResult::Invalid;
  GGA.Latitude = nmea::CoordinateDegrees(north * GGA.Latitude);

  if (!nmea::ReadDouble(field[4], GGA.Longitude)) return TSentenceResult::Invalid;
  const int east = HemisphereSign(field[5], 'E', 'W');
  if (east == 0) return TSentenceResult::Invalid;
  GGA.Longitude = nmea::CoordinateDegrees(east * GGA.Longitude);

  int32_t number = 0;
  if (!TryStrToInt(field[6], number)) return TSentenceResult::Invalid;
  GGA.Quality = static_cast<uint8_t>(number);
  if (!TryStrToInt(field[7], number)) return TSentenceResult::Invalid;
  GGA.SatsUsed = static_cast<uint8_t>(number);

  auto optional = [](std::string_view text, float& value) {
    if (text.empty()) {
      value = 0;
      return true;
    }
    return nmea::ReadSingle(text, value);
  };
  if (!optional(field[8], GGA.HDOP)) return TSentenceResult::Invalid;
  if (!optional(field[9], GGA.Altitude)) return TSentenceResult::Invalid;
  if (!optional(field[11], GGA.GeoidSeparation)) return TSentenceResult::Invalid;

  if (field[13].empty()) {
    GGA.DiffAge = 0;
    GGA.DiffStation = 0;
    return TSentenceResult::GGA;
  }
  if (!nmea::ReadSingle(field[13], GGA.DiffAge)) return TSentenceResult::Invalid;
  if (!TryStrToInt(field[14], GGA.DiffStation)) return TSentenceResult::Invalid;
  return TSentenceResult::GGA;
}

// $--RMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a*hh
//        1         2 3       4 5        6 7   8   9      10  11
// time, status (A valid), latitude N/S, longitude E/W, speed (knots),
// course, date, magnetic variation E/W.
// Goes on past a bad field, which keeps its previous value: a receiver
// without a fix sends empty fields, and the last good ones stay on display.
TSentenceResult TNMEA::DecodeRMC(std::string_view line) {
  const nmea::TFields<12> field(line);

  nmea::TJoinedText dateTime;
  nmea::JoinDateTime(field[9], field[1], dateTime);
  // A bad date or time keeps the previous one.
  nmea::ReadDateTimeText(dateTime.View(), CurrentYear(), RMC.DateTime);

  RMC.Valid = field[2] == "A";

  // A hemisphere letter that is neither of the two reads as north or east.
  if (nmea::ReadDouble(field[3], RMC.Latitude)) {
    const int north = HemisphereSign(field[4], 'N', 'S');
    RMC.Latitude = nmea::CoordinateDegrees((north == 0 ? 1 : north) * RMC.Latitude);
  }
  if (nmea::ReadDouble(field[5], RMC.Longitude)) {
    const int east = HemisphereSign(field[6], 'E', 'W');
    RMC.Longitude = nmea::CoordinateDegrees((east == 0 ? 1 : east) * RMC.Longitude);
  }

  nmea::ReadSingle(field[7], RMC.Speed);
  nmea::ReadSingle(field[8], RMC.Course);

  // A bad variation keeps the previous one, sign included; only W turns it west.
  if (field[10].empty()) {
    RMC.Variation = 0;
  } else if (!nmea::ReadSingle(field[10], RMC.Variation)) {
    return TSentenceResult::RMC;
  }
  if (field[11] == "W") RMC.Variation = -RMC.Variation;
  return TSentenceResult::RMC;
}

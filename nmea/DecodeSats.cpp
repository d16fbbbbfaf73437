// The satellite sentences: GSV (satellites in view), GSA (satellites used and
// dilutions of precision) and the proprietary RME (estimated position errors).

#include "common/Routines.h"
#include "nmea/Fields.h"
#include "nmea/NMEA.h"

// $--GSV,x,x,xx,xx,xx,xxx,xx,xx,xx,xxx,xx,xx,xx,xxx,xx,xx,xx,xxx,xx*hh
//        1 2 3  4  5  6   7  8  ...                        19
// message count, message number (1..3), satellites in view, then four
// satellites of PRN, elevation, azimuth and SNR. Message n writes slots
// 4n-3 to 4n, all four of them, so a short last message clears its leftovers.
// A bad header field stops before any slot is written.
TSentenceResult TNMEA::DecodeGSV(std::string_view line) {
  const nmea::TFields<20> field(line);

  if (!TryStrToInt(field[1], GSV.MessageCount)) return TSentenceResult::Invalid;
  if (!TryStrToInt(field[2], GSV.MessageNumber) || GSV.MessageNumber < 1 || GSV.MessageNumber > 3)
    return TSentenceResult::Invalid;
  if (!TryStrToInt(field[3], GSV.SatsInView)) return TSentenceResult::Invalid;

  const int first = 4 * (GSV.MessageNumber - 1);
  for (int j = 0; j < 4; ++j) {
    TSatellite& sat = GSV.Sats[first + j];
    const size_t base = 4 + 4 * j;
    sat.PRN = nmea::IntOrZero(field[base]);
    sat.Elevation = nmea::IntOrZero(field[base + 1]);
    sat.Azimuth = nmea::IntOrZero(field[base + 2]);
    sat.SNR = nmea::IntOrZero(field[base + 3]);
  }
  return TSentenceResult::GSV;
}

// $--GSA,a,x,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,x.x,x.x,x.x*hh
//        1 2 3                                14 15  16  17
// mode (A automatic, M manual), fix type (1 none, 2 2D, 3 3D), the PRNs of
// up to twelve satellites used, PDOP, HDOP, VDOP. Never fails: whatever
// cannot be read is 0, and PRNs keep their low 8 bits.
TSentenceResult TNMEA::DecodeGSA(std::string_view line) {
  const nmea::TFields<18> field(line);
  GSA.Mode.assign(field[1]);
  GSA.FixType = static_cast<uint8_t>(nmea::IntOrZero(field[2]));
  for (size_t i = 0; i < GSA.UsedPRN.size(); ++i) {
    GSA.UsedPRN[i] = static_cast<uint8_t>(nmea::IntOrZero(field[i + 3]));
  }
  GSA.PDOP = nmea::SingleOrZero(field[15]);
  GSA.HDOP = nmea::SingleOrZero(field[16]);
  GSA.VDOP = nmea::SingleOrZero(field[17]);
  return TSentenceResult::GSA;
}

// $PGRME,x.x,M,x.x,M,x.x,M*hh
//        1   2 3   4 5   6
// estimated horizontal, vertical and overall position error, each followed
// by its unit letter, which is not read: the values are metres as sent.
// Never fails: whatever cannot be read is 0.
TSentenceResult TNMEA::DecodeRME(std::string_view line) {
  const nmea::TFields<6> field(line);
  RME.HPE = nmea::SingleOrZero(field[1]);
  RME.VPE = nmea::SingleOrZero(field[3]);
  RME.EPE = nmea::SingleOrZero(field[5]);
  return TSentenceResult::RME;
}

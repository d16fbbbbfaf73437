#include "history/EpochRecorder.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/Routines.h"
#include "nmea/Fields.h"

namespace {

std::optional<double> Real(std::string_view text) {
  double value = 0;
  if (text.empty() || !nmea::ReadDouble(text, value)) return std::nullopt;
  return value;
}

// A DDMM.MMMM (or DDDMM.MMMM) field and its hemisphere letter in signed
// decimal degrees.
std::optional<double> Coordinate(std::string_view text, std::string_view letter, char positive,
                                 char negative) {
  const std::optional<double> value = Real(text);
  if (!value || letter.size() != 1 || (letter[0] != positive && letter[0] != negative))
    return std::nullopt;
  return nmea::CoordinateDegrees(letter[0] == positive ? *value : -*value);
}

TEpochSignal Packed(const TSkyEntry& entry) {
  TEpochSignal signal;
  signal.System = entry.System;
  signal.Satellite = static_cast<uint16_t>(std::clamp(entry.Satellite, 0, 0xFFFF));
  signal.Signal = entry.Signal & 0x7F;
  signal.Used = entry.Used;
  if (entry.Elevation && *entry.Elevation >= -90 && *entry.Elevation <= 90)
    signal.Elevation = static_cast<int8_t>(*entry.Elevation);
  if (entry.Azimuth && *entry.Azimuth >= 0 && *entry.Azimuth < TEpochSignal::kNoAzimuth)
    signal.Azimuth = static_cast<uint16_t>(*entry.Azimuth);
  if (entry.SNR && *entry.SNR >= 0 && *entry.SNR < TEpochSignal::kNoSNR)
    signal.SNR = static_cast<uint8_t>(*entry.SNR);
  return signal;
}

// The checksum as the sentence counts judge it: the decoder's verdict for a
// "$" line, the same XOR rule for an encapsulated "!" one.
bool BadChecksum(std::string_view sentence, TSentenceResult decoded) {
  if (sentence.empty()) return false;
  if (sentence[0] == '$') return decoded == TSentenceResult::BadChecksum;
  return sentence[0] == '!' && !SentenceChecksumHolds(sentence);
}

}  // namespace

TEpochRecorder::TEpochRecorder(TSkyModel& sky) : Sky(sky) {
  Sky.SetEpochHandler([this] { Complete(); });
}

bool TEpochRecorder::Take(uint64_t number, std::string_view sentence, TSentenceResult decoded) {
  LineNumber = number;
  const bool read = Sky.Take(sentence);
  ++Current.Lines;
  if (BadChecksum(sentence, decoded)) {
    ++Current.BadChecksums;
    return read;
  }
  TakeFields(sentence, decoded);
  return read;
}

void TEpochRecorder::Finish(uint64_t lastLine) {
  LineNumber = lastLine;
  Complete();
}

namespace {

void Put(const TNavPvt& pvt, TEpoch& epoch) {
  epoch.Carrier = pvt.Carrier;
  epoch.HorizontalAccuracy = pvt.HorizontalAccuracy;
  epoch.VerticalAccuracy = pvt.VerticalAccuracy;
}

// Whether two times of day are one, across midnight too: NMEA's time field
// is rounded to a hundredth at best.
bool SameTime(double a, double b) {
  constexpr double kDay = 86400;
  const double apart = std::fmod(std::fabs(a - b), kDay);
  return std::min(apart, kDay - apart) < 0.02;
}

}  // namespace

// u-blox receivers send NAV-PVT before or after the sentences of its epoch,
// as they are set up. One whose time is not the time text of the epoch under
// way (or that comes before the first) is for the epoch that begins next.
void TEpochRecorder::TakeNavPvt(const TNavPvt& pvt) {
  const std::optional<std::string_view> text = Sky.EpochTime();
  const std::optional<double> time = text ? TimeOfDaySeconds(*text) : std::nullopt;
  if (pvt.Time && !(time && SameTime(*pvt.Time, *time)))
    NextPvt = pvt;
  else
    Put(pvt, Current);
}

void TEpochRecorder::Clear() {
  Sky.Clear();
  Current = TEpoch();
  LineNumber = 0;
  DecodedGga = false;
  LastDate.reset();
  LastGsa = {};
  NextPvt.reset();
  Watch.Clear();
  AlarmSince.reset();
  LastJamming.clear();
  JammingTime.reset();
  JammingInEpoch = false;
}

void TEpochRecorder::CopyStateFrom(const TEpochRecorder& other) {
  Current = other.Current;
  LineNumber = other.LineNumber;
  DecodedGga = other.DecodedGga;
  LastDate = other.LastDate;
  LastGsa = other.LastGsa;
  NextPvt = other.NextPvt;
  Watch = other.Watch;
  AlarmSince = other.AlarmSince;
  LastJamming = other.LastJamming;
  JammingTime = other.JammingTime;
  JammingInEpoch = other.JammingInEpoch;
  // A sky model copied from the other's sky came with its handler.
  Sky.SetEpochHandler([this] { Complete(); });
}

void TEpochRecorder::Complete() {
  TEpoch epoch = std::move(Current);
  Current = TEpoch();
  DecodedGga = false;
  if (NextPvt) Put(*NextPvt, Current);
  NextPvt.reset();
  const std::optional<std::string_view> time = Sky.EpochTime();
  if (!time && !Sky.EpochHasSky()) return;
  epoch.Line = LineNumber;
  if (time) epoch.Time.emplace(*time);
  epoch.Date = LastDate;
  const std::vector<TSkyEntry>& entries = Sky.Entries();
  epoch.Signals.reserve(entries.size());
  for (const TSkyEntry& entry : entries) epoch.Signals.push_back(Packed(entry));
  const bool wasSuspected = Watch.Suspected();
  epoch.Interference = Watch.Take(epoch.Signals, epoch.Quality.value_or(0) >= 1);
  if (epoch.Interference && !wasSuspected) AlarmSince = epoch.Time;
  if (!epoch.Interference) AlarmSince.reset();
  AgeJamming(epoch.Time);
  epoch.Jamming = LastJamming;
  if (OnEpoch) OnEpoch(epoch);
}

void TEpochRecorder::TakeJamming(const TMonRf& rf) {
  LastJamming = JammingOf(rf);
  JammingInEpoch = true;
}

// Time of day wraps at midnight; an epoch without a readable time ages
// nothing.
void TEpochRecorder::AgeJamming(const std::optional<std::string>& time) {
  const std::optional<double> now = time ? TimeOfDaySeconds(*time) : std::nullopt;
  const bool fresh = JammingInEpoch;
  JammingInEpoch = false;
  if (fresh || !JammingTime) {
    JammingTime = now;
    return;
  }
  if (!now) return;
  constexpr double kDay = 86400;
  const double since = std::fmod(*now - *JammingTime + kDay, kDay);
  if (since < kJammingForgetSeconds) return;
  LastJamming.clear();
  JammingTime.reset();
}

// The fields come from the sentence's text, not from the decoder's records:
// an empty field is a missing value here, where the decoder keeps a zero.
void TEpochRecorder::TakeFields(std::string_view sentence, TSentenceResult decoded) {
  if (sentence.size() < 6 || sentence[0] != '$' || decoded == TSentenceResult::BadChecksum) return;
  const size_t comma = sentence.find(',');
  if (comma != 6) return;
  const std::string_view type = sentence.substr(3, 3);
  if (type == "GGA")
    TakeGGA(sentence, decoded);
  else if (type == "GSA")
    TakeGSA(sentence);
  else if (type == "RMC")
    TakeRMC(sentence);
  else if (type == "GST")
    TakeGST(sentence);
  else if (type == "RME")
    TakeRME(sentence);
}

// $--GGA,hhmmss.ss,llll.ll,a,yyyyy.yy,a,x,xx,x.x,x.x,M,x.x,M,x.x,xxxx*hh
//        1         2       3 4        5 6 7  8   9   10 11 12 13  14
void TEpochRecorder::TakeGGA(std::string_view sentence, TSentenceResult decoded) {
  // The epoch's fields are those of its last GGA that decodes: a receiver's
  // empty GGA after a fix of the same epoch leaves the fix standing. Without
  // one that decodes, the last GGA read still says what it can.
  const bool decodes = decoded == TSentenceResult::GGA;
  if (!decodes && DecodedGga) return;
  DecodedGga = decodes;
  const nmea::TFields<15> field(sentence);
  TEpoch& epoch = Current;
  epoch.Quality = ParseDigits(field[6]);
  epoch.Used = ParseDigits(field[7]);
  epoch.HDOP = Real(field[8]);
  epoch.DiffAge = Real(field[13]);
  epoch.DiffStation = ParseDigits(field[14]);
  const int quality = epoch.Quality.value_or(0);
  const std::optional<double> latitude = Coordinate(field[2], field[3], 'N', 'S');
  const std::optional<double> longitude = Coordinate(field[4], field[5], 'E', 'W');
  const std::optional<double> altitude = Real(field[9]);
  const bool located = quality > 0;
  epoch.Latitude = located ? latitude : std::nullopt;
  epoch.Longitude = located ? longitude : std::nullopt;
  epoch.Altitude = located ? altitude : std::nullopt;
  if (quality < 1 || quality > 5 || !latitude || !longitude || !altitude) return;
  // A GGA the decoder refused is no fix, though its fields may read here.
  if (!decodes) return;
  TEpochFix& fix = epoch.Fixes.emplace_back();
  fix.Latitude = *latitude;
  fix.Longitude = *longitude;
  fix.Altitude = *altitude;
  fix.Time = TimeOfDaySeconds(field[1]);
  fix.HDOP = epoch.HDOP;
  fix.Used = epoch.Used;
  fix.Quality = quality;
  fix.Mode = LastGsa.Mode;
  fix.PDOP = LastGsa.PDOP;
  fix.VDOP = LastGsa.VDOP;
}

// $--GSA,a,x,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,xx,x.x,x.x,x.x[,h]*hh
//        1 2 3                                   14 15  16  17
// selection mode, fix mode, twelve satellites, PDOP, HDOP, VDOP, and with
// NMEA 4.11 the system ID.
void TEpochRecorder::TakeGSA(std::string_view sentence) {
  const nmea::TFields<18> field(sentence);
  LastGsa = {ParseDigits(field[2]), Real(field[15]), Real(field[17])};
  Current.Mode = LastGsa.Mode;
  Current.PDOP = LastGsa.PDOP;
  Current.VDOP = LastGsa.VDOP;
}

// $--RMC,hhmmss.ss,A,llll.ll,a,yyyyy.yy,a,x.x,x.x,ddmmyy,x.x,a*hh
//        1         2 3       4 5        6 7   8   9      10  11
void TEpochRecorder::TakeRMC(std::string_view sentence) {
  const nmea::TFields<10> field(sentence);
  Current.Speed = Real(field[7]);
  Current.Course = Real(field[8]);
  if (!field[9].empty()) LastDate.emplace(field[9]);
}

// $--GST,hhmmss.ss,x.x,x.x,x.x,x.x,x.x,x.x,x.x*hh
//        1         2   3   4   5   6   7   8
// RMS of the ranges, the error ellipse, then the 1-sigma errors of
// latitude, longitude and altitude in metres.
void TEpochRecorder::TakeGST(std::string_view sentence) {
  const nmea::TFields<9> field(sentence);
  Current.LatitudeError = Real(field[6]);
  Current.LongitudeError = Real(field[7]);
  Current.AltitudeError = Real(field[8]);
}

// $PGRME,x.x,M,x.x,M,x.x,M*hh
//        1   2 3   4 5   6
// Garmin's estimated horizontal, vertical and spherical position errors.
void TEpochRecorder::TakeRME(std::string_view sentence) {
  const nmea::TFields<6> field(sentence);
  Current.HorizontalError = Real(field[1]);
  Current.VerticalError = Real(field[3]);
  Current.SphericalError = Real(field[5]);
}

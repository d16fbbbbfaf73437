#pragma once
// One fix epoch as the history keeps it: what the receiver said between two
// changes of its time text (GGA, RMC, GNS or GLL), the way `tolvane-decode
// --sky` delimits epochs. Every value is as the epoch's last sentence of its
// kind gave it, and absent where that sentence or its field was missing.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "nmea/SkySystems.h"
#include "nmea/TimeText.h"
#include "nmea/UbxMonRf.h"
#include "nmea/UbxNavPvt.h"

// One satellite on one signal at the end of the epoch, packed: a receiver
// reporting 60 signals at 10 Hz fills a day's history with these.
struct TEpochSignal {
  static constexpr int8_t kNoElevation = -128;
  static constexpr uint16_t kNoAzimuth = 0xFFFF;
  static constexpr uint8_t kNoSNR = 0xFF;

  uint16_t Satellite = 0;
  uint16_t Azimuth = kNoAzimuth;
  int8_t Elevation = kNoElevation;
  uint8_t SNR = kNoSNR;
  TSkySystem System = TSkySystem::Other;
  uint8_t Signal : 7 = 0;  // the NMEA signal ID, 0 when not given
  uint8_t Used : 1 = 0;

  bool HasSNR() const { return SNR != kNoSNR; }
  bool HasElevation() const { return Elevation != kNoElevation; }
  bool operator==(const TEpochSignal&) const = default;
};

// A GGA that is a fix: checksum valid, quality 1 to 5, and latitude,
// longitude and altitude all given. Some receivers send one per talker.
struct TEpochFix {
  double Latitude = 0;   // signed decimal degrees
  double Longitude = 0;  // signed decimal degrees
  double Altitude = 0;   // metres above mean sea level (field 9)
  // The GGA's time of day in seconds, with its fraction; none when unreadable.
  std::optional<double> Time;
  std::optional<double> HDOP;
  std::optional<int> Used;  // satellites in use (field 7)
  int Quality = 0;
  // From the last GSA before this GGA, in this epoch or an earlier one.
  std::optional<int> Mode;  // 1 no fix, 2 2D, 3 3D
  std::optional<double> PDOP;
  std::optional<double> VDOP;

  bool operator==(const TEpochFix&) const = default;
};

struct TEpoch {
  // The number of the line that ended the epoch: the next epoch's first time
  // sentence, or the last line of the input.
  uint64_t Line = 0;
  // The time field as sent; none for the lines before the first time sentence.
  std::optional<std::string> Time;
  // The date field (ddmmyy) of the last RMC so far that had one.
  std::optional<std::string> Date;

  // From the epoch's last GGA that decodes (its last GGA when none does):
  // quality (6), satellites used (7), HDOP (8), altitude (9), differential
  // age (13) and station (14); the position and altitude only when the
  // quality is above 0.
  std::optional<int> Quality;
  std::optional<int> Used;
  std::optional<double> Latitude;
  std::optional<double> Longitude;
  std::optional<double> Altitude;
  std::optional<double> HDOP;
  std::optional<double> DiffAge;
  std::optional<int> DiffStation;
  // From the epoch's last GSA: the fix mode (2), PDOP (15) and VDOP (17).
  std::optional<int> Mode;
  std::optional<double> PDOP;
  std::optional<double> VDOP;
  // From the epoch's last RMC: speed in knots (7) and course (8).
  std::optional<double> Speed;
  std::optional<double> Course;
  // The receiver's own 1-sigma errors in metres: GST fields 6 to 8.
  std::optional<double> LatitudeError;
  std::optional<double> LongitudeError;
  std::optional<double> AltitudeError;
  // Garmin's RME estimates in metres: horizontal, vertical, spherical.
  std::optional<double> HorizontalError;
  std::optional<double> VerticalError;
  std::optional<double> SphericalError;
  // From the epoch's last UBX NAV-PVT: the carrier solution (RTK float or
  // fixed) and the accuracies it claims (hAcc, vAcc) in metres.
  std::optional<TCarrierSolution> Carrier;
  std::optional<double> HorizontalAccuracy;
  std::optional<double> VerticalAccuracy;

  uint32_t Lines = 0;         // every line of the epoch
  uint32_t BadChecksums = 0;  // of those
  // Interference suspected at the end of this epoch.
  bool Interference = false;
  // The receiver's own jamming verdict per RF block, from its last MON-RF
  // (TEpochRecorder::TakeJamming); empty without one.
  std::vector<TRfJamming> Jamming;

  // The sky model at the end of the epoch, sorted by system, satellite and
  // signal.
  std::vector<TEpochSignal> Signals;
  // Every GGA of the epoch that is a fix, in order.
  std::vector<TEpochFix> Fixes;
};

// The date of an RMC sentence (without a TAG block) as ddmmyy, -1 when its
// date field is not six digits.
int32_t RmcDate(std::string_view sentence);

// Per system, in TSkySystem order: the mean SNR of the epoch's signals that
// have one, rounded half away from zero to one decimal; none for a system
// without any.
std::array<std::optional<double>, kSkySystemCount> EpochCn0(const TEpoch& epoch);

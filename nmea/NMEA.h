#pragma once
// The sentence decoder: one line of NMEA 0183 text in, an update of one of five
// records and a small result code out. Decoding never throws.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "common/Routines.h"

// What Decode made of a line; the numbers are the codes tolvane-decode writes.
enum class TSentenceResult : uint8_t {
  BadChecksum = 0,
  Unrecognised = 1,
  Invalid = 2,
  GGA = 3,
  RMC = 4,
  GSV = 5,
  GSA = 6,
  RME = 7,
};

struct TGGA {
  TDateTime Time = 0;  // time of day only, whole seconds
  double Latitude = 0;
  double Longitude = 0;
  uint8_t Quality = 0;
  uint8_t SatsUsed = 0;
  float HDOP = 0;
  float Altitude = 0;
  float GeoidSeparation = 0;
  float DiffAge = 0;
  int32_t DiffStation = 0;

  bool operator==(const TGGA&) const = default;
};

struct TRMC {
  TDateTime DateTime = 0;
  bool Valid = false;
  double Latitude = 0;
  double Longitude = 0;
  float Speed = 0;
  float Course = 0;
  float Variation = 0;  // west negative

  bool operator==(const TRMC&) const = default;
};

struct TSatellite {
  int32_t PRN = 0;
  int32_t Elevation = 0;
  int32_t Azimuth = 0;
  int32_t SNR = 0;

  bool operator==(const TSatellite&) const = default;
};

constexpr int kSatelliteSlots = 12;

namespace nmea {
// The range of SNR receivers report, in dB-Hz (the sentence allows up to 99;
// none sends above 60), and so of everything that shows or makes one.
inline constexpr int kSNRMinimum = 0;
inline constexpr int kSNRMaximum = 60;
}  // namespace nmea

struct TGSV {
  int32_t MessageCount = 0;
  int32_t MessageNumber = 0;
  int32_t SatsInView = 0;
  std::array<TSatellite, kSatelliteSlots> Sats{};  // slot n is Sats[n - 1]

  bool operator==(const TGSV&) const = default;
};

struct TGSA {
  std::string Mode;
  uint8_t FixType = 0;
  std::array<uint8_t, kSatelliteSlots> UsedPRN{};  // entry i is UsedPRN[i - 1]
  float PDOP = 0;
  float HDOP = 0;
  float VDOP = 0;

  bool operator==(const TGSA&) const = default;
};

struct TRME {
  float HPE = 0;
  float VPE = 0;
  float EPE = 0;

  bool operator==(const TRME&) const = default;
};

// The name of a result code ("srGGA" ...), for logs and the command line.
const char* SentenceResultName(TSentenceResult result);

// SentenceChecksumHolds (common/Routines.h) judges "$" and "!" lines alike.

class TNMEA {
 public:
  TGGA GGA;
  TRMC RMC;
  TGSV GSV;
  TGSA GSA;
  TRME RME;

  TSentenceResult Decode(std::string_view line);
  bool ChecksumValid(std::string_view line) const;

  TSentenceResult DecodeGGA(std::string_view line);
  TSentenceResult DecodeRMC(std::string_view line);
  TSentenceResult DecodeGSV(std::string_view line);
  TSentenceResult DecodeGSA(std::string_view line);
  TSentenceResult DecodeRME(std::string_view line);

 private:
  // The current year for two-digit RMC years, read from the clock at most
  // once a second of the tick counter: the clock is too slow to ask per line.
  int CurrentYear();
  int CachedYear = 0;
  uint32_t CachedYearTick = 0;
};

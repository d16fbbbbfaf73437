#include "nmea/NMEA.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "common/Clock.h"
#include "common/Routines.h"

namespace {

using TDecoder = TSentenceResult (TNMEA::*)(std::string_view);

struct TSentenceType {
  std::string_view Tag;
  TDecoder Decoder;
};

// The sentence types this program decodes, in the order they are tried. The
// tag is read at characters 4 to 6 whatever the talker, which is also where
// the proprietary "$PGRME" carries "RME".
constexpr TSentenceType kSentenceTypes[] = {
    {"GGA", &TNMEA::DecodeGGA}, {"RMC", &TNMEA::DecodeRMC}, {"GSV", &TNMEA::DecodeGSV},
    {"GSA", &TNMEA::DecodeGSA}, {"RME", &TNMEA::DecodeRME},
};

constexpr uint32_t kYearCacheMs = 1000;

size_t Find(std::string_view line, char ch) {
  const void* found = std::memchr(line.data(), ch, line.size());
  return found ? static_cast<size_t>(static_cast<const char*>(found) - line.data())
               : std::string_view::npos;
}

}  // namespace

const char* SentenceResultName(TSentenceResult result) {
  static constexpr const char* kNames[] = {"srBadChecksum", "srUnrecognised", "srInvalid", "srGGA",
                                           "srRMC",         "srGSV",          "srGSA",     "srRME"};
  const auto code = static_cast<size_t>(result);
  return code < std::size(kNames) ? kNames[code] : "srUnknown";
}

TSentenceResult TNMEA::Decode(std::string_view line) {
  const std::string_view type = line.substr(std::min<size_t>(3, line.size()), 3);
  if (!ChecksumValid(line)) return TSentenceResult::BadChecksum;
  if (type.size() != 3) return TSentenceResult::Unrecognised;
  for (const TSentenceType& sentence : kSentenceTypes) {
    if (type[0] == sentence.Tag[0] && type[1] == sentence.Tag[1] && type[2] == sentence.Tag[2]) {
      return (this->*sentence.Decoder)(line);
    }
  }
  return TSentenceResult::Unrecognised;
}

bool TNMEA::ChecksumValid(std::string_view line) const {
  return ChecksumMatches(line, Find(line, '$'), Find(line, '*'));
}

int TNMEA::CurrentYear() {
  const uint32_t tick = Clock::TickCount();
  if (CachedYear == 0 || tick - CachedYearTick >= kYearCacheMs) {
    CachedYear = DecodeDateTime(Clock::Now()).Year;
    CachedYearTick = tick;
  }
  return CachedYear;
}

#include "history/FixQuality.h"

#include <cstddef>

std::optional<TFixQuality> FixQualityOf(int ggaQuality) {
  switch (ggaQuality) {
    case 0:
      return TFixQuality::NoFix;
    case 1:
    case 3:
      return TFixQuality::GPS;
    case 2:
      return TFixQuality::DGPS;
    case 4:
      return TFixQuality::RTKFixed;
    case 5:
      return TFixQuality::RTKFloat;
    case 6:
      return TFixQuality::DeadReckoning;
    default:
      return std::nullopt;
  }
}

namespace {

struct TFixQualityLook {
  const char* Name;
  uint32_t Colour;
};

constexpr TFixQualityLook kLooks[kFixQualityCount] = {
    {"No fix", 0x9E9E9E}, {"Dead reckoning", 0x8D3B2B}, {"GPS", 0x3465A4},
    {"DGPS", 0x2AA198},   {"RTK float", 0xF08A00},      {"RTK fixed", 0x2E9E3E},
};

}  // namespace

const char* FixQualityName(TFixQuality quality) {
  return kLooks[static_cast<size_t>(quality)].Name;
}

uint32_t FixQualityColour(TFixQuality quality) {
  return kLooks[static_cast<size_t>(quality)].Colour;
}

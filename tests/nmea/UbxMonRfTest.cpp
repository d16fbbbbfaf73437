// MON-RF: whole records, the flags' jamming bits, lengths that do not match.

#include <gtest/gtest.h>

#include <string>

#include "nmea/UbxMonRf.h"

namespace {

// One 24-byte block: antStatus 2, antPower 1, postStatus 7, noisePerMS 90,
// agcCnt 5200 (0x1450), ofsI -3, magI 130, ofsQ 4, magQ 128.
std::string Block(char id, char flags, char jamInd) {
  return std::string{id, flags, 2,    1,    7,      0,        0,         0, 0,         0, 0, 0,
                     90, 0,     0x50, 0x14, jamInd, char(-3), char(130), 4, char(128), 0, 0, 0};
}

TMonRfBlock Record(uint8_t id, TJammingState state, uint8_t jamInd) {
  return {id, state, 2, 1, 7, 90, 5200, jamInd, -3, 130, 4, 128};
}

TEST(UbxMonRf, Decode) {
  const std::string header1("\x00\x01\x00\x00", 4);
  const std::string header2("\x00\x02\x00\x00", 4);
  const struct {
    const char* Legend;
    std::string Payload;
    std::optional<TMonRf> Expected;
  } cases[] = {
      {"one block, ok", header1 + Block(0, 1, 20), TMonRf{0, {Record(0, TJammingState::Ok, 20)}}},
      {"two blocks, L2 critical", header2 + Block(0, 2, 90) + Block(1, 3, char(200)),
       TMonRf{0, {Record(0, TJammingState::Warning, 90), Record(1, TJammingState::Critical, 200)}}},
      {"flags' other bits are no state", header1 + Block(0, char(0xFC), 0),
       TMonRf{0, {Record(0, TJammingState::Unknown, 0)}}},
      {"no blocks", std::string("\x01\x00\x00\x00", 4), TMonRf{1, {}}},
      {"a block short of its count", header2 + Block(0, 1, 0), std::nullopt},
      {"a byte too many", header1 + Block(0, 1, 0) + '\0', std::nullopt},
      {"shorter than the header", std::string("\x00\x00", 2), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeMonRf(c.Payload), c.Expected) << c.Legend;
}

}  // namespace

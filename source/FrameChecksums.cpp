#include "source/FrameChecksums.h"

#include <array>

namespace {

constexpr uint32_t kCrc24qPolynomial = 0x1864CFB;

constexpr std::array<uint32_t, 256> Crc24qTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t byte = 0; byte < 256; ++byte) {
    uint32_t crc = byte << 16;
    for (int bit = 0; bit < 8; ++bit) {
      crc <<= 1;
      if ((crc & 0x1000000) != 0) crc ^= kCrc24qPolynomial;
    }
    table[byte] = crc & 0xFFFFFF;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrc24q = Crc24qTable();

}  // namespace

uint16_t UbxChecksum(std::string_view bytes) {
  // Sums in wider registers, reduced once at the end: both sums are wanted
  // modulo 256, which truncation gives.
  uint32_t a = 0;
  uint32_t b = 0;
  for (const char ch : bytes) {
    a += static_cast<uint8_t>(ch);
    b += a;
  }
  return static_cast<uint16_t>((a & 0xFF) | ((b & 0xFF) << 8));
}

uint32_t Crc24q(std::string_view bytes) {
  uint32_t crc = 0;
  for (const char ch : bytes)
    crc = ((crc << 8) & 0xFFFFFF) ^ kCrc24q[((crc >> 16) ^ static_cast<uint8_t>(ch)) & 0xFF];
  return crc;
}

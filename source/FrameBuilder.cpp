#include "source/FrameBuilder.h"

#include <algorithm>

#include "common/Frame.h"
#include "source/FrameChecksums.h"

TUbxPayload& TUbxPayload::Put(uint32_t value, int size) {
  for (int i = 0; i < size; ++i) Data.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  return *this;
}

TRtcm3Bits& TRtcm3Bits::Put(int64_t value, int bits) {
  const auto raw = static_cast<uint64_t>(value);
  for (int bit = bits - 1; bit >= 0; --bit) {
    if (Count % 8 == 0) Data.push_back('\0');
    if ((raw >> bit & 1) != 0) Data.back() = static_cast<char>(Data.back() | 0x80 >> Count % 8);
    ++Count;
  }
  return *this;
}

std::string UbxFrame(uint8_t messageClass, uint8_t id, std::string_view payload) {
  payload = payload.substr(0, std::min(payload.size(), kUbxMaxPayload));
  std::string frame = {static_cast<char>(0xB5),
                       0x62,
                       static_cast<char>(messageClass),
                       static_cast<char>(id),
                       static_cast<char>(payload.size() & 0xFF),
                       static_cast<char>(payload.size() >> 8)};
  frame.append(payload);
  const uint16_t checksum = UbxChecksum(std::string_view(frame).substr(2));
  frame.push_back(static_cast<char>(checksum & 0xFF));
  frame.push_back(static_cast<char>(checksum >> 8));
  return frame;
}

std::string Rtcm3Frame(std::string_view payload) {
  payload = payload.substr(0, std::min(payload.size(), kRtcm3MaxPayload));
  std::string frame = {static_cast<char>(0xD3), static_cast<char>(payload.size() >> 8),
                       static_cast<char>(payload.size() & 0xFF)};
  frame.append(payload);
  const uint32_t crc = Crc24q(frame);
  for (int shift = 16; shift >= 0; shift -= 8) frame.push_back(static_cast<char>(crc >> shift));
  return frame;
}

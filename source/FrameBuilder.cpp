#include "source/FrameBuilder.h"

#include <algorithm>

#include "common/Frame.h"
#include "source/FrameChecksums.h"

TUbxPayload& TUbxPayload::Put(uint64_t value, int size) {
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

std::string UbxRawxFrame(const TRawxEpoch& epoch) {
  constexpr uint8_t kRxmClass = 0x02;
  constexpr uint8_t kRawxId = 0x15;
  // Standard deviations of 0.5 m, 0.012 cycles, 0.04 Hz: indices as the
  // receiver reports a good signal.
  constexpr uint8_t kPrStdev = 3, kCpStdev = 3, kDoStdev = 3;
  TUbxPayload payload;
  payload.R8(epoch.ReceiverTow).U2(epoch.Week).I1(epoch.LeapSeconds);
  payload.U1(static_cast<uint8_t>(epoch.Measurements.size())).U1(epoch.ReceiverStatus).U1(1);
  payload.Zeros(2);
  for (const TRawxMeasurement& meas : epoch.Measurements) {
    payload.R8(meas.Pseudorange).R8(meas.CarrierPhase).R4(meas.Doppler);
    payload.U1(meas.GnssId).U1(meas.SvId).U1(meas.SignalId).U1(0).U2(meas.LockTime);
    payload.U1(meas.CNo).U1(kPrStdev).U1(kCpStdev).U1(kDoStdev).U1(meas.TrackStatus).U1(0);
  }
  return UbxFrame(kRxmClass, kRawxId, payload.Bytes());
}

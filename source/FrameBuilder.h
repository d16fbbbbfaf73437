#pragma once
// Builds binary frames as a receiver sends them, for the simulator and the
// tests: the payload field by field, then the frame around it with its
// checksum.

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A UBX payload: fields in little-endian order, as the message tables list them.
class TUbxPayload {
 public:
  TUbxPayload& U1(uint8_t value) { return Put(value, 1); }
  TUbxPayload& U2(uint16_t value) { return Put(value, 2); }
  TUbxPayload& U4(uint32_t value) { return Put(value, 4); }
  TUbxPayload& I1(int8_t value) { return Put(static_cast<uint8_t>(value), 1); }
  TUbxPayload& I2(int16_t value) { return Put(static_cast<uint16_t>(value), 2); }
  TUbxPayload& I4(int32_t value) { return Put(static_cast<uint32_t>(value), 4); }
  TUbxPayload& R4(float value) { return Put(std::bit_cast<uint32_t>(value), 4); }
  TUbxPayload& R8(double value) { return Put(std::bit_cast<uint64_t>(value), 8); }
  TUbxPayload& Zeros(size_t count) {
    Data.append(count, '\0');
    return *this;
  }
  TUbxPayload& Text(std::string_view text) {
    Data.append(text);
    return *this;
  }
  const std::string& Bytes() const { return Data; }

 private:
  TUbxPayload& Put(uint64_t value, int size);

  std::string Data;
};

// An RTCM 3 payload: bit fields, most significant bit first, packed without
// gaps; the last byte is padded with zeros.
class TRtcm3Bits {
 public:
  // The low `bits` bits of `value` (two's complement for a negative one).
  TRtcm3Bits& Put(int64_t value, int bits);
  size_t BitCount() const { return Count; }
  const std::string& Bytes() const { return Data; }

 private:
  std::string Data;
  size_t Count = 0;
};

// 0xB5 0x62, class, id, length, payload, Fletcher-8 checksum.
std::string UbxFrame(uint8_t messageClass, uint8_t id, std::string_view payload);
// 0xD3, length, payload, CRC-24Q; the payload is cut to the 1,023 bytes a
// frame can hold.
std::string Rtcm3Frame(std::string_view payload);

// UBX-RXM-RAWX (class 0x02, id 0x15, version 1): one epoch of raw
// measurements, what RTKLIB turns into RINEX observations.
//   R8 rcvTow  U2 week  I1 leapS  U1 numMeas  X1 recStat  U1 version  U1[2]
//   then per measurement, 32 bytes:
//   R8 prMes  R8 cpMes  R4 doMes  U1 gnssId  U1 svId  U1 sigId  U1 freqId
//   U2 locktime  U1 cno  X1 prStdev  X1 cpStdev  X1 doStdev  X1 trkStat  U1
struct TRawxMeasurement {
  double Pseudorange = 0;   // m
  double CarrierPhase = 0;  // cycles
  float Doppler = 0;        // Hz
  uint8_t GnssId = 0;       // 0 GPS
  uint8_t SvId = 0;
  uint8_t SignalId = 0;        // 0 GPS L1C/A
  uint16_t LockTime = 0;       // ms
  uint8_t CNo = 0;             // dBHz
  uint8_t TrackStatus = 0x07;  // pseudorange and carrier phase valid, half cycle resolved
};

struct TRawxEpoch {
  double ReceiverTow = 0;  // s of the GPS week
  uint16_t Week = 0;
  int8_t LeapSeconds = 18;
  uint8_t ReceiverStatus = 0x01;  // leap seconds known
  std::vector<TRawxMeasurement> Measurements;
};

std::string UbxRawxFrame(const TRawxEpoch& epoch);

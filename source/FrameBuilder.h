#pragma once
// Builds binary frames as a receiver sends them, for the simulator and the
// tests: the payload field by field, then the frame around it with its
// checksum.

#include <cstdint>
#include <string>
#include <string_view>

// A UBX payload: fields in little-endian order, as the message tables list them.
class TUbxPayload {
 public:
  TUbxPayload& U1(uint8_t value) { return Put(value, 1); }
  TUbxPayload& U2(uint16_t value) { return Put(value, 2); }
  TUbxPayload& U4(uint32_t value) { return Put(value, 4); }
  TUbxPayload& I1(int8_t value) { return Put(static_cast<uint8_t>(value), 1); }
  TUbxPayload& I2(int16_t value) { return Put(static_cast<uint16_t>(value), 2); }
  TUbxPayload& I4(int32_t value) { return Put(static_cast<uint32_t>(value), 4); }
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
  TUbxPayload& Put(uint32_t value, int size);

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

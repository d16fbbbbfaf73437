#pragma once
// A binary frame that a receiver sends on the same wire as its NMEA lines:
// u-blox's UBX or an RTCM 3 message. The record names the frame; its bytes
// belong to whoever handed it out and last only as long as they say.

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TFrameKind : uint8_t { Ubx, Rtcm3 };

// 0xB5 0x62, class, id, payload length (16 bits, little-endian), payload,
// CK_A CK_B (Fletcher-8 over class through payload).
constexpr size_t kUbxHeaderSize = 6;
constexpr size_t kUbxOverhead = kUbxHeaderSize + 2;
// No UBX message a receiver sends comes near this; a longer length field is
// noise, and waiting for it would hold back the text behind it.
constexpr size_t kUbxMaxPayload = 8192;

// 0xD3, six zero bits and a 10-bit payload length, payload, CRC-24Q over
// header and payload (three bytes, most significant first).
constexpr size_t kRtcm3HeaderSize = 3;
constexpr size_t kRtcm3Overhead = kRtcm3HeaderSize + 3;
constexpr size_t kRtcm3MaxPayload = 1023;

// A frame travels among a source's lines as its bytes behind this mark: the
// line buffer keeps only printable characters, so no text line begins with it.
inline constexpr char kFrameLineMark = '\x01';
inline bool IsFrameLine(std::string_view line) {
  return !line.empty() && line.front() == kFrameLineMark;
}

struct TFrame {
  TFrameKind Kind = TFrameKind::Ubx;
  uint8_t Class = 0;       // UBX only
  uint8_t Id = 0;          // UBX only
  uint16_t Type = 0;       // RTCM 3 only: the payload's first 12 bits (0 when shorter)
  uint16_t Length = 0;     // of the payload
  std::string_view Bytes;  // the whole frame, from its first sync byte to its checksum

  std::string_view Payload() const {
    return Bytes.substr(Kind == TFrameKind::Ubx ? kUbxHeaderSize : kRtcm3HeaderSize, Length);
  }
};

#include "nmea/FrameNames.h"

#include <cstdio>

#include "common/Routines.h"

namespace {

struct TUbxName {
  uint8_t Class;
  uint8_t Id;
  const char* Name;
};

constexpr uint8_t kUbxInf = 0x04;

// The messages a u-blox receiver is usually set to send, and the answers to
// what a user sends it.
constexpr TUbxName kUbxNames[] = {
    {0x01, 0x07, "NAV-PVT"},      {0x01, 0x35, "NAV-SAT"},        {0x01, 0x43, "NAV-SIG"},
    {0x01, 0x03, "NAV-STATUS"},   {0x01, 0x04, "NAV-DOP"},        {0x01, 0x02, "NAV-POSLLH"},
    {0x01, 0x14, "NAV-HPPOSLLH"}, {0x01, 0x21, "NAV-TIMEUTC"},    {0x01, 0x3C, "NAV-RELPOSNED"},
    {0x02, 0x15, "RXM-RAWX"},     {0x02, 0x13, "RXM-SFRBX"},      {0x02, 0x32, "RXM-RTCM"},
    {0x0A, 0x38, "MON-RF"},       {0x0A, 0x09, "MON-HW"},         {0x0A, 0x04, "MON-VER"},
    {0x0A, 0x36, "MON-COMMS"},    {0x05, 0x01, "ACK-ACK"},        {0x05, 0x00, "ACK-NAK"},
    {0x06, 0x8A, "CFG-VALSET"},   {0x06, 0x8B, "CFG-VALGET"},     {0x06, 0x8C, "CFG-VALDEL"},
    {kUbxInf, 0x00, "INF-ERROR"}, {kUbxInf, 0x01, "INF-WARNING"}, {kUbxInf, 0x02, "INF-NOTICE"},
    {kUbxInf, 0x03, "INF-TEST"},  {kUbxInf, 0x04, "INF-DEBUG"},
};

struct TRtcm3Name {
  uint16_t Type;
  const char* Name;
};

constexpr TRtcm3Name kRtcm3Names[] = {
    {1001, "GPS L1 observables"},
    {1002, "GPS L1 observables extended"},
    {1003, "GPS L1/L2 observables"},
    {1004, "GPS L1/L2 observables extended"},
    {1005, "Station ARP"},
    {1006, "Station ARP and height"},
    {1007, "Antenna descriptor"},
    {1008, "Antenna descriptor and serial"},
    {1009, "GLONASS L1 observables"},
    {1010, "GLONASS L1 observables extended"},
    {1011, "GLONASS L1/L2 observables"},
    {1012, "GLONASS L1/L2 observables extended"},
    {1019, "GPS ephemeris"},
    {1020, "GLONASS ephemeris"},
    {1033, "Receiver and antenna descriptors"},
    {1042, "BeiDou ephemeris"},
    {1044, "QZSS ephemeris"},
    {1045, "Galileo F/NAV ephemeris"},
    {1046, "Galileo I/NAV ephemeris"},
    {1074, "GPS MSM4"},
    {1075, "GPS MSM5"},
    {1076, "GPS MSM6"},
    {1077, "GPS MSM7"},
    {1084, "GLONASS MSM4"},
    {1085, "GLONASS MSM5"},
    {1086, "GLONASS MSM6"},
    {1087, "GLONASS MSM7"},
    {1094, "Galileo MSM4"},
    {1095, "Galileo MSM5"},
    {1096, "Galileo MSM6"},
    {1097, "Galileo MSM7"},
    {1114, "QZSS MSM4"},
    {1115, "QZSS MSM5"},
    {1116, "QZSS MSM6"},
    {1117, "QZSS MSM7"},
    {1124, "BeiDou MSM4"},
    {1125, "BeiDou MSM5"},
    {1126, "BeiDou MSM6"},
    {1127, "BeiDou MSM7"},
    {1230, "GLONASS code-phase biases"},
    // u-blox's own: the reference station's position and time for a moving base.
    {4072, "u-blox reference station"},
};

// What stands after the kind in an address and a summary: the name, the
// class and id in hex, or the message number.
std::string Label(const TFrame& frame) {
  if (frame.Kind == TFrameKind::Rtcm3) return std::to_string(frame.Type);
  const std::string_view name = FrameMessageName(frame);
  if (!name.empty()) return std::string(name);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%02X 0x%02X", frame.Class, frame.Id);
  return hex;
}

}  // namespace

std::string_view FrameKindName(TFrameKind kind) {
  return kind == TFrameKind::Ubx ? "UBX" : "RTCM3";
}

std::string_view FrameMessageName(const TFrame& frame) {
  if (frame.Kind == TFrameKind::Ubx) {
    for (const TUbxName& known : kUbxNames)
      if (known.Class == frame.Class && known.Id == frame.Id) return known.Name;
  } else {
    for (const TRtcm3Name& known : kRtcm3Names)
      if (known.Type == frame.Type) return known.Name;
  }
  return {};
}

std::string FrameText(const TFrame& frame) {
  if (frame.Kind != TFrameKind::Ubx || frame.Class != kUbxInf || FrameMessageName(frame).empty())
    return {};
  const std::string_view payload = frame.Payload();
  return KeepPrintable(payload.substr(0, payload.find('\0')));
}

std::string FrameAddress(const TFrame& frame) {
  std::string address(FrameKindName(frame.Kind));
  address += ' ';
  address += Label(frame);
  return address;
}

std::string FrameSummary(const TFrame& frame) {
  // Appended piece by piece: GCC 12 at -O3 takes "[" + text for an
  // overlapping copy and warns.
  std::string summary = "[";
  summary += FrameAddress(frame);
  if (frame.Kind == TFrameKind::Rtcm3) {
    const std::string_view name = FrameMessageName(frame);
    if (!name.empty()) summary.append(" ").append(name);
  }
  summary += ' ';
  summary += std::to_string(frame.Length);
  summary += frame.Length == 1 ? " byte]" : " bytes]";
  const std::string text = FrameText(frame);
  if (!text.empty()) {
    summary += ' ';
    summary += text;
  }
  return summary;
}

std::optional<TFrame> FrameOf(std::string_view bytes) {
  const auto byte = [bytes](size_t at) { return static_cast<uint8_t>(bytes[at]); };
  TFrame frame;
  frame.Bytes = bytes;
  if (bytes.size() >= kUbxOverhead && byte(0) == 0xB5) {
    frame.Kind = TFrameKind::Ubx;
    frame.Class = byte(2);
    frame.Id = byte(3);
    frame.Length = static_cast<uint16_t>(byte(4) | byte(5) << 8);
  } else if (bytes.size() >= kRtcm3Overhead && byte(0) == 0xD3) {
    frame.Kind = TFrameKind::Rtcm3;
    frame.Length = static_cast<uint16_t>((byte(1) & 0x03) << 8 | byte(2));
    if (frame.Length >= 2) frame.Type = static_cast<uint16_t>(byte(3) << 4 | byte(4) >> 4);
  } else {
    return std::nullopt;
  }
  const size_t overhead = frame.Kind == TFrameKind::Ubx ? kUbxOverhead : kRtcm3Overhead;
  if (bytes.size() != overhead + frame.Length) return std::nullopt;
  return frame;
}

bool IsFrameSummary(std::string_view line) {
  if (!line.empty() && line.front() == '~') {
    const size_t comma = line.find(',');
    line.remove_prefix(comma == std::string_view::npos ? line.size() : comma + 1);
  }
  return line.starts_with("[UBX ") || line.starts_with("[RTCM3 ");
}

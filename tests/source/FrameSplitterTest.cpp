// Frames taken out of a received stream. Each row is a stream as a receiver
// might send it and what must come out: the text as it was, with a mark where
// each frame sat. Every row is also fed a byte at a time and cut in two at
// every place, which must not change what comes out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source/FrameBuilder.h"
#include "source/FrameChecksums.h"
#include "source/FrameSplitter.h"

namespace {

const std::string kGga = "$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n";
const std::string kRmc = "$GPRMC,120000,A,4807.038,N,01131.000,E,022.4,084.4,230394,,*1A\r\n";
const std::string kPvt = UbxFrame(0x01, 0x07, std::string(92, '\xB5'));
const std::string kAck = UbxFrame(0x05, 0x01, "\x06\x8A");
const char kLinePayload[] = "\r\n$GPGGA,1*00\r\n!AIVDM\r\xD3\x00";
const std::string kLineBytes =
    UbxFrame(0x0A, 0x38, std::string(kLinePayload, sizeof kLinePayload - 1));
// A sync byte and a length of 64, more than the frame behind it.
const std::string kFalseRtcm("\xD3\x00\x40", 3);
// 1005 in its first 12 bits, then a station position's worth of bytes.
const std::string kArp = Rtcm3Frame(std::string("\x3E\xD0", 2) + std::string(17, '\n'));

std::string Corrupted(std::string frame, size_t at) {
  frame[at] = static_cast<char>(frame[at] ^ 0x10);
  return frame;
}

// A UBX frame whose length field says 8,193, with a checksum that holds.
std::string OverlongUbx() {
  std::string frame = "\xB5\x62\x02\x15\x01\x20" + std::string(8193, '$');
  const uint16_t checksum = UbxChecksum(std::string_view(frame).substr(2));
  return frame + char(checksum & 0xFF) + char(checksum >> 8);
}

// An RTCM 3 frame with a reserved bit set, with a CRC that holds.
std::string ReservedBitRtcm() {
  std::string frame = "\xD3\x04\x02\x3E\xD0";
  const uint32_t crc = Crc24q(frame);
  return frame + char(crc >> 16) + char(crc >> 8) + char(crc);
}

// The text as it came, each frame as "<UBX class id length>" or
// "<RTCM3 type length>" where it sat.
std::string Split(const std::vector<std::string_view>& pieces, size_t* mostHeld = nullptr) {
  std::string out;
  const TFrameSplitter::TTextSink onText = [&out](std::string_view text) { out += text; };
  const TFrameSplitter::TFrameSink onFrame = [&out](const TFrame& frame) {
    out += frame.Kind == TFrameKind::Ubx
               ? "<UBX " + std::to_string(frame.Class) + " " + std::to_string(frame.Id)
               : "<RTCM3 " + std::to_string(frame.Type);
    out += " " + std::to_string(frame.Length) + ">";
  };
  TFrameSplitter splitter;
  for (std::string_view piece : pieces) {
    splitter.Feed(piece, onText, onFrame);
    if (mostHeld) *mostHeld = std::max(*mostHeld, splitter.HeldSize());
  }
  splitter.Finish(onText, onFrame);
  return out;
}

TEST(FrameSplitter, TakesOutEveryFrameAndLeavesTheText) {
  const struct {
    const char* Legend;
    std::string Stream;
    std::string Expected;
  } cases[] = {
      {"between two lines", kGga + kPvt + kRmc, kGga + "<UBX 1 7 92>" + kRmc},
      {"right after CR LF, last in the stream", kGga + kPvt, kGga + "<UBX 1 7 92>"},
      {"inside a line, which closes up around it", "$GPGGA,12" + kAck + "0000*00\r\n",
       "$GPGGA,12<UBX 5 1 2>0000*00\r\n"},
      {"payload holding CR, LF, $, ! and a sync byte", kGga + kLineBytes + kRmc,
       kGga + "<UBX 10 56 24>" + kRmc},
      {"both kinds back to back", kArp + kPvt + kRmc, "<RTCM3 1005 19><UBX 1 7 92>" + kRmc},
      {"an empty payload (a poll)", UbxFrame(0x0A, 0x04, "") + kRmc, "<UBX 10 4 0>" + kRmc},
      {"the longest UBX payload", UbxFrame(0x02, 0x15, std::string(8192, '\r')), "<UBX 2 21 8192>"},
      {"UBX payload byte hit by noise: text", kGga + Corrupted(kPvt, 40) + kRmc,
       kGga + Corrupted(kPvt, 40) + kRmc},
      {"UBX checksum byte hit by noise: text", Corrupted(kAck, 9) + kRmc,
       Corrupted(kAck, 9) + kRmc},
      {"RTCM 3 CRC hit by noise: text", Corrupted(kArp, 23) + kRmc, Corrupted(kArp, 23) + kRmc},
      {"UBX length over 8,192: text", OverlongUbx() + kRmc, OverlongUbx() + kRmc},
      {"RTCM 3 reserved bit set: text", ReservedBitRtcm() + kRmc, ReservedBitRtcm() + kRmc},
      {"stray sync bytes before a frame", "$\xD3\xB5" + kAck, "$\xD3\xB5<UBX 5 1 2>"},
      {"a frame within a false frame's length", kFalseRtcm + kAck + kRmc,
       kFalseRtcm + "<UBX 5 1 2>" + kRmc},
      {"a frame cut off by the end of the stream: text", kGga + kPvt.substr(0, 50),
       kGga + kPvt.substr(0, 50)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    const std::string_view stream = c.Stream;
    EXPECT_EQ(Split({stream}), c.Expected);
    std::vector<std::string_view> bytes;
    for (size_t at = 0; at < stream.size(); ++at) bytes.push_back(stream.substr(at, 1));
    size_t mostHeld = 0;
    ASSERT_EQ(Split(bytes, &mostHeld), c.Expected) << "a byte at a time";
    EXPECT_LE(mostHeld, kUbxMaxPayload + kUbxOverhead);
    for (size_t cut = 1; cut < stream.size(); ++cut)
      ASSERT_EQ(Split({stream.substr(0, cut), stream.substr(cut)}), c.Expected) << "cut at " << cut;
  }
}

TEST(FrameSplitter, ChecksumsMatchTheReceivers) {
  // Builder and splitter share the checksums, so each must also match what
  // a receiver computes: a MON-VER poll as u-blox documents it, and the
  // CRC-24Q check value.
  EXPECT_EQ(UbxFrame(0x0A, 0x04, ""), std::string("\xB5\x62\x0A\x04\x00\x00\x0E\x34", 8));
  EXPECT_EQ(Crc24q("123456789"), 0xCDE703u);
}

}  // namespace

// A frame's names as the program shows them: the dimmed line, the statistics
// address and tolvane-decode's JSON members, for named, unnamed and INF
// messages.

#include <gtest/gtest.h>

#include <string>

#include "nmea/FrameNames.h"

namespace {

TFrame Ubx(uint8_t messageClass, uint8_t id, const std::string& bytes, uint16_t length) {
  TFrame frame;
  frame.Kind = TFrameKind::Ubx;
  frame.Class = messageClass;
  frame.Id = id;
  frame.Length = length;
  frame.Bytes = bytes;
  return frame;
}

TFrame Rtcm3(uint16_t type, uint16_t length) {
  TFrame frame;
  frame.Kind = TFrameKind::Rtcm3;
  frame.Type = type;
  frame.Length = length;
  return frame;
}

// An INF-NOTICE as a receiver sends it: header, text with a control
// character and a NUL after it, checksum.
const std::string kNotice = std::string("\xB5\x62\x04\x02\x10\x00", 6) + "ANTSTATUS=OK\x07" +
                            std::string("\0xx", 3) + "\x01\x02";

TEST(FrameNames, SummaryAddressAndJson) {
  const struct {
    const char* Legend;
    TFrame Frame;
    const char* Summary;
    const char* Address;
    const char* Json;
  } cases[] = {
      {"named UBX", Ubx(0x01, 0x07, "", 92), "[UBX NAV-PVT 92 bytes]", "UBX NAV-PVT",
       R"({"frame":"UBX","class":1,"id":7,"name":"NAV-PVT","length":92})"},
      {"UBX of another class", Ubx(0x06, 0x8A, "", 9), "[UBX CFG-VALSET 9 bytes]", "UBX CFG-VALSET",
       R"({"frame":"UBX","class":6,"id":138,"name":"CFG-VALSET","length":9})"},
      {"UBX without a name: class and id in hex", Ubx(0x0A, 0x99, "", 12),
       "[UBX 0x0A 0x99 12 bytes]", "UBX 0x0A 0x99",
       R"({"frame":"UBX","class":10,"id":153,"length":12})"},
      {"one byte", Ubx(0x05, 0x01, "", 1), "[UBX ACK-ACK 1 byte]", "UBX ACK-ACK",
       R"({"frame":"UBX","class":5,"id":1,"name":"ACK-ACK","length":1})"},
      {"INF with its text up to the NUL, printable only", Ubx(0x04, 0x02, kNotice, 16),
       "[UBX INF-NOTICE 16 bytes] ANTSTATUS=OK", "UBX INF-NOTICE",
       R"({"frame":"UBX","class":4,"id":2,"name":"INF-NOTICE","length":16,"text":"ANTSTATUS=OK"})"},
      {"named RTCM 3: the number stays in front", Rtcm3(1077, 342),
       "[RTCM3 1077 GPS MSM7 342 bytes]", "RTCM3 1077",
       R"({"frame":"RTCM3","type":1077,"name":"GPS MSM7","length":342})"},
      {"RTCM 3 at the edge of a named range", Rtcm3(1127, 200),
       "[RTCM3 1127 BeiDou MSM7 200 bytes]", "RTCM3 1127",
       R"({"frame":"RTCM3","type":1127,"name":"BeiDou MSM7","length":200})"},
      {"RTCM 3 without a name", Rtcm3(1078, 20), "[RTCM3 1078 20 bytes]", "RTCM3 1078",
       R"({"frame":"RTCM3","type":1078,"length":20})"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Legend);
    EXPECT_EQ(FrameSummary(c.Frame), c.Summary);
    EXPECT_EQ(FrameAddress(c.Frame), c.Address);
    std::string json;
    TJsonStringSink sink(json);
    TJsonWriter writer(sink, TJsonText::Bytes);
    writer.BeginObject();
    WriteFrameMembers(writer, c.Frame);
    writer.EndObject();
    EXPECT_EQ(json, c.Json);
    EXPECT_TRUE(IsFrameSummary(c.Summary));
    EXPECT_TRUE(IsFrameSummary(std::string("~12:00:00.000,") + c.Summary));
  }
}

TEST(FrameNames, SentencesAreNoSummaries) {
  for (const char* line :
       {"$GPTXT,01,01,02,[UBX x]*00", "~1200,$GPTXT,[UBX x]", "[UBX", "~[UBX x]", "", "~"})
    EXPECT_FALSE(IsFrameSummary(line)) << line;
}

}  // namespace

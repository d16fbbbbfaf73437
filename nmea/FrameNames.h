#pragma once
// What the program calls a binary frame wherever it names one: the dimmed
// line of Received data, the statistics address and tolvane-decode's JSON.

#include <optional>
#include <string>
#include <string_view>

#include "common/Frame.h"
#include "common/JsonWriter.h"

// "UBX" or "RTCM3".
std::string_view FrameKindName(TFrameKind kind);

// "NAV-PVT", "INF-NOTICE", "GPS MSM7"; empty for a message not named here.
std::string_view FrameMessageName(const TFrame& frame);

// The text of a UBX INF message (ERROR, WARNING, NOTICE, TEST, DEBUG) up to
// a NUL, printable characters only; empty for any other frame.
std::string FrameText(const TFrame& frame);

// The statistics address, one per message: "UBX NAV-PVT", "UBX 0x0A 0x99"
// for a message without a name, "RTCM3 1077".
std::string FrameAddress(const TFrame& frame);

// The line shown for the frame, with the payload's length:
// "[UBX NAV-PVT 92 bytes]", "[RTCM3 1077 GPS MSM7 342 bytes]",
// "[UBX 0x0A 0x99 12 bytes]", "[RTCM3 4095 20 bytes]"; an INF message's
// text follows: "[UBX INF-NOTICE 12 bytes] ANTSTATUS=OK".
std::string FrameSummary(const TFrame& frame);
// Whether a shown or logged line is a frame's summary, behind a timestamp
// ("~12:00:00.000,[UBX ...") or not: the received data dims such lines.
bool IsFrameSummary(std::string_view line);

// The frame whose whole bytes are `bytes`, as the splitter handed it out;
// none when they are too short for its header.
std::optional<TFrame> FrameOf(std::string_view bytes);

// The members tolvane-decode writes for a frame, after its "n":
// "frame":"UBX","class":1,"id":7,"name":"NAV-PVT","length":92 or
// "frame":"RTCM3","type":1077,"name":"GPS MSM7","length":342. "name" is left
// out for a message not named here; an INF message adds its "text".
template <typename TSink>
void WriteFrameMembers(TJsonWriter<TSink>& json, const TFrame& frame) {
  json.Key("frame");
  json.String(FrameKindName(frame.Kind));
  if (frame.Kind == TFrameKind::Ubx) {
    json.Key("class");
    json.Integer(frame.Class);
    json.Key("id");
    json.Integer(frame.Id);
  } else {
    json.Key("type");
    json.Integer(frame.Type);
  }
  const std::string_view name = FrameMessageName(frame);
  if (!name.empty()) {
    json.Key("name");
    json.String(name);
  }
  json.Key("length");
  json.Integer(frame.Length);
  const std::string text = FrameText(frame);
  if (!text.empty()) {
    json.Key("text");
    json.String(text);
  }
}

#include "source/FrameSplitter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "source/FrameChecksums.h"

namespace {

constexpr char kUbxSync1 = static_cast<char>(0xB5);
constexpr char kUbxSync2 = 0x62;
constexpr char kRtcm3Sync = static_cast<char>(0xD3);

uint8_t Byte(std::string_view bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]);
}

// The top bit of each byte of the result is set where the byte of `word`
// equals `ch`, and nowhere else.
uint64_t BytesEqual(uint64_t word, char ch) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(ch));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The next byte that may start a frame, eight at a time where bytes lie in
// reading order: text is nearly all that a receiver sends.
size_t NextSync(std::string_view bytes, size_t from) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; bytes.size() - from >= 8; from += 8) {
      uint64_t word = 0;
      std::memcpy(&word, bytes.data() + from, 8);
      const uint64_t syncs = BytesEqual(word, kUbxSync1) | BytesEqual(word, kRtcm3Sync);
      if (syncs != 0) return from + (std::countr_zero(syncs) >> 3);
    }
  }
  while (from < bytes.size() && bytes[from] != kUbxSync1 && bytes[from] != kRtcm3Sync) ++from;
  return from;
}

// What the bytes from a sync byte on are: text (the sync byte is no frame's),
// a whole frame of Size bytes, or too few to tell until Size have come.
struct TProbe {
  enum class TResult { Text, Frame, More } Result;
  size_t Size = 0;
};

TProbe ProbeUbx(std::string_view bytes) {
  if (bytes.size() < 2) return {TProbe::TResult::More, 2};
  if (bytes[1] != kUbxSync2) return {TProbe::TResult::Text};
  if (bytes.size() < kUbxHeaderSize) return {TProbe::TResult::More, kUbxHeaderSize};
  const size_t length = Byte(bytes, 4) | size_t{Byte(bytes, 5)} << 8;
  if (length > kUbxMaxPayload) return {TProbe::TResult::Text};
  const size_t size = length + kUbxOverhead;
  if (bytes.size() < size) return {TProbe::TResult::More, size};
  const uint16_t sent = static_cast<uint16_t>(Byte(bytes, size - 2) | Byte(bytes, size - 1) << 8);
  if (UbxChecksum(bytes.substr(2, size - 4)) != sent) return {TProbe::TResult::Text};
  return {TProbe::TResult::Frame, size};
}

TProbe ProbeRtcm3(std::string_view bytes) {
  if (bytes.size() < 2) return {TProbe::TResult::More, 2};
  if ((Byte(bytes, 1) & 0xFC) != 0) return {TProbe::TResult::Text};
  if (bytes.size() < kRtcm3HeaderSize) return {TProbe::TResult::More, kRtcm3HeaderSize};
  const size_t size = (size_t{Byte(bytes, 1)} << 8 | Byte(bytes, 2)) + kRtcm3Overhead;
  if (bytes.size() < size) return {TProbe::TResult::More, size};
  const uint32_t sent = uint32_t{Byte(bytes, size - 3)} << 16 |
                        uint32_t{Byte(bytes, size - 2)} << 8 | Byte(bytes, size - 1);
  if (Crc24q(bytes.substr(0, size - 3)) != sent) return {TProbe::TResult::Text};
  return {TProbe::TResult::Frame, size};
}

TProbe Probe(std::string_view bytes) {
  return bytes[0] == kUbxSync1 ? ProbeUbx(bytes) : ProbeRtcm3(bytes);
}

// The record of a frame whose checksum holds.
TFrame FrameOf(std::string_view bytes) {
  TFrame frame;
  frame.Bytes = bytes;
  if (bytes[0] == kUbxSync1) {
    frame.Kind = TFrameKind::Ubx;
    frame.Class = Byte(bytes, 2);
    frame.Id = Byte(bytes, 3);
    frame.Length = static_cast<uint16_t>(bytes.size() - kUbxOverhead);
  } else {
    frame.Kind = TFrameKind::Rtcm3;
    frame.Length = static_cast<uint16_t>(bytes.size() - kRtcm3Overhead);
    if (frame.Length >= 2)
      frame.Type = static_cast<uint16_t>(Byte(bytes, 3) << 4 | Byte(bytes, 4) >> 4);
  }
  return frame;
}

}  // namespace

void TFrameSplitter::Feed(std::string_view bytes, const TTextSink& onText,
                          const TFrameSink& onFrame) {
  if (!Held.empty()) {
    bytes = Complete(bytes, onText, onFrame);
    if (!Held.empty()) return;
  }
  Scan(bytes, onText, onFrame);
}

void TFrameSplitter::Scan(std::string_view bytes, const TTextSink& onText,
                          const TFrameSink& onFrame) {
  size_t textFrom = 0;
  for (size_t at = NextSync(bytes, 0); at < bytes.size(); at = NextSync(bytes, at)) {
    const TProbe probe = Probe(bytes.substr(at));
    if (probe.Result == TProbe::TResult::Text) {
      ++at;
      continue;
    }
    if (textFrom < at) onText(bytes.substr(textFrom, at - textFrom));
    if (probe.Result == TProbe::TResult::More) {
      Held.assign(bytes.substr(at));
      return;
    }
    Emit(FrameOf(bytes.substr(at, probe.Size)), onFrame);
    at += probe.Size;
    textFrom = at;
  }
  if (textFrom < bytes.size()) onText(bytes.substr(textFrom));
}

// Adds to the held bytes no more than the frame they may start needs, until
// it is told whether they start one; returns the bytes not taken.
std::string_view TFrameSplitter::Complete(std::string_view bytes, const TTextSink& onText,
                                          const TFrameSink& onFrame) {
  while (!Held.empty()) {
    const TProbe probe = Probe(Held);
    if (probe.Result == TProbe::TResult::More) {
      const size_t taken = std::min(probe.Size - Held.size(), bytes.size());
      Held.append(bytes.substr(0, taken));
      bytes.remove_prefix(taken);
      if (Held.size() < probe.Size) break;
    } else if (probe.Result == TProbe::TResult::Frame) {
      Emit(FrameOf(Held), onFrame);
      Held.clear();
    } else {
      // No frame after all: its sync byte is text, and what came after it is
      // looked at again, which may hold a frame back in turn.
      const std::string again = std::move(Held);
      Held.clear();
      onText(std::string_view(again).substr(0, 1));
      Scan(std::string_view(again).substr(1), onText, onFrame);
    }
  }
  return bytes;
}

void TFrameSplitter::Finish(const TTextSink& onText, const TFrameSink& onFrame) {
  while (!Held.empty()) {
    const std::string again = std::move(Held);
    Held.clear();
    onText(std::string_view(again).substr(0, 1));
    Scan(std::string_view(again).substr(1), onText, onFrame);
  }
}

void TFrameSplitter::Emit(const TFrame& frame, const TFrameSink& onFrame) {
  ++FrameCount;
  onFrame(frame);
}

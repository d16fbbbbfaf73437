#pragma once
// The bytes received and not yet handed out as lines, for every kind of
// source. A line is at most kLongestLine (common/Routines.h: 32,767)
// characters, its first ones, as a replay file's lines are. Whatever a source sends, the buffer
// stays bounded: without a CR it holds 64 KiB at most (noise, or a receiver sending LF-only lines),
// the first characters of the line in progress and the newest, and after a line is taken out at
// most 32,767 characters stay behind. What it lets go is counted, so that the user can see when a
// source sends more than the program takes.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "source/FrameSplitter.h"

class TLineBuffer {
 public:
  static constexpr size_t kMaxWithoutLine = 64 * 1024;
  static constexpr size_t kKeptAfterLine = 32767;

  // UBX and RTCM 3 frames are taken out first (TFrameSplitter): the text
  // around them forms the lines, as if they had never been sent.
  void Append(std::string_view bytes);
  // Sees every byte appended, before the frames are taken out.
  void SetObserver(std::function<void(std::string_view bytes)> observer) {
    Observer = std::move(observer);
  }
  // Whether a CR or a frame waits, so that TakeLine returns a line (possibly
  // empty) or a frame.
  bool HasLine() const { return LineEnd != std::string::npos || !Waiting.empty(); }
  // The text before the first CR, up to kLongestLine characters of it, with
  // only printable characters kept; the CR and an LF right after it are
  // removed. Empty when no CR waits. A frame comes first when it arrived
  // before that CR (inside the line, it comes before the line), as its bytes
  // behind kFrameLineMark.
  std::string TakeLine();
  void Clear();

  size_t Size() const { return Bytes.size() + Splitter.HeldSize(); }
  uint64_t DroppedBytes() const { return Dropped; }
  // The frames taken out; those a reader left waiting beyond
  // kMaxFramesWaiting are counted, not kept.
  uint64_t Frames() const { return Splitter.Frames(); }

 private:
  void AppendText(std::string_view bytes);

  struct TWaitingFrame {
    size_t Offset;  // in Bytes: the text before it came before it
    std::string Line;
  };
  static constexpr size_t kMaxFramesWaiting = 256;

  std::function<void(std::string_view bytes)> Observer;
  TFrameSplitter Splitter;
  std::deque<TWaitingFrame> Waiting;

  std::string Bytes;
  size_t LineEnd = std::string::npos;  // the first CR in Bytes
  uint64_t Dropped = 0;
};

#pragma once
// Takes UBX and RTCM 3 frames out of a received byte stream and hands on the
// rest as text, in stream order: the text before and after a frame joins up
// as if the frame had never been sent, so that a frame between two sentences,
// right after a CR LF or in the middle of a line leaves the lines as they
// were. Only a frame whose checksum holds counts; bytes that start like one
// and fail stay text, and scanning goes on from the byte after the sync byte,
// so that a stray 0xB5 or 0xD3 cannot swallow a real frame behind it.
//
// Bytes come in pieces of any size. A frame cut by the end of a piece is held
// back (with the text after it) until its declared length has come, never
// longer: a length field over the limits is not a frame, so the most held is
// one UBX frame of the longest payload. Text without 0xB5 and 0xD3 passes
// through as one piece per Feed.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/Frame.h"

class TFrameSplitter {
 public:
  // A frame's bytes are the caller's piece or the splitter's own: valid
  // during the call only. Text comes in pieces; a line may span several.
  using TTextSink = std::function<void(std::string_view text)>;
  using TFrameSink = std::function<void(const TFrame& frame)>;

  void Feed(std::string_view bytes, const TTextSink& onText, const TFrameSink& onFrame);
  // The end of the stream: a frame still waiting for its rest is not one; its
  // bytes are text, and any frame after its sync byte still counts.
  void Finish(const TTextSink& onText, const TFrameSink& onFrame);
  // Forgets what is held, as a source does when it is closed.
  void Clear() { Held.clear(); }

  // Bytes held back for a frame that has not come whole yet.
  size_t HeldSize() const { return Held.size(); }
  // The frames taken out so far.
  uint64_t Frames() const { return FrameCount; }

 private:
  void Scan(std::string_view bytes, const TTextSink& onText, const TFrameSink& onFrame);
  std::string_view Complete(std::string_view bytes, const TTextSink& onText,
                            const TFrameSink& onFrame);

  void Emit(const TFrame& frame, const TFrameSink& onFrame);

  std::string Held;  // from a sync byte on, shorter than the frame it may start
  uint64_t FrameCount = 0;
};

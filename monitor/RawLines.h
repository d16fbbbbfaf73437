#pragma once
// A raw log read back as lines (see TRawLog): its UBX and RTCM 3 frames are
// taken out as every source takes them (TFrameSplitter) and handed out as
// the line buffer hands them out, their bytes behind kFrameLineMark, each
// before the text line it interrupted; the text around them forms the lines.
// A CR ends a line and an LF right after it belongs to it; an LF alone ends
// one too. A line keeps its printable characters, the first kLongestLine of
// them. Each line carries the file offset where it begins, so that a replay
// can come back to it: a frame's first byte, a text line's first byte.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "source/FrameSplitter.h"

// Whether the first bytes of a file are those of a raw log: a frame whose
// checksum holds, or a control character no text line holds (other than
// tab, CR, LF and the end mark of old text files; a NUL is the fill of a
// device or a disk image, read as the text files of old were).
bool LooksRaw(std::string_view firstBytes);

class TRawLines {
 public:
  // Reading goes on from `offset`, forgetting everything before.
  explicit TRawLines(uint64_t offset = 0) { Restart(offset); }
  void Restart(uint64_t offset);
  // The file's next bytes, in order.
  void Feed(std::string_view bytes);
  // The end of the file: a frame cut short is text, and the last line needs
  // no line end.
  void Finish();

  bool HasLine() const { return !Ready.empty(); }
  // Finish was called: no line comes after those ready.
  bool Finished() const { return AtEnd; }
  // The next line; empty when none is ready.
  std::string Take();
  // The offset of the line Take gives next, or, while none is ready, where
  // the next one will most likely begin.
  uint64_t NextOffset() const;

 private:
  void TakeText(std::string_view text);
  void EndLine();

  struct TLine {
    std::string Text;
    uint64_t Offset;
  };
  TFrameSplitter Splitter;
  std::deque<TLine> Ready;
  std::string Partial;        // the text line in progress, as received
  uint64_t PartialStart = 0;  // its offset
  bool InLine = false;        // whether a line is in progress (maybe empty so far)
  bool AfterCr = false;       // an LF now belongs to the CR before it
  bool AtEnd = false;
  uint64_t Emitted = 0;  // the offset of the next byte the splitter hands on
};

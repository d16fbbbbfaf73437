#pragma once
// Splits an 8-bit stream into lines read in big blocks. A line ends at CR, at
// LF, or at CR LF, also when the pair is split across two blocks; a last line
// without an ending still counts. A line is cut at kLongestLine (32,767)
// characters, as the program's own line buffer and replay cut it: its first
// ones are the line, the rest up to its end is skipped, so that no input,
// however long its lines, takes more memory than that.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "source/FrameSplitter.h"

#include "common/Routines.h"

namespace decode {

using TLineSink = std::function<void(std::string_view line)>;
using TFrameSink = std::function<void(const TFrame& frame)>;

// Splits text in memory, block by block: it keeps the part of a line (and a
// CR) still waiting for its end.
class TLineSplitter {
 public:
  static constexpr size_t kMaxLineLength = kLongestLine;

  explicit TLineSplitter(const TLineSink& onLine) : OnLine(onLine) {}
  // Each frame, in its place among the lines (one inside a line comes before
  // it); without a sink they are only taken out.
  TLineSplitter(const TLineSink& onLine, TFrameSink onFrame)
      : OnLine(onLine), OnFrame(std::move(onFrame)) {}
  // UBX and RTCM 3 frames are taken out first (TFrameSplitter): the text
  // around them forms the lines.
  void Feed(std::string_view block);
  void Finish();
  // Lines longer than kMaxLineLength, each handed on cut to that length.
  uint64_t CutLines() const { return Cut; }

 private:
  void FeedText(std::string_view block);
  void Gather(std::string_view part);

  TFrameSplitter Splitter;

  const TLineSink& OnLine;
  TFrameSink OnFrame;
  std::string Pending;
  bool AfterCR = false;
  bool Skipping = false;  // the pending line is cut; the rest goes unread
  uint64_t Cut = 0;
};

// Every line of the file, empty ones included, in order, through `splitter`.
// False when reading failed part way; errorNumber then holds the reason.
bool ReadLines(std::FILE* file, TLineSplitter& splitter, int& errorNumber);

}  // namespace decode

#include "source/LineBuffer.h"

#include <algorithm>

#include "common/Routines.h"

static_assert(TLineBuffer::kMaxWithoutLine > kLongestLine);

void TLineBuffer::Append(std::string_view bytes) {
  if (Observer) Observer(bytes);
  Splitter.Feed(
      bytes, [this](std::string_view text) { AppendText(text); },
      [this](const TFrame& frame) {
        if (Waiting.size() >= kMaxFramesWaiting) return;
        TWaitingFrame& waiting = Waiting.emplace_back(TWaitingFrame{Bytes.size(), {}});
        waiting.Line.reserve(frame.Bytes.size() + 1);
        waiting.Line += kFrameLineMark;
        waiting.Line += frame.Bytes;
      });
}

void TLineBuffer::AppendText(std::string_view bytes) {
  const bool ended = LineEnd != std::string::npos;
  if (!ended) {
    const size_t cr = bytes.find('\r');
    if (cr != std::string_view::npos) LineEnd = Bytes.size() + cr;
  }
  Bytes.append(bytes);
  if (ended) return;
  // The line in progress keeps kMaxWithoutLine bytes, also when its end
  // comes in the same read as the bytes that overflow it: its first
  // kLongestLine, which are the line once it ends, and the newest, which
  // follow them.
  const size_t line = LineEnd == std::string::npos ? Bytes.size() : LineEnd;
  if (line <= kMaxWithoutLine) return;
  const size_t excess = line - kMaxWithoutLine;
  Bytes.erase(kLongestLine, excess);
  Dropped += excess;
  if (LineEnd != std::string::npos) LineEnd -= excess;
}

std::string TLineBuffer::TakeLine() {
  if (!Waiting.empty() && (LineEnd == std::string::npos || Waiting.front().Offset <= LineEnd)) {
    std::string frame = std::move(Waiting.front().Line);
    Waiting.pop_front();
    return frame;
  }
  if (LineEnd == std::string::npos) return {};
  const size_t kept = std::min(LineEnd, kLongestLine);
  std::string line = KeepPrintable(std::string_view(Bytes).substr(0, kept));
  Dropped += LineEnd - kept;
  size_t rest = LineEnd + 1;
  if (rest < Bytes.size() && Bytes[rest] == '\n') ++rest;
  Bytes.erase(0, rest);
  for (TWaitingFrame& frame : Waiting) frame.Offset = frame.Offset > rest ? frame.Offset - rest : 0;
  if (Bytes.size() > kKeptAfterLine) {
    Dropped += Bytes.size() - kKeptAfterLine;
    Bytes.resize(kKeptAfterLine);
  }
  LineEnd = Bytes.find('\r');
  return line;
}

void TLineBuffer::Clear() {
  Splitter.Clear();
  Waiting.clear();
  Bytes.clear();
  LineEnd = std::string::npos;
}

#include "monitor/RawLines.h"

#include <algorithm>

#include "common/Routines.h"

bool LooksRaw(std::string_view firstBytes) {
  const bool control = std::any_of(firstBytes.begin(), firstBytes.end(), [](char ch) {
    return static_cast<unsigned char>(ch) < ' ' && ch != '\0' && ch != '\t' && ch != '\r' &&
           ch != '\n' && ch != kEndMark;
  });
  if (control) return true;
  TFrameSplitter splitter;
  const auto ignore = [](auto&&) {};
  splitter.Feed(firstBytes, ignore, ignore);
  return splitter.Frames() > 0;
}

void TRawLines::Restart(uint64_t offset) {
  Splitter.Clear();
  Ready.clear();
  Partial.clear();
  InLine = false;
  AfterCr = false;
  AtEnd = false;
  Emitted = offset;
  PartialStart = offset;
}

void TRawLines::Feed(std::string_view bytes) {
  Splitter.Feed(
      bytes, [this](std::string_view text) { TakeText(text); },
      [this](const TFrame& frame) {
        std::string line;
        line.reserve(frame.Bytes.size() + 1);
        line += kFrameLineMark;
        line += frame.Bytes;
        Ready.push_back({std::move(line), Emitted});
        Emitted += frame.Bytes.size();
        AfterCr = false;
      });
}

void TRawLines::Finish() {
  AtEnd = true;
  Splitter.Finish([this](std::string_view text) { TakeText(text); }, [](const TFrame&) {});
  if (InLine) EndLine();
}

void TRawLines::TakeText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    if (AfterCr && text[at] == '\n') {
      AfterCr = false;
      ++at;
      ++Emitted;
      continue;
    }
    AfterCr = false;
    if (!InLine) {
      InLine = true;
      PartialStart = Emitted;
    }
    const size_t stop = std::min(text.find_first_of("\r\n", at), text.size());
    // What a line may not hold is counted, not kept.
    if (Partial.size() < kLongestLine)
      Partial.append(text.substr(at, std::min(stop - at, kLongestLine - Partial.size())));
    Emitted += stop - at;
    at = stop;
    if (at == text.size()) break;
    AfterCr = text[at] == '\r';
    ++at;
    ++Emitted;
    EndLine();
  }
}

void TRawLines::EndLine() {
  Ready.push_back({KeepPrintable(Partial), PartialStart});
  Partial.clear();
  InLine = false;
}

std::string TRawLines::Take() {
  if (Ready.empty()) return {};
  std::string line = std::move(Ready.front().Text);
  Ready.pop_front();
  return line;
}

uint64_t TRawLines::NextOffset() const {
  if (!Ready.empty()) return Ready.front().Offset;
  return InLine ? PartialStart : Emitted;
}

#include "tools/decode/LineReader.h"

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace decode {

namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

// The top bit of each byte of the result is set where the byte of `word`
// equals `ch`, and nowhere else.
uint64_t BytesEqual(uint64_t word, char ch) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(ch));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// The next CR or LF, looked for eight characters at a time where bytes lie
// in reading order.
size_t LineEnd(std::string_view block, size_t from) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; block.size() - from >= 8; from += 8) {
      uint64_t word = 0;
      std::memcpy(&word, block.data() + from, 8);
      const uint64_t ends = BytesEqual(word, '\r') | BytesEqual(word, '\n');
      if (ends != 0) return from + (std::countr_zero(ends) >> 3);
    }
  }
  while (from < block.size() && block[from] != '\r' && block[from] != '\n') ++from;
  return from;
}

}  // namespace

void TLineSplitter::Feed(std::string_view block) {
  Splitter.Feed(
      block, [this](std::string_view text) { FeedText(text); },
      [this](const TFrame& frame) {
        if (OnFrame) OnFrame(frame);
      });
}

void TLineSplitter::FeedText(std::string_view block) {
  size_t pos = 0;
  while (pos < block.size()) {
    if (AfterCR) {
      AfterCR = false;
      if (block[pos] == '\n') {  // the LF of a CR LF pair
        ++pos;
        continue;
      }
    }
    const size_t end = LineEnd(block, pos);
    const std::string_view part = block.substr(pos, end - pos);
    if (end == block.size()) {
      Gather(part);
      return;
    }
    if (Pending.empty() && !Skipping && part.size() <= kMaxLineLength) {
      OnLine(part);
    } else {
      Gather(part);
      OnLine(Pending);
      Pending.clear();
      Skipping = false;
    }
    AfterCR = block[end] == '\r';
    pos = end + 1;
  }
}

void TLineSplitter::Gather(std::string_view part) {
  if (Skipping) return;
  const size_t room = kMaxLineLength - Pending.size();
  if (part.size() <= room) {
    Pending.append(part);
    return;
  }
  Pending.append(part.substr(0, room));
  Skipping = true;
  ++Cut;
}

void TLineSplitter::Finish() {
  Splitter.Finish([this](std::string_view text) { FeedText(text); },
                  [this](const TFrame& frame) {
                    if (OnFrame) OnFrame(frame);
                  });
  if (!Pending.empty()) OnLine(Pending);
  Pending.clear();
  AfterCR = false;
  Skipping = false;
}

bool ReadLines(std::FILE* file, TLineSplitter& splitter, int& errorNumber) {
  std::vector<char> block(kBlockSize);
  for (;;) {
    const size_t count = std::fread(block.data(), 1, block.size(), file);
    if (count > 0) splitter.Feed({block.data(), count});
    if (count < block.size()) {
      if (std::ferror(file)) {
        errorNumber = errno;
        splitter.Finish();
        return false;
      }
      if (std::feof(file)) break;
    }
  }
  splitter.Finish();
  return true;
}

}  // namespace decode

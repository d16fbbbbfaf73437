#include "tools/decode/LineReader.h"

#include <cerrno>
#include <vector>

namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

size_t LineEnd(std::string_view block, size_t from) {
  while (from < block.size() && block[from] != '\r' && block[from] != '\n') ++from;
  return from;
}

}  // namespace

void TLineSplitter::Feed(std::string_view block) {
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
    if (end == block.size()) {
      Pending.append(block.substr(pos));
      return;
    }
    if (Pending.empty()) {
      OnLine(block.substr(pos, end - pos));
    } else {
      Pending.append(block.substr(pos, end - pos));
      OnLine(Pending);
      Pending.clear();
    }
    AfterCR = block[end] == '\r';
    pos = end + 1;
  }
}

void TLineSplitter::Finish() {
  if (!Pending.empty()) OnLine(Pending);
  Pending.clear();
  AfterCR = false;
}

bool ReadLines(std::FILE* file, const TLineSink& onLine, int& errorNumber) {
  std::vector<char> block(kBlockSize);
  TLineSplitter splitter(onLine);
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

#include "app/ReceivedLineStore.h"

#include <algorithm>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Large enough that the per-block tables cost next to nothing per line, small
// enough that the unused tail of the newest block does not matter.
constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

void TReceivedLineStore::StartBlock(std::size_t minimumBytes) {
  if (!Blocks.empty()) Blocks.back().Ends.shrink_to_fit();
  TBlock block;
  block.Capacity = std::max(kBlockBytes, minimumBytes);
  block.Bytes = std::make_unique_for_overwrite<char[]>(block.Capacity);
  Blocks.push_back(std::move(block));
  FirstLines.push_back(LineCount);
}

void TReceivedLineStore::Append(std::string_view line) {
  // Offsets are 32-bit; no receiver or log produces a longer line.
  line = line.substr(0, UINT32_MAX);
  if (Blocks.empty() || Blocks.back().Capacity - Blocks.back().Used < line.size()) {
    StartBlock(line.size());
  }
  TBlock& block = Blocks.back();
  if (!line.empty()) std::memcpy(block.Bytes.get() + block.Used, line.data(), line.size());
  block.Used += line.size();
  block.Ends.push_back(static_cast<uint32_t>(block.Used));
  ++LineCount;
}

std::string_view TReceivedLineStore::Line(std::size_t index) const {
  if (index >= LineCount) return {};
  auto after = std::upper_bound(FirstLines.begin(), FirstLines.end(), index);
  std::size_t blockIndex = static_cast<std::size_t>(after - FirstLines.begin()) - 1;
  const TBlock& block = Blocks[blockIndex];
  std::size_t local = index - FirstLines[blockIndex];
  std::size_t start = local == 0 ? 0 : block.Ends[local - 1];
  return {block.Bytes.get() + start, block.Ends[local] - start};
}

std::size_t TReceivedLineStore::MemoryUsed() const {
  std::size_t bytes =
      Blocks.capacity() * sizeof(TBlock) + FirstLines.capacity() * sizeof(std::size_t);
  for (const TBlock& block : Blocks)
    bytes += block.Capacity + block.Ends.capacity() * sizeof(uint32_t);
  return bytes;
}

void TReceivedLineStore::Clear() {
  std::vector<TBlock>().swap(Blocks);
  std::vector<std::size_t>().swap(FirstLines);
  LineCount = 0;
#if defined(__GLIBC__)
  // Freed blocks would otherwise stay with the process for its next needs;
  // a user who clears a long session expects the memory back.
  malloc_trim(0);
#endif
}

#include "app/ReceivedLineStore.h"

#include <algorithm>
#include <cstring>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// Large enough that the per-block tables cost next to nothing per line, small
// enough that the unused tail of the newest block does not matter and that
// reading one back for a screen of rows is quick.
constexpr std::size_t kBlockBytes = 64 * 1024;

template <typename T>
std::string_view BytesOf(const std::vector<T>& values) {
  return {reinterpret_cast<const char*>(values.data()), values.size() * sizeof(T)};
}

}  // namespace

TReceivedLineStore::TReceivedLineStore(TLineStoreLimits limits)
    : Limits(std::move(limits)), File(Limits.Folder) {}

void TReceivedLineStore::StartBlock(std::size_t minimumBytes) {
  if (!Blocks.empty()) Blocks.back().Ends.shrink_to_fit();
  MoveOldestOut();
  TBlock block;
  block.Capacity = std::max(kBlockBytes, minimumBytes);
  if (Spare && block.Capacity == kBlockBytes)
    block.Bytes = std::move(Spare);
  else
    block.Bytes = std::make_unique_for_overwrite<char[]>(block.Capacity);
  block.FirstLine = LineCount;
  BytesInMemory += block.Capacity;
  Blocks.push_back(std::move(block));
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

// Called before a new block starts, so every block here is complete.
void TReceivedLineStore::MoveOldestOut() {
  while (!Blocks.empty() && BytesInMemory + kBlockBytes > Limits.MemoryBytes) {
    TBlock& oldest = Blocks.front();
    if (!FileFailed && !Spill(oldest)) {
      // Lines on file with none after them in memory would leave a gap:
      // what is kept runs without one from the first kept line to the newest.
      FileFailed = true;
      DropSpilled();
    }
    if (FileFailed) Dropped = oldest.FirstLine + oldest.Ends.size();
    BytesInMemory -= oldest.Capacity;
    if (oldest.Capacity == kBlockBytes) Spare = std::move(oldest.Bytes);
    Blocks.pop_front();
  }
}

bool TReceivedLineStore::Spill(TBlock& block) {
  TSpilledBlock spilled{0, block.Used, block.Ends.size(), block.FirstLine};
  if (!File.Write({block.Bytes.get(), block.Used}, BytesOf(block.Ends), spilled.Offset))
    return false;
  Spilled.push_back(spilled);
  return true;
}

void TReceivedLineStore::DropSpilled() {
  std::vector<TSpilledBlock>().swap(Spilled);
  File.Close();
  for (TReadBack& readBack : ReadBacks) readBack = TReadBack();
}

const TReceivedLineStore::TReadBack* TReceivedLineStore::ReadBack(std::size_t spilled) const {
  for (const TReadBack& readBack : ReadBacks)
    if (readBack.Index == spilled) return &readBack;
  const TSpilledBlock& block = Spilled[spilled];
  TReadBack& slot = ReadBacks[NextReadBack];
  NextReadBack = (NextReadBack + 1) % std::size(ReadBacks);
  slot.Index = SIZE_MAX;
  slot.Bytes.resize(block.Used);
  slot.Ends.resize(block.Lines);
  auto* ends = reinterpret_cast<char*>(slot.Ends.data());
  if (!File.Read(block.Offset, slot.Bytes.data(), block.Used) ||
      !File.Read(block.Offset + block.Used, ends, block.Lines * sizeof(uint32_t)))
    return nullptr;
  slot.Index = spilled;
  return &slot;
}

namespace {

template <typename T>
std::size_t BlockOf(const T& blocks, std::size_t line) {
  auto after =
      std::upper_bound(blocks.begin(), blocks.end(), line,
                       [](std::size_t at, const auto& block) { return at < block.FirstLine; });
  return static_cast<std::size_t>(after - blocks.begin()) - 1;
}

std::string_view LineIn(const char* bytes, const std::vector<uint32_t>& ends, std::size_t local) {
  std::size_t start = local == 0 ? 0 : ends[local - 1];
  return {bytes + start, ends[local] - start};
}

}  // namespace

std::string_view TReceivedLineStore::Line(std::size_t index) const {
  if (index >= Count()) return {};
  std::size_t line = index + Dropped;
  if (!Blocks.empty() && line >= Blocks.front().FirstLine) {
    const TBlock& block = Blocks[BlockOf(Blocks, line)];
    return LineIn(block.Bytes.get(), block.Ends, line - block.FirstLine);
  }
  std::size_t spilled = BlockOf(Spilled, line);
  const TReadBack* block = ReadBack(spilled);
  if (!block) return {};
  return LineIn(block->Bytes.data(), block->Ends, line - Spilled[spilled].FirstLine);
}

std::size_t TReceivedLineStore::MemoryUsed() const {
  std::size_t bytes = BytesInMemory + Spilled.capacity() * sizeof(TSpilledBlock);
  for (const TBlock& block : Blocks) bytes += block.Ends.capacity() * sizeof(uint32_t);
  if (Spare) bytes += kBlockBytes;
  for (const TReadBack& readBack : ReadBacks)
    bytes += readBack.Bytes.capacity() + readBack.Ends.capacity() * sizeof(uint32_t);
  return bytes;
}

void TReceivedLineStore::Clear() {
  std::deque<TBlock>().swap(Blocks);
  BytesInMemory = 0;
  Spare.reset();
  DropSpilled();
  FileFailed = false;
  LineCount = 0;
  Dropped = 0;
#if defined(__GLIBC__)
  // Freed blocks would otherwise stay with the process for its next needs;
  // a user who clears a long session expects the memory back.
  malloc_trim(0);
#endif
}

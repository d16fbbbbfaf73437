#pragma once
// Every line the received-data view has been given, kept until it is cleared.
// A long session at 100 lines a second gathers millions of lines, so the text
// goes into large byte blocks, with one end offset per line; nothing is
// allocated per line and an append costs the same at the ten millionth line
// as at the first. Past a bound, the oldest blocks move to a temporary file
// and are read back when asked for, so that a week of lines does not live in
// memory. When that file cannot be written (a full disk), the oldest lines
// are given up instead and counted.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/LineSpillFile.h"

struct TLineStoreLimits {
  // Text kept in memory before the oldest blocks move to the file.
  std::size_t MemoryBytes = std::size_t{64} * 1024 * 1024;
  std::string Folder = DefaultSpillFolder();
};

class TReceivedLineStore {
 public:
  explicit TReceivedLineStore(TLineStoreLimits limits = {});
  TReceivedLineStore(const TReceivedLineStore&) = delete;
  TReceivedLineStore& operator=(const TReceivedLineStore&) = delete;

  void Append(std::string_view line);
  // Drops every line, deletes the file and hands the memory back.
  void Clear();
  // The lines kept; the first of them has index 0.
  std::size_t Count() const { return LineCount - Dropped; }
  // Valid until the next Line, Append or Clear; empty past the end.
  std::string_view Line(std::size_t index) const;
  // Bytes held for the lines, their offsets and the block tables.
  std::size_t MemoryUsed() const;
  // The oldest lines given up since the last Clear, because the file could
  // not be written.
  std::size_t DroppedLines() const { return Dropped; }

 private:
  struct TBlock {
    std::unique_ptr<char[]> Bytes;
    std::size_t Capacity = 0;
    std::size_t Used = 0;
    std::vector<uint32_t> Ends;
    std::size_t FirstLine = 0;
  };
  struct TSpilledBlock {
    uint64_t Offset = 0;
    std::size_t Used = 0;
    std::size_t Lines = 0;
    std::size_t FirstLine = 0;
  };
  // A spilled block read back, kept for the next rows asked for.
  struct TReadBack {
    std::size_t Index = SIZE_MAX;
    std::vector<char> Bytes;
    std::vector<uint32_t> Ends;
  };

  void StartBlock(std::size_t minimumBytes);
  void MoveOldestOut();
  bool Spill(TBlock& block);
  void DropSpilled();
  const TReadBack* ReadBack(std::size_t spilled) const;

  TLineStoreLimits Limits;
  // In memory, oldest first; the last one takes new lines.
  std::deque<TBlock> Blocks;
  std::size_t BytesInMemory = 0;
  // On file, oldest first, all older than the blocks in memory.
  std::vector<TSpilledBlock> Spilled;
  TLineSpillFile File;
  bool FileFailed = false;
  // A block's buffer from the last spill, for the next block.
  std::unique_ptr<char[]> Spare;
  mutable TReadBack ReadBacks[4];
  mutable std::size_t NextReadBack = 0;
  // Every line appended since the last Clear, the dropped ones included.
  std::size_t LineCount = 0;
  std::size_t Dropped = 0;
};

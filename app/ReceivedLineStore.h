#pragma once
// Every line the received-data view has been given, kept until it is cleared.
// A long session at 100 lines a second gathers millions of lines, so the text
// goes into large byte blocks that never move, with one end offset per line;
// nothing is allocated per line and an append costs the same at the ten
// millionth line as at the first.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

class TReceivedLineStore {
 public:
  TReceivedLineStore() = default;
  TReceivedLineStore(const TReceivedLineStore&) = delete;
  TReceivedLineStore& operator=(const TReceivedLineStore&) = delete;

  void Append(std::string_view line);
  // Drops every line and hands the memory back to the system.
  void Clear();
  std::size_t Count() const { return LineCount; }
  // Valid until the next Clear: blocks never move once written.
  std::string_view Line(std::size_t index) const;
  // Bytes held for the lines, their offsets and the block tables.
  std::size_t MemoryUsed() const;

 private:
  struct TBlock {
    std::unique_ptr<char[]> Bytes;
    std::size_t Capacity = 0;
    std::size_t Used = 0;
    std::vector<uint32_t> Ends;
  };

  void StartBlock(std::size_t minimumBytes);

  std::vector<TBlock> Blocks;
  // The index of each block's first line, for finding a line's block.
  std::vector<std::size_t> FirstLines;
  std::size_t LineCount = 0;
};

#include "source/LineReading.h"

#include <string_view>

namespace {

constexpr int64_t kReadChunk = 1024;

}  // namespace

size_t ReadChunk(TLineBuffer& buffer, const TReadBytes& read) {
  char chunk[kReadChunk];
  const int64_t count = read(chunk, kReadChunk);
  if (count <= 0) return 0;
  const auto size = static_cast<size_t>(count < kReadChunk ? count : kReadChunk);
  buffer.Append(std::string_view(chunk, size));
  return size;
}

TReadResult FillUntilLine(TLineBuffer& buffer, const TReadBytes& read) {
  TReadResult result;
  while (!buffer.HasLine()) {
    if (result.Bytes >= kReadBudget) {
      result.BudgetSpent = true;
      break;
    }
    const size_t size = ReadChunk(buffer, read);
    if (size == 0) break;
    result.Bytes += size;
  }
  return result;
}

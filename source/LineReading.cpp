#include "source/LineReading.h"

#include <string_view>

namespace {

constexpr int64_t kReadChunk = 1024;

}  // namespace

TReadResult FillUntilLine(TLineBuffer& buffer, const std::function<int64_t(char*, int64_t)>& read) {
  TReadResult result;
  char chunk[kReadChunk];
  while (!buffer.HasLine()) {
    if (result.Bytes >= kReadBudget) {
      result.BudgetSpent = true;
      break;
    }
    const int64_t count = read(chunk, kReadChunk);
    if (count <= 0) break;
    const auto size = static_cast<size_t>(count < kReadChunk ? count : kReadChunk);
    buffer.Append(std::string_view(chunk, size));
    result.Bytes += size;
  }
  return result;
}

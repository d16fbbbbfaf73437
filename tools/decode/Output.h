#pragma once
// Buffered standard output for the decoder tool: lines are gathered in a large
// buffer and written in big blocks, never flushed per line.

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "common/JsonWriter.h"

namespace decode {

class TOutput {
 public:
  explicit TOutput(std::FILE* file);
  ~TOutput();
  TOutput(const TOutput&) = delete;
  TOutput& operator=(const TOutput&) = delete;

  void Write(std::string_view text) {
    if (text.size() > kBlockSize - Used) {
      WriteLarge(text);
      return;
    }
    std::memcpy(Buffer.get() + Used, text.data(), text.size());
    Used += text.size();
  }
  void Put(char ch) {
    if (Used == kBlockSize) Flush();
    Buffer[Used++] = ch;
  }
  // Room for up to `size` characters written in place, then Commit(end).
  char* Reserve(size_t size) {
    if (size > kBlockSize - Used) Flush();
    return Buffer.get() + Used;
  }
  void Commit(const char* end) { Used = static_cast<size_t>(end - Buffer.get()); }

  // Writes what is buffered; false once any write has failed.
  bool Flush();

 private:
  void WriteLarge(std::string_view text);

  static constexpr size_t kBlockSize = size_t{1} << 20;
  std::FILE* File;
  std::unique_ptr<char[]> Buffer;
  size_t Used = 0;
  bool WriteFailed = false;
};

// The tool's JSON goes straight into the output buffer. Its strings are
// bytes off the wire, of any 8-bit text.
class TOutputJson : public TJsonWriter<TOutput> {
 public:
  explicit TOutputJson(TOutput& output) : TJsonWriter(output, TJsonText::Bytes) {}
};

}  // namespace decode

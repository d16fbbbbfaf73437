#pragma once
// A small streaming JSON writer: commas between members are placed by the
// writer, numbers are the shortest text that reads back to the same value.
// The small calls are inline: a record is dozens of them per line.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "tools/decode/Output.h"

namespace decode {

class TJsonWriter {
 public:
  explicit TJsonWriter(TOutput& output) : Out(output) {}

  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }

  // Member names are the program's own plain names, written unescaped.
  void Key(std::string_view name) {
    BeforeValue();
    Out.Put('"');
    Out.Write(name);
    Out.Write("\":");
    AfterKey = true;
  }

  void Integer(int64_t value) {
    BeforeValue();
    char* text = Out.Reserve(24);
    Out.Commit(std::to_chars(text, text + 24, value).ptr);
  }
  // Shortest text that reads back to the same double.
  void Double(double value) { Floating(value); }
  // Shortest text that reads back to the same float: 0.9, not 0.899999976.
  void Single(float value) { Floating(value); }
  void Boolean(bool value) {
    BeforeValue();
    Out.Write(value ? "true" : "false");
  }
  // A value written in place by the caller, at most maxSize characters,
  // for records whose layout is fixed: RawEnd(past the last one) ends it.
  char* RawBegin(size_t maxSize) {
    BeforeValue();
    return Out.Reserve(maxSize);
  }
  void RawEnd(const char* end) { Out.Commit(end); }

  // Quotes and backslashes escaped; control characters and bytes above 127
  // as \u00XX, so that any 8-bit text makes valid JSON.
  void String(std::string_view text);

  // Ends the top-level value's line.
  void EndLine() {
    Out.Put('\n');
    First[0] = true;
    Depth = 0;
    AfterKey = false;
  }

 private:
  void BeforeValue() {
    if (AfterKey) {
      AfterKey = false;
      return;
    }
    if (!First[Depth]) Out.Put(',');
    First[Depth] = false;
  }

  void Open(char bracket) {
    BeforeValue();
    Out.Put(bracket);
    if (Depth + 1 < kMaxDepth) ++Depth;
    First[Depth] = true;
  }

  void Close(char bracket) {
    Out.Put(bracket);
    if (Depth > 0) --Depth;
  }

  template <typename T>
  void Floating(T value) {
    BeforeValue();
    if (!std::isfinite(value)) {  // JSON has no text for these; the decoder never makes them
      Out.Write("null");
      return;
    }
    char* text = Out.Reserve(32);
    Out.Commit(std::to_chars(text, text + 32, value).ptr);
  }

  static constexpr int kMaxDepth = 16;
  TOutput& Out;
  bool First[kMaxDepth] = {true};
  int Depth = 0;
  bool AfterKey = false;
};

}  // namespace decode

#pragma once
// A small streaming JSON writer: commas between members are placed by the
// writer, numbers are the shortest text that reads back to the same value.
// The small calls are inline: a record is dozens of them per line.

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "tools/decode/Output.h"

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
  // An object of integer members in one piece, such as a satellite slot;
  // GSV lines carry twelve of them.
  template <size_t N>
  void IntegerObject(const std::array<std::pair<std::string_view, int64_t>, N>& members) {
    BeforeValue();
    size_t size = 2;
    for (const auto& member : members) size += member.first.size() + 4 + 20;
    char* text = Out.Reserve(size);
    *text++ = '{';
    for (size_t i = 0; i < N; ++i) {
      if (i > 0) *text++ = ',';
      *text++ = '"';
      std::memcpy(text, members[i].first.data(), members[i].first.size());
      text += members[i].first.size();
      *text++ = '"';
      *text++ = ':';
      text = std::to_chars(text, text + 20, members[i].second).ptr;
    }
    *text++ = '}';
    Out.Commit(text);
  }

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

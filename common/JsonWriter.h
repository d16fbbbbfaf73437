#pragma once
// The one JSON writer of the program and its tools: commas between members
// are placed by the writer, numbers are the shortest text that reads back to
// the same value. It writes into a sink, which has Write(std::string_view),
// Put(char), Reserve(size) giving room for that many characters, and
// Commit(end) after them: the decoder tool's output buffer, or a string
// through TJsonStringSink. The small calls are inline: a decoded record is
// dozens of them per line.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What a string's bytes are, and so which of them are escaped.
enum class TJsonText {
  // UTF-8 text (a device name, a field the receiver sent): only quotes,
  // backslashes and control characters are escaped, as \u00xx.
  Utf8,
  // Bytes of any 8-bit text, as lines off a serial wire are: everything but
  // printable ASCII is escaped, as \u00XX, so that any input makes valid JSON.
  Bytes,
};

// Whether `ch` stands in a JSON string as it is.
constexpr bool IsPlainJsonChar(char ch, TJsonText text) {
  const auto code = static_cast<unsigned char>(ch);
  if (code < 0x20 || ch == '"' || ch == '\\') return false;
  return text == TJsonText::Utf8 || code < 0x7F;
}

// The escape of a character that is not plain, written into `buffer`.
std::string_view JsonEscape(char ch, TJsonText text, char (&buffer)[8]);

// Appends to a string, for JSON that is sent or published whole.
class TJsonStringSink {
 public:
  explicit TJsonStringSink(std::string& text) : Text(text) {}

  void Write(std::string_view part) { Text.append(part); }
  void Put(char ch) { Text.push_back(ch); }
  char* Reserve(size_t size) {
    const size_t used = Text.size();
    Text.resize(used + size);
    return Text.data() + used;
  }
  void Commit(const char* end) { Text.resize(static_cast<size_t>(end - Text.data())); }

 private:
  std::string& Text;
};

template <typename TSink>
class TJsonWriter {
 public:
  TJsonWriter(TSink& sink, TJsonText text) : Out(sink), Text(text) {}

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
  void Null() {
    BeforeValue();
    Out.Write("null");
  }
  // A value written in place by the caller, at most maxSize characters,
  // for records whose layout is fixed: RawEnd(past the last one) ends it.
  char* RawBegin(size_t maxSize) {
    BeforeValue();
    return Out.Reserve(maxSize);
  }
  void RawEnd(const char* end) { Out.Commit(end); }

  // Quoted, each character that is not plain for the writer's TJsonText
  // escaped; runs of plain ones are written whole.
  void String(std::string_view text) {
    BeforeValue();
    Out.Put('"');
    size_t plainFrom = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (IsPlainJsonChar(text[i], Text)) continue;
      char buffer[8];
      Out.Write(text.substr(plainFrom, i - plainFrom));
      Out.Write(JsonEscape(text[i], Text, buffer));
      plainFrom = i + 1;
    }
    Out.Write(text.substr(plainFrom));
    Out.Put('"');
  }

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
    if (!std::isfinite(value)) {  // JSON has no text for these; the decoders never make them
      Out.Write("null");
      return;
    }
    char* text = Out.Reserve(32);
    Out.Commit(std::to_chars(text, text + 32, value).ptr);
  }

  static constexpr int kMaxDepth = 16;
  TSink& Out;
  const TJsonText Text;
  bool First[kMaxDepth] = {true};
  int Depth = 0;
  bool AfterKey = false;
};

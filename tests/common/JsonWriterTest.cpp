// The one JSON writer: where commas go, and which bytes each kind of text
// escapes and how, since the tool's lines, the epochs and gpsd's request
// are compared byte for byte by those who read them.

#include "common/JsonWriter.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::string Quoted(std::string_view text, TJsonText kind) {
  std::string out;
  TJsonStringSink sink(out);
  TJsonWriter json(sink, kind);
  json.String(text);
  return out;
}

TEST(JsonWriter, StringsOfEachKind) {
  struct TRow {
    const char* Legend;
    std::string Text;
    const char* Utf8;
    const char* Bytes;
  };
  const TRow rows[] = {
      {"plain", "GPGGA 1", "\"GPGGA 1\"", "\"GPGGA 1\""},
      {"quote and backslash", "a\"b\\c", "\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
      {"control characters", "\x01\x1f", "\"\\u0001\\u001f\"", "\"\\u0001\\u001F\""},
      {"NUL inside", std::string("a\0b", 3), "\"a\\u0000b\"", "\"a\\u0000b\""},
      {"DEL", "\x7f", "\"\x7f\"", "\"\\u007F\""},
      {"UTF-8 degree sign", "\xc2\xb0", "\"\xc2\xb0\"", "\"\\u00C2\\u00B0\""},
      {"escapes between plain runs", "ab\ncd\ref", "\"ab\\u000acd\\u000def\"",
       "\"ab\\u000Acd\\u000Def\""},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(Quoted(row.Text, TJsonText::Utf8), row.Utf8) << row.Legend;
    EXPECT_EQ(Quoted(row.Text, TJsonText::Bytes), row.Bytes) << row.Legend;
  }
}

TEST(JsonWriter, CommasBetweenMembersAndLines) {
  std::string out;
  TJsonStringSink sink(out);
  TJsonWriter json(sink, TJsonText::Utf8);
  for (int line = 0; line < 2; ++line) {
    json.BeginObject();
    json.Key("a");
    json.BeginArray();
    json.Integer(-1);
    json.Double(0.1);
    json.Single(0.9f);
    json.EndArray();
    json.Key("b");
    json.BeginObject();
    json.EndObject();
    json.Key("c");
    json.Null();
    json.Key("d");
    json.Double(std::numeric_limits<double>::infinity());
    json.EndObject();
    json.EndLine();
  }
  const std::string line = "{\"a\":[-1,0.1,0.9],\"b\":{},\"c\":null,\"d\":null}\n";
  EXPECT_EQ(out, line + line);
}

}  // namespace

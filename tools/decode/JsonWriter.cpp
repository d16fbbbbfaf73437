#include "tools/decode/JsonWriter.h"

#include <algorithm>

namespace decode {

void TJsonWriter::String(std::string_view text) {
  BeforeValue();
  Out.Put('"');
  auto plain = [](char ch) {
    const auto code = static_cast<unsigned char>(ch);
    return code >= 0x20 && code < 0x7F && ch != '"' && ch != '\\';
  };
  if (std::all_of(text.begin(), text.end(), plain)) {
    Out.Write(text);
    Out.Put('"');
    return;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char ch : text) {
    const auto code = static_cast<unsigned char>(ch);
    if (plain(ch)) {
      Out.Put(ch);
    } else if (ch == '"' || ch == '\\') {
      const char escape[] = {'\\', ch};
      Out.Write({escape, sizeof escape});
    } else {
      const char escape[] = {'\\', 'u', '0', '0', kHex[code >> 4], kHex[code & 15]};
      Out.Write({escape, sizeof escape});
    }
  }
  Out.Put('"');
}

}  // namespace decode

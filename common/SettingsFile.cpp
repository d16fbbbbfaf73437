#include "common/SettingsFile.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace {

constexpr std::string_view kRootKey = "HKEY_CURRENT_USER\\SOFTWARE\\Tolvane\\";
constexpr std::string_view kFirstLine = "Windows Registry Editor Version 5.00";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// One line of the file: [Begin, End) is its text without the line break,
// Next is where the following line starts.
struct TLine {
  size_t Begin;
  size_t End;
  size_t Next;
};

// The entry that a read would take, spanning FirstLine..LastLine (hex data may
// continue over several lines), its name as the file spells it, and its data
// joined into one text.
struct TFoundEntry {
  size_t FirstLine;
  size_t LastLine;
  std::string Name;
  std::string Data;
};

struct TSectionScan {
  std::optional<TFoundEntry> Entry;
  // The last header or entry line of the section: a new entry goes after it.
  std::optional<size_t> InsertAfter;
};

std::vector<TLine> SplitLines(std::string_view text) {
  std::vector<TLine> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    const size_t lf = text.find('\n', begin);
    const size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
    size_t end = lf == std::string_view::npos ? text.size() : lf;
    if (end > begin && text[end - 1] == '\r') --end;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The registry folds case for every letter; 8-bit text here is Latin-1.
unsigned char FoldCase(unsigned char ch) {
  if (ch >= 'A' && ch <= 'Z') return ch + 32;
  if (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) return ch + 32;
  return ch;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// The position of the quote that closes a quoted text opening at 0, or npos.
size_t ClosingQuote(std::string_view s) {
  for (size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '\\')
      ++i;
    else if (s[i] == '"')
      return i;
  }
  return std::string_view::npos;
}

// Only \\ and \" are escapes; any other backslash stands for itself, as a
// hand-written path like "C:\temp" means.
std::string Unescape(std::string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) ++i;
    out += s[i];
  }
  return out;
}

std::string Escape(std::string_view s) {
  std::string out;
  for (const char ch : s) {
    if (ch == '\\' || ch == '"') out += '\\';
    out += ch;
  }
  return out;
}

// A stored text ends at its first zero byte.
std::string_view UpToZero(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

std::string_view LineText(std::string_view text, const TLine& line, bool first) {
  std::string_view s = text.substr(line.Begin, line.End - line.Begin);
  if (first && s.substr(0, kUtf8Mark.size()) == kUtf8Mark) s.remove_prefix(kUtf8Mark.size());
  return Trim(s);
}

bool IsHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

struct TEntryLine {
  std::string Name;
  std::string_view Data;
};

// "Name"=data or @=data, with spaces allowed around the "=".
std::optional<TEntryLine> ParseEntryLine(std::string_view line) {
  TEntryLine entry;
  std::string_view rest;
  if (!line.empty() && line.front() == '@') {
    rest = line.substr(1);
  } else if (!line.empty() && line.front() == '"') {
    const size_t close = ClosingQuote(line);
    if (close == std::string_view::npos) return std::nullopt;
    entry.Name = Unescape(line.substr(1, close - 1));
    rest = line.substr(close + 1);
  } else {
    return std::nullopt;
  }
  rest = Trim(rest);
  if (rest.empty() || rest.front() != '=') return std::nullopt;
  entry.Data = Trim(rest.substr(1));
  return entry;
}

// Hex data that ends in a backslash goes on in the next line, which the
// registry editor indents. An entry we add is never indented, so it can
// never be taken for the tail of a broken hex value above it.
bool IsContinued(std::string_view data) {
  return StartsWithNoCase(data, "hex") && !data.empty() && data.back() == '\\';
}

bool IsContinuation(std::string_view text, const TLine& line) {
  return line.End > line.Begin && (text[line.Begin] == ' ' || text[line.Begin] == '\t') &&
         !IsHeader(Trim(text.substr(line.Begin, line.End - line.Begin)));
}

TSectionScan ScanSection(std::string_view text, const std::vector<TLine>& lines,
                         std::string_view section, std::string_view name) {
  const std::string key = SectionKey(section);
  TSectionScan scan;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = LineText(text, lines[i], i == 0);
    if (IsHeader(line)) {
      inSection = SameName(Trim(line.substr(1, line.size() - 2)), key);
      if (inSection) scan.InsertAfter = i;
      continue;
    }
    if (!inSection) continue;
    const std::optional<TEntryLine> entry = ParseEntryLine(line);
    if (!entry) continue;
    const size_t first = i;
    std::string data(entry->Data);
    while (IsContinued(data) && i + 1 < lines.size() && IsContinuation(text, lines[i + 1])) {
      data.pop_back();
      data += LineText(text, lines[++i], false);
    }
    scan.InsertAfter = i;
    if (SameName(entry->Name, name)) scan.Entry = TFoundEntry{first, i, entry->Name, data};
  }
  return scan;
}

std::optional<uint32_t> ParseDword(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  for (const char ch : digits)
    if (!std::isxdigit(static_cast<unsigned char>(ch))) return std::nullopt;
  const size_t significant = digits.find_first_not_of('0');
  if (significant != std::string_view::npos && digits.size() - significant > 8) return std::nullopt;
  uint32_t value = 0;
  for (const char ch : digits) {
    const int digit =
        std::isdigit(static_cast<unsigned char>(ch)) ? ch - '0' : (ch | 0x20) - 'a' + 10;
    value = (value << 4) | static_cast<uint32_t>(digit);
  }
  return value;
}

// "xx,xx,..." with spaces allowed around each byte.
std::optional<std::string> ParseHexBytes(std::string_view s) {
  std::string bytes;
  if (Trim(s).empty()) return bytes;
  size_t begin = 0;
  while (true) {
    const size_t comma = s.find(',', begin);
    const std::string_view piece = Trim(s.substr(begin, comma - begin));
    if (piece.empty() || piece.size() > 2) return std::nullopt;
    const std::optional<uint32_t> byte = ParseDword(piece);
    if (!byte) return std::nullopt;
    bytes += static_cast<char>(*byte);
    if (comma == std::string_view::npos) return bytes;
    begin = comma + 1;
  }
}

// Text stored as hex is UTF-16LE, as the registry keeps it. Only 8-bit
// characters fit our strings; anything wider makes the value unreadable.
std::optional<std::string> DecodeUtf16(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 2) {
    if (bytes[i + 1] != '\0') return std::nullopt;
    if (bytes[i] == '\0') break;
    out += bytes[i];
  }
  return out;
}

// hex(1) and hex(2) are texts (the second unexpanded), hex(4) a dword; any
// other registry type is of no use to our readers.
std::optional<TStoredValue> ParseHexData(std::string_view data) {
  const size_t close = data.find("):");
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view type = data.substr(4, close - 4);
  const std::optional<std::string> bytes = ParseHexBytes(data.substr(close + 2));
  if (!bytes) return std::nullopt;
  if (type == "1" || type == "2") {
    std::optional<std::string> textValue = DecodeUtf16(*bytes);
    if (!textValue) return std::nullopt;
    return TStoredValue(std::move(*textValue));
  }
  if (type == "4" && bytes->size() == 4) {
    uint32_t dword = 0;
    for (size_t i = 4; i-- > 0;) dword = (dword << 8) | static_cast<unsigned char>((*bytes)[i]);
    return TStoredValue(dword);
  }
  return std::nullopt;
}

std::optional<TStoredValue> ParseData(std::string_view data) {
  if (!data.empty() && data.front() == '"') {
    if (ClosingQuote(data) != data.size() - 1) return std::nullopt;
    return TStoredValue(std::string(UpToZero(Unescape(data.substr(1, data.size() - 2)))));
  }
  if (StartsWithNoCase(data, "dword:")) {
    const std::optional<uint32_t> dword = ParseDword(data.substr(6));
    if (!dword) return std::nullopt;
    return TStoredValue(*dword);
  }
  if (StartsWithNoCase(data, "hex(")) return ParseHexData(data);
  return std::nullopt;
}

// Appended piece by piece: GCC 12 at -O3 takes `"\"" + Escape(text)` (a
// literal before a temporary string) for an overlapping copy (-Wrestrict).
std::string Quoted(std::string_view text) {
  std::string out(1, '"');
  out += Escape(text);
  out += '"';
  return out;
}

std::string HexText(std::string_view text) {
  std::string out = "hex(1):";
  char byte[8];
  for (const char ch : text) {
    std::snprintf(byte, sizeof byte, "%02x,00,", static_cast<unsigned char>(ch));
    out += byte;
  }
  return out + "00,00";
}

// A text with a line break cannot stand between quotes on one line, so it is
// stored as hex, the way the registry exports such a text.
std::string RenderData(const TStoredValue& value) {
  if (const uint32_t* dword = std::get_if<uint32_t>(&value)) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(*dword));
    return digits;
  }
  const std::string_view text = UpToZero(std::get<std::string>(value));
  if (text.find_first_of("\r\n") != std::string_view::npos) return HexText(text);
  return Quoted(text);
}

std::string RenderEntry(std::string_view name, const TStoredValue& value) {
  const std::string quotedName = name.empty() ? "@" : Quoted(name);
  return quotedName + "=" + RenderData(value);
}

std::string LineBreakOf(std::string_view text) {
  const size_t lf = text.find('\n');
  return lf != std::string_view::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

bool FitsOnOneLine(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Ends the text's last line, if it has no line break, so that something can
// follow it. A lone CR at the very end reads as a line end, but what follows
// would join its line: it gets the LF that completes it.
void EndLastLine(std::string& out, const std::string& lineBreak) {
  if (out.empty() || out.back() == '\n') return;
  out += out.back() == '\r' ? "\n" : lineBreak;
}

// A new section goes at the end, after one blank line; a new file starts with
// the line that lets the registry editor import it.
std::string WithNewSection(std::string_view text, std::string_view section,
                           const std::string& entry) {
  const std::string lineBreak = LineBreakOf(text);
  std::string out(text);
  if (out.empty()) out = std::string(kFirstLine) + lineBreak;
  EndLastLine(out, lineBreak);
  const std::vector<TLine> lines = SplitLines(out);
  if (lines.back().End > lines.back().Begin) out += lineBreak;
  return out + "[" + SectionKey(section) + "]" + lineBreak + entry + lineBreak;
}

}  // namespace

std::string SectionKey(std::string_view section) {
  return std::string(kRootKey) + std::string(section);
}

std::optional<TStoredValue> FindStoredValue(std::string_view text, std::string_view section,
                                            std::string_view name) {
  const std::vector<TLine> lines = SplitLines(text);
  const TSectionScan scan = ScanSection(text, lines, section, name);
  if (!scan.Entry) return std::nullopt;
  return ParseData(scan.Entry->Data);
}

std::optional<std::string> WithStoredValue(std::string_view text, std::string_view section,
                                           std::string_view name, const TStoredValue& value) {
  if (!FitsOnOneLine(section) || !FitsOnOneLine(name)) return std::nullopt;
  const std::vector<TLine> lines = SplitLines(text);
  const TSectionScan scan = ScanSection(text, lines, section, name);
  std::string out(text);
  // Like the registry, a value that exists keeps the spelling of its name.
  if (scan.Entry) {
    const size_t begin = lines[scan.Entry->FirstLine].Begin;
    return out.replace(begin, lines[scan.Entry->LastLine].End - begin,
                       RenderEntry(scan.Entry->Name, value));
  }
  const std::string entry = RenderEntry(name, value);
  if (!scan.InsertAfter) return WithNewSection(text, section, entry);
  const TLine& after = lines[*scan.InsertAfter];
  const std::string lineBreak = LineBreakOf(text);
  if (after.Next < text.size() || text.back() == '\n')
    return out.insert(after.Next, entry + lineBreak);
  EndLastLine(out, lineBreak);
  return out + entry;
}

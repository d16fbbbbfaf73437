#pragma once
// The one field reader behind every sentence decoder: the line is split once
// into its fields (field 0 is the address; a field the sentence lacks is
// empty). Views only: nothing is copied or allocated.

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace nmea {

// Where field text ends: at the next comma, at the checksum's "*", or at the end.
inline size_t FieldEnd(std::string_view line, size_t from) {
  while (from < line.size() && line[from] != ',' && line[from] != '*') ++from;
  return from;
}

// Eight characters at a time: the top bit of each byte of the result is set
// where the byte of `word` equals `ch`, and nowhere else.
inline uint64_t BytesEqual(uint64_t word, char ch) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t x = word ^ (0x0101010101010101ULL * static_cast<unsigned char>(ch));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}

template <size_t N>
class TFields {
 public:
  // One pass: a comma closes the field and opens the next; a "*" only
  // closes it, so text behind the checksum falls to later fields. The
  // separators are found a word at a time; only they are looked at singly.
  explicit TFields(std::string_view line) {
    const char* const begin = line.data();
    const char* const end = begin + line.size();
    Start = begin;
    const char* p = begin;
    // Byte k of a word is its k-th character only on little-endian machines.
    constexpr bool kWordAtATime = std::endian::native == std::endian::little;
    for (; kWordAtATime && end - p >= 8; p += 8) {
      uint64_t word = 0;
      std::memcpy(&word, p, 8);
      uint64_t separators = BytesEqual(word, ',') | BytesEqual(word, '*');
      while (separators != 0) {
        if (Separator(p + (std::countr_zero(separators) >> 3))) return;
        separators &= separators - 1;
      }
    }
    for (; p != end; ++p) {
      if ((*p == ',' || *p == '*') && Separator(p)) return;
    }
    if (Open) Fields[Count] = Field(Start, end);
  }

  std::string_view operator[](size_t n) const { return Fields[n]; }

 private:
  // True once all N fields are known.
  bool Separator(const char* p) {
    if (*p == ',') {
      if (Open) Fields[Count] = Field(Start, p);
      if (++Count == N) return true;
      Start = p + 1;
      Open = true;
    } else if (Open) {
      Fields[Count] = Field(Start, p);
      Open = false;
    }
    return false;
  }

  static std::string_view Field(const char* begin, const char* end) {
    return {begin, static_cast<size_t>(end - begin)};
  }

  std::array<std::string_view, N> Fields{};
  const char* Start = nullptr;
  size_t Count = 0;
  bool Open = true;
};

// Real text that fits the field's type; a value beyond its range is a
// failure of the field, like text that is not a number.
bool ReadDouble(std::string_view text, double& value);
bool ReadSingle(std::string_view text, float& value);
// IntOrZero through the whole integer grammar (signs, spaces, hex prefixes).
int32_t GeneralIntOrZero(std::string_view text);
// Integer text, or 0 when the field is empty or not an integer. Satellite
// fields are mostly two or three plain digits, read here without a call.
inline int32_t IntOrZero(std::string_view text) {
  if (text.empty()) return 0;
  if (text.size() <= 3) {
    int32_t value = 0;
    for (char ch : text) {
      if (ch < '0' || ch > '9') return GeneralIntOrZero(text);
      value = value * 10 + (ch - '0');
    }
    return value;
  }
  return GeneralIntOrZero(text);
}
// Real text read as a single, or 0 when empty, not a number, or beyond the
// range of a single: a dilution or error estimate that large is as
// meaningless as an unreadable one, and 0 is what the display shows for those.
float SingleOrZero(std::string_view text);

// Signed DDMM.MMMM (or DDDMM.MMMM) into signed decimal degrees.
double CoordinateDegrees(double value);

}  // namespace nmea

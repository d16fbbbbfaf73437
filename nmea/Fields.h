#pragma once
// The one field reader behind every sentence decoder: the line is split once,
// and field n of the split is exactly what TNMEA::GetField(n, line) gives.
// Views only: nothing is copied or allocated.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nmea {

// Where field text ends: at the next comma, at the checksum's "*", or at the end.
inline size_t FieldEnd(std::string_view line, size_t from) {
  while (from < line.size() && line[from] != ',' && line[from] != '*') ++from;
  return from;
}

template <size_t N>
class TFields {
 public:
  // One pass: a comma closes the field and opens the next; a "*" only
  // closes it, so text behind the checksum falls to later fields.
  explicit TFields(std::string_view line) {
    const char* start = line.data();
    const char* const end = start + line.size();
    bool open = true;
    size_t n = 0;
    for (const char* p = start; p != end; ++p) {
      if (*p == ',') {
        if (open) Fields[n] = Field(start, p);
        if (++n == N) return;
        start = p + 1;
        open = true;
      } else if (*p == '*' && open) {
        Fields[n] = Field(start, p);
        open = false;
      }
    }
    if (open) Fields[n] = Field(start, end);
  }

  std::string_view operator[](size_t n) const { return Fields[n]; }

 private:
  static std::string_view Field(const char* begin, const char* end) {
    return {begin, static_cast<size_t>(end - begin)};
  }

  std::array<std::string_view, N> Fields{};
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

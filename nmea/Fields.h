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
  explicit TFields(std::string_view line) {
    size_t start = 0;
    for (size_t n = 0; n < N; ++n) {
      const size_t end = FieldEnd(line, start);
      Fields[n] = line.substr(start, end - start);
      // Commas behind the "*" count too, so the next field starts after the
      // next comma wherever it is.
      const size_t comma = end < line.size() && line[end] == ',' ? end : line.find(',', end);
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
  }

  std::string_view operator[](size_t n) const { return Fields[n]; }

 private:
  std::array<std::string_view, N> Fields{};
};

// Real text that fits the field's type; a value beyond its range is a
// failure of the field, like text that is not a number.
bool ReadDouble(std::string_view text, double& value);
bool ReadSingle(std::string_view text, float& value);
// Integer text, or 0 when the field is empty or not an integer.
int32_t IntOrZero(std::string_view text);
// Real text read as a single, or 0 when empty, not a number, or beyond the
// range of a single: a dilution or error estimate that large is as
// meaningless as an unreadable one, and 0 is what the display shows for those.
float SingleOrZero(std::string_view text);

// Signed DDMM.MMMM (or DDDMM.MMMM) into signed decimal degrees.
double CoordinateDegrees(double value);

}  // namespace nmea

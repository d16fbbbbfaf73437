#pragma once
// A "$" line as the sky model reads it: the address up to the first comma,
// then the fields up to the first "*", taken one after another. Nothing is
// copied; the line must outlive the reader.

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "nmea/Fields.h"

namespace nmea {

class TSkyLine {
 public:
  explicit TSkyLine(std::string_view line) : Line(line) {
    const size_t addressEnd = FieldEnd(line, 1);
    Address = line.substr(1, addressEnd - 1);
    const size_t star = std::min(line.find('*'), line.size());
    if (addressEnd < star) {
      Count = static_cast<size_t>(std::count(line.begin() + addressEnd, line.begin() + star, ','));
      Next = addressEnd + 1;
    } else {
      Next = line.size();
    }
    End = star;
  }

  std::string_view Address;
  // Fields after the address, up to the first "*".
  size_t FieldCount() const { return Count; }

  // The next field; empty once all FieldCount() have been taken.
  std::string_view Take() {
    if (Next > End) return {};
    const size_t end = FieldEnd(Line, Next);
    const std::string_view field = Line.substr(Next, end - Next);
    Next = end + 1;
    return field;
  }
  void Skip(size_t fields) {
    for (size_t i = 0; i < fields; ++i) Take();
  }
  // The last field before the "*", without taking anything.
  std::string_view LastField() const {
    if (Count == 0) return {};
    const size_t comma = Line.rfind(',', End - 1);
    return Line.substr(comma + 1, End - comma - 1);
  }

 private:
  std::string_view Line;
  size_t Count = 0;
  size_t Next = 0;
  size_t End = 0;
};

}  // namespace nmea

// libFuzzer target: any pattern text, with any texts as the locale's own date
// and time patterns (which patterns expand, and which may name each other),
// for any date-time value. The result stays within its bound and the
// formatter ends.
//
// Input: eight bytes of value, then the pattern and the locale's short date,
// long date, short time and long time patterns, separated by zero bytes.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "format/DateTimePattern.h"
#include "format/LocaleFormats.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The next piece up to a zero byte, or the rest.
std::string_view TakePiece(std::string_view& rest) {
  const size_t zero = rest.find('\0');
  const std::string_view piece = rest.substr(0, zero);
  rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
  return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDateTime value = 0;
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    data += sizeof value;
    size -= sizeof value;
  }
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view pattern = TakePiece(rest);
  TLocaleFormats locale;
  for (std::string* own : {&locale.ShortDateFormat, &locale.LongDateFormat, &locale.ShortTimeFormat,
                           &locale.LongTimeFormat}) {
    if (!rest.empty()) *own = TakePiece(rest);
  }
  Check(FormatDateTime(pattern, value, locale).size() <= kMaxDateTimeText);
  return 0;
}

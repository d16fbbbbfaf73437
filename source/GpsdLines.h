#pragma once
// gpsd's side of the conversation: the request that makes it relay the
// receiver's NMEA, and the filter that keeps its own JSON reports (one per
// line, each starting with "{") out of the lines shown.

#include <cstddef>
#include <string>
#include <string_view>

// ?WATCH={"enable":true,"nmea":true} and LF, with "device":"DEVICE" when a
// device is named (only that receiver's sentences are relayed then).
std::string GpsdWatchRequest(std::string_view device);

class TGpsdLineFilter {
 public:
  // Removes every line that starts with "{", its line end included, from
  // `data` in place, and returns how many bytes remain. Lines may be split
  // anywhere between calls.
  size_t Filter(char* data, size_t size);

 private:
  bool AtLineStart = true;
  bool Skipping = false;
};

#pragma once
// Finding a receiver's baud rate by listening: each rate in turn, the one
// found last time first, until two lines with valid checksums arrive (a
// wrong rate gives bytes, but never a line whose checksum holds). The rates
// come in the order receivers most often use them.

#include <cstdint>
#include <iterator>
#include <string_view>

class TBaudSearch {
 public:
  static constexpr int32_t kRates[] = {4800,  9600,   38400,  115200, 19200,
                                       57600, 230400, 460800, 921600};
  static constexpr int kRateCount = static_cast<int>(std::size(kRates));
  // Valid lines that settle a rate.
  static constexpr int kLinesNeeded = 2;
  // How long one rate is listened to.
  static constexpr int kListenMs = 1500;

  // `remembered`: the rate found last time for this slot, 0 for none.
  explicit TBaudSearch(int32_t remembered = 0);

  // The rate to listen at now.
  int32_t Rate() const;
  // A line that arrived at Rate(); true once the rate is found.
  bool TakeLine(std::string_view line);
  // The same, for a line whose checksum is known to hold.
  bool TakeValidLine();
  bool Found() const { return ValidLines >= kLinesNeeded; }
  // Rate() had its time: the next one, round and round until one is found.
  void Next();

 private:
  int32_t Remembered = 0;
  int Position = 0;  // 0 is the remembered rate when there is one
  int ValidLines = 0;
};

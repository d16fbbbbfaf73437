#pragma once
// Sentence statistics for a receiver and its cable: one row per address (the
// text after a leading "$" or "!" up to the first "," or "*" or the end; any
// other line counts in the row of the empty address), with its count, the
// lines per second over the last 10 s, checksum and decode failures, and its
// last line. Counting is meant for every line the receive loop takes, so it
// costs no allocation once an address has its row. Plain C++, no Qt.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nmea/NMEA.h"

struct TSentenceStatsRow {
  std::string Address;  // empty: lines that are not sentences
  uint64_t Count = 0;
  uint64_t BadChecksum = 0;
  uint64_t Invalid = 0;
  uint32_t LastSeenMs = 0;  // the tick of the last line; meaningless while Count is 0
  std::string LastLine;     // at most kLastLineLimit characters of it

  // Lines counted in each of the last eleven seconds of the stats' clock
  // (ten whole ones and the current part of one).
  std::array<uint32_t, 11> Buckets{};
  uint64_t NewestSecond = 0;
};

// The text shown for the empty address.
inline constexpr std::string_view kNotASentence = "(not a sentence)";
// The table's columns, as the window shows them and the CSV heads them.
inline constexpr std::array<std::string_view, 7> kStatsColumns = {
    "Address", "Count", "Lines/s", "Bad checksums", "Bad checksum %", "Invalid", "Last seen s"};

// One line of the table as text: the address ("(not a sentence)" for the
// empty one, "Total" for the total), then the numbers, one decimal for rates,
// shares and seconds.
struct TStatsTableRow {
  std::array<std::string, kStatsColumns.size()> Cells;
  std::string LastLine;
};

// The longest address a row keeps: a line of noise after a "$" would make
// its whole self an address; the window and tolvane-decode --stats both cut
// it here.
inline constexpr size_t kMaxAddressLength = 16;

// The address of a line as the rows are keyed, at most kMaxAddressLength
// characters.
std::string_view SentenceAddress(std::string_view line);

// What a line counts against its receiver. A line that is no sentence (a
// capture's "#" header, noise) is not a bad checksum: only a "$" or "!"
// line without "*" or whose checksum does not hold is one. Invalid is a line
// whose checksum holds and that the decoder rejects, except a GSV, which is
// invalid only when the sky model could not read it: the fourth and later
// sentences of a series are good NMEA that only the fix display's twelve
// slots cannot show.
enum class TLineFault : uint8_t { None, BadChecksum, Invalid };
TLineFault LineFault(std::string_view line, TSentenceResult decoded, bool skyRead);

class TSentenceStats {
 public:
  // A tool tip has no use for more of a line, and noise makes long lines.
  static constexpr size_t kLastLineLimit = 512;
  // A noisy cable makes a new address of almost every line; past this many
  // rows, lines with a new address count in the empty address's row.
  static constexpr size_t kDefaultMaxRows = 1000;

  explicit TSentenceStats(size_t maxRows = kDefaultMaxRows);

  // Counts one line taken at the tick nowMs (a 32-bit millisecond counter
  // that wraps; calls come in tick order).
  void Count(std::string_view line, TLineFault fault, uint32_t nowMs);
  // Counts a UBX or RTCM 3 frame in its own row ("UBX NAV-PVT"), shown by
  // `summary`; such rows are bounded by the kinds of frame there are, not by
  // MaxRows, and leave the total of lines alone.
  void CountFrame(std::string_view address, std::string_view summary, size_t bytes, uint32_t nowMs);
  uint64_t BinaryBytes() const { return FrameBytes; }
  // Bytes that the receive buffer's cap threw away.
  void AddDropped(uint64_t bytes) { Dropped += bytes; }
  void Reset();
  // The source went away: every rate reads 0 until a line is counted again,
  // while the counts and the times since last seen stay.
  void EndSource() { SourceEnded = true; }

  // Rows in the order their addresses first came.
  const std::vector<TSentenceStatsRow>& Rows() const { return AllRows; }
  // Rows sorted by address, byte by byte (the empty address first).
  std::vector<const TSentenceStatsRow*> SortedRows() const;
  const TSentenceStatsRow& Total() const { return TotalRow; }
  uint64_t DroppedBytes() const { return Dropped; }

  // Lines per second over the 10 s before nowMs; 0 once the source ended.
  double LinesPerSecond(const TSentenceStatsRow& row, uint32_t nowMs) const;
  // Milliseconds from the row's last line to nowMs (0 for a nowMs before it).
  static uint32_t MsSinceLastSeen(const TSentenceStatsRow& row, uint32_t nowMs) {
    const uint32_t since = nowMs - row.LastSeenMs;
    return since < 0x80000000u ? since : 0;
  }
  // Bad checksums as a share of the row's count, in percent.
  static double BadChecksumPercent(const TSentenceStatsRow& row);

  // The rows by address, then the total.
  std::vector<TStatsTableRow> Table(uint32_t nowMs) const;
  // The table as CSV, with a header line of the column titles.
  std::string Csv(uint32_t nowMs) const;

 private:
  struct TAddressHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };

  void AdvanceClock(uint32_t nowMs);
  TStatsTableRow TableRow(std::string_view name, const TSentenceStatsRow& row,
                          uint32_t nowMs) const;
  void CountIn(TSentenceStatsRow& row, std::string_view line, TLineFault fault, uint32_t nowMs);
  TSentenceStatsRow& RowFor(std::string_view address, bool frame = false);

  size_t MaxRows;
  std::vector<TSentenceStatsRow> AllRows;
  std::unordered_map<std::string, size_t, TAddressHash, std::equal_to<>> IndexOf;
  TSentenceStatsRow TotalRow;
  uint64_t Dropped = 0;
  size_t FrameRows = 0;
  uint64_t FrameBytes = 0;
  // The stats' own clock in whole seconds, so that rates survive the wrap
  // of the tick: Seconds advance by the ticks elapsed since SecondStartMs.
  bool ClockStarted = false;
  bool SourceEnded = false;
  uint64_t Seconds = 0;
  uint32_t SecondStartMs = 0;
};

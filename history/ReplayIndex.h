#pragma once
// Where each epoch of a replay file begins, found in one pass over the file
// before or while it plays, so that a seek bar can jump to any epoch. The
// file is split into lines as the replay reads it (CR ends a line, or LF in
// a file with no CR in its first 64 KiB; character 26 ends the file), and
// epochs begin where the sky model begins them: at a time sentence whose
// time text differs from the last one. Positions are epoch numbers in file
// order, never clock times, so midnight and a log of several sessions keep
// their order.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TIndexedEpoch {
  uint64_t Offset = 0;  // of the epoch's first line in the file
  uint64_t Line = 0;    // non-empty lines before it
  float Seconds = -1;   // UTC time of day, negative when unreadable
  int32_t Date = -1;    // ddmmyy from an RMC of the epoch, -1 when none
};

class TReplayIndex {
 public:
  // Reads the whole file. `done` follows the bytes read, for progress;
  // `cancel` set stops the pass: then the result is empty. Throws nothing:
  // a file that cannot be read gives an empty index.
  static std::optional<TReplayIndex> Build(const std::string& fileName,
                                           const std::atomic<bool>* cancel = nullptr,
                                           std::atomic<uint64_t>* done = nullptr);

  const std::vector<TIndexedEpoch>& Epochs() const { return Entries; }
  size_t Size() const { return Entries.size(); }
  // The epoch that holds file offset `offset`: the last that begins at or
  // before it, 0 for lines before the first.
  size_t EpochAt(uint64_t offset) const;
  // Whether positions need dates beside their times: the log spans more
  // than one day, or its time goes back (midnight, several sessions).
  bool SpansDays() const;
  // "hh:mm:ss" of an epoch, with "dd/mm/yy " before it when `withDate`
  // and the epoch's date is known; "--:--:--" for an unreadable time.
  std::string PositionText(size_t epoch, bool withDate) const;

  // Feeds one line (without its terminator) that begins at `offset`; for
  // the scan, and for tests that build an index by hand.
  void TakeLine(std::string_view line, uint64_t offset);

 private:
  std::vector<TIndexedEpoch> Entries;
  std::string LastTime;
  uint64_t Lines = 0;
};

#pragma once
// The sky model: every satellite a multi-constellation receiver reports, kept
// by system, satellite and signal, with elevation, azimuth, SNR and whether
// the fix uses it. It reads the same lines as the decoder, beside it, and
// leaves the decoder's records alone: GSV series (NMEA 4.10 signal IDs
// included) fill it, GSA sentences mark the satellites used, and the time
// sentences (GGA, RMC, GNS, GLL) mark where one fix epoch ends and the next
// begins. What no GSV has reported for a while leaves the sky (see
// kForgetMs).

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "nmea/SkySystems.h"

namespace nmea {
class TSkyLine;
}

// One satellite on one signal.
struct TSkyEntry {
  TSkySystem System = TSkySystem::Other;
  int32_t Satellite = 0;
  uint8_t Signal = 0;  // the NMEA signal ID, 0 when not given
  std::optional<int32_t> Elevation;
  std::optional<int32_t> Azimuth;
  std::optional<int32_t> SNR;
  // Named by a GSA of the current epoch, on any signal.
  bool Used = false;

  bool operator==(const TSkyEntry&) const = default;
};

// One satellite with all its signals: the entries FirstEntry to
// FirstEntry + EntryCount - 1 of Entries(). Its position is the first one
// any of its signals gives, in signal order.
struct TSkySatellite {
  TSkySystem System = TSkySystem::Other;
  int32_t Satellite = 0;
  std::optional<int32_t> Elevation;
  std::optional<int32_t> Azimuth;
  bool Used = false;
  uint32_t FirstEntry = 0;
  uint32_t EntryCount = 0;
};

// Satellites of one system, and how many of them a display marks used.
struct TSkyCount {
  int InView = 0;
  int Used = 0;
};

class TSkyModel {
 public:
  // A satellite on a signal that no GSV has reported for this long of the
  // receiver's time (its GGA, RMC, GNS, GLL and ZDA times), and for at least
  // kForgetEpochs epochs, has left the sky: a receiver that stops sending a
  // talker or a signal, or that switches to signal IDs, says nothing of the
  // satellites it no longer lists. Without a receiver time, the epochs alone
  // decide.
  static constexpr int64_t kForgetMs = 10000;
  static constexpr uint64_t kForgetEpochs = 5;

  TSkyModel();

  // A line as received (without any NMEA 4 TAG block). Lines that do not
  // start with "$", whose address is not five characters long, or that the
  // decoder rejects for their checksum are ignored. Returns whether the
  // model read the line: false for a line it ignores, and for a GSV or GSA
  // whose fields it cannot read (a GSV out of its series' order is read).
  bool Take(std::string_view line);
  // Forgets everything, as if no line had been taken.
  void Clear();
  // The input has ended (a replay's last line): the epoch in progress is
  // complete and is what a display shows, as the end of a file completes the
  // last epoch for --sky.
  void EndEpoch();

  // Sorted by system, satellite and signal. Built when first asked for after
  // a change, so that a stream taken line by line pays for the union only
  // when someone looks; the model is for one thread.
  const std::vector<TSkyEntry>& Entries() const {
    Settle();
    return Merged;
  }
  // Sorted by system and satellite.
  const std::vector<TSkySatellite>& Satellites() const {
    Settle();
    return Sats;
  }
  // Goes up whenever Entries() or Satellites() may have changed.
  uint64_t Revision() const { return Changes; }

  // What a display shows: the last completed epoch that had a GSV or GSA, as
  // Entries() and Satellites() held it when the next epoch began, never one
  // being assembled (between a GPS GSA and the GLONASS one, the GLONASS
  // satellites would count none used). Before the first such epoch, and for
  // receivers that send no time sentences, the model as it stands.
  const std::vector<TSkyEntry>& ShownEntries() const;
  const std::vector<TSkySatellite>& ShownSatellites() const;
  // Per system, in TSkySystem order, of ShownSatellites().
  std::array<TSkyCount, kSkySystemCount> ShownCounts() const;
  // Goes up whenever what a display shows may have changed, so that it can
  // skip a refresh that would show the same.
  uint64_t ShownRevision() const { return ShownChanges; }

  // The current epoch's UTC time field as sent; none before the first epoch.
  std::optional<std::string_view> EpochTime() const;
  // Whether, since the current epoch began, a GSV passed the checks of its
  // header or a GSA with all its fields arrived.
  bool EpochHasSky() const { return EpochSky; }
  // Called when a new epoch begins, before the GSA sets are cleared, while
  // EpochTime() and everything else still describe the epoch that ends.
  void SetEpochHandler(std::function<void()> handler) { EpochHandler = std::move(handler); }

 private:
  // A GSA names at most twelve satellites used.
  static constexpr int kGsaSlots = 12;
  // A signal ID is one hex digit, so a series carries at most sixteen.
  static constexpr int kSignalIds = 16;

  // A GSV series in progress for one talker.
  struct TSeries {
    uint16_t Talker = 0;
    bool InProgress = false;
    int Count = 0;
    int Next = 0;
    uint16_t Signals = 0;    // bit n: a sentence carried signal n
    bool SignalIds = false;  // its sentences carried a signal ID field
    uint32_t Systems = 0;    // bit n: TSkySystem n, of the talker or an entry
    std::vector<TSkyEntry> Entries;
  };
  // The entries of the last series completed for one talker and signal.
  struct TKept {
    uint16_t Talker = 0;
    uint8_t Signal = 0;
    uint64_t Stamp = 0;  // completion order: a later one wins a duplicate
    bool SignalIds = false;
    // When it was completed: the epoch, and the receiver's clock if known.
    uint64_t Epoch = 0;
    std::optional<int64_t> ClockMs;
    std::vector<TSkyEntry> Entries;
  };
  // The satellites of the last GSA of one talker and system ID.
  struct TUsedSet {
    uint16_t Talker = 0;
    int64_t SystemId = 0;  // the field's number, or a key for sets without one
    int Count = 0;
    std::array<TSkyId, kGsaSlots> Ids{};
  };
  struct TMergeItem {
    uint64_t Key;
    uint64_t Stamp;
    uint32_t Order;
    const TSkyEntry* Entry;
  };

  bool TakeGSV(std::string_view talker, nmea::TSkyLine& fields);
  bool TakeGSA(std::string_view talker, nmea::TSkyLine& fields);
  void UseSet(uint16_t talker, int64_t systemId, const std::array<TSkyId, kGsaSlots>& ids,
              int count);
  void TakeTime(std::string_view time);
  // Moves the receiver's clock on to a time field that reads as one.
  void TakeClock(std::string_view time);
  void ForgetUnheard();
  TSeries& SeriesOf(uint16_t talker);
  void Complete(TSeries& series);
  // The entries of `series`'s systems kept from series of the other form
  // (with signal IDs or without).
  void DropOtherForm(const TSeries& series);
  TKept& KeptOf(uint16_t talker, uint8_t signal);
  void CollectUsed();
  // Something Entries() shows has changed: the union, or only the marks.
  void Changed(bool entries);
  void Settle() const;
  void Merge() const;
  void MarkUsed() const;
  void GroupSatellites() const;
  void KeepShown();

  std::vector<TSeries> Series;
  std::vector<TKept> Kept;
  std::vector<TUsedSet> UsedSets;
  // Keys of the satellites the current GSA sets name, sorted.
  std::vector<uint64_t> UsedKeys;
  mutable bool EntriesStale = false;
  mutable bool MarksStale = false;
  mutable std::vector<TMergeItem> MergeItems;
  mutable std::vector<TSkyEntry> Merged;
  mutable std::vector<TSkySatellite> Sats;
  std::string LastTime;
  bool HaveTime = false;
  bool EpochSky = false;
  uint64_t Epochs = 0;  // begun so far
  // The receiver's clock: milliseconds since its first time that read as
  // one, on across midnight; and that time's place in its day.
  std::optional<int64_t> ClockMs;
  int64_t LastTimeOfDayMs = 0;
  uint64_t Completions = 0;
  uint64_t Changes = 0;
  // The last completed epoch, once HaveShown.
  std::vector<TSkyEntry> ShownMerged;
  std::vector<TSkySatellite> ShownSats;
  bool HaveShown = false;
  uint64_t ShownChanges = 0;
  std::function<void()> EpochHandler;
};

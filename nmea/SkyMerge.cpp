// What the sky model shows: the union of the entries kept for each talker and
// signal, one per system, satellite and signal, with the used marks of the
// GSA sets, and the same grouped per satellite.

#include <algorithm>

#include "nmea/SkyModel.h"

namespace {

// Orders like system, then satellite as a signed number.
uint64_t SatelliteKey(TSkySystem system, int32_t satellite) {
  return uint64_t{static_cast<uint8_t>(system)} << 32 |
         (static_cast<uint32_t>(satellite) ^ 0x80000000U);
}

uint64_t EntryKey(const TSkyEntry& entry) {
  return SatelliteKey(entry.System, entry.Satellite) << 4 | entry.Signal;
}

}  // namespace

void TSkyModel::Changed(bool entries) {
  EntriesStale = EntriesStale || entries;
  MarksStale = true;
  ++Changes;
  if (!HaveShown) ++ShownChanges;
}

void TSkyModel::KeepShown() {
  Settle();
  ShownMerged = Merged;
  ShownSats = Sats;
  HaveShown = true;
  ++ShownChanges;
}

const std::vector<TSkyEntry>& TSkyModel::ShownEntries() const {
  return HaveShown ? ShownMerged : Entries();
}

const std::vector<TSkySatellite>& TSkyModel::ShownSatellites() const {
  return HaveShown ? ShownSats : Satellites();
}

void TSkyModel::Settle() const {
  if (EntriesStale) Merge();
  if (MarksStale) {
    MarkUsed();
    GroupSatellites();
  }
  EntriesStale = false;
  MarksStale = false;
}

// When two talkers (or one series) hold the same satellite on the same
// signal, the series completed last wins, and within it the later group.
void TSkyModel::Merge() const {
  MergeItems.clear();
  for (const TKept& kept : Kept) {
    for (uint32_t i = 0; i < kept.Entries.size(); ++i)
      MergeItems.push_back({EntryKey(kept.Entries[i]), kept.Stamp, i, &kept.Entries[i]});
  }
  std::sort(MergeItems.begin(), MergeItems.end(), [](const TMergeItem& a, const TMergeItem& b) {
    if (a.Key != b.Key) return a.Key < b.Key;
    if (a.Stamp != b.Stamp) return a.Stamp > b.Stamp;
    return a.Order > b.Order;
  });
  Merged.clear();
  for (size_t i = 0; i < MergeItems.size(); ++i) {
    if (i > 0 && MergeItems[i].Key == MergeItems[i - 1].Key) continue;
    Merged.push_back(*MergeItems[i].Entry);
  }
}

void TSkyModel::CollectUsed() {
  UsedKeys.clear();
  for (const TUsedSet& set : UsedSets) {
    for (int i = 0; i < set.Count; ++i)
      UsedKeys.push_back(SatelliteKey(set.Ids[i].System, set.Ids[i].Satellite));
  }
  std::sort(UsedKeys.begin(), UsedKeys.end());
  UsedKeys.erase(std::unique(UsedKeys.begin(), UsedKeys.end()), UsedKeys.end());
}

void TSkyModel::MarkUsed() const {
  for (TSkyEntry& entry : Merged) {
    const uint64_t key = SatelliteKey(entry.System, entry.Satellite);
    entry.Used = std::binary_search(UsedKeys.begin(), UsedKeys.end(), key);
  }
}

void TSkyModel::GroupSatellites() const {
  Sats.clear();
  for (uint32_t i = 0; i < Merged.size(); ++i) {
    const TSkyEntry& entry = Merged[i];
    if (Sats.empty() || Sats.back().System != entry.System ||
        Sats.back().Satellite != entry.Satellite) {
      Sats.push_back({entry.System, entry.Satellite, {}, {}, entry.Used, i, 0});
    }
    TSkySatellite& satellite = Sats.back();
    if (!satellite.Elevation) satellite.Elevation = entry.Elevation;
    if (!satellite.Azimuth) satellite.Azimuth = entry.Azimuth;
    ++satellite.EntryCount;
  }
}

std::array<TSkyCount, kSkySystemCount> TSkyModel::ShownCounts() const {
  std::array<TSkyCount, kSkySystemCount> counts{};
  for (const TSkySatellite& satellite : ShownSatellites()) {
    TSkyCount& count = counts[static_cast<size_t>(satellite.System)];
    ++count.InView;
    count.Used += satellite.Used ? 1 : 0;
  }
  return counts;
}

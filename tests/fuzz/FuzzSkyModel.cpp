// libFuzzer target: the sky model fed any lines. Whatever arrives, the
// entries stay sorted by system, satellite and signal with no two alike, each
// satellite owns the run of entries that carry its number, the revision
// moves whenever what a display shows changes, and Clear forgets everything.
//
// Input: lines ended by LF. A line that starts with "$" and ends with "*"
// gets its checksum added, so that the fuzzer reaches past the checksum
// test as easily as it reaches into it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/Routines.h"
#include "nmea/SkyModel.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::string Framed(std::string_view line) {
  if (line.size() >= 2 && line.front() == '$' && line.back() == '*')
    return FrameSentence(line.substr(1, line.size() - 2));
  return std::string(line);
}

void CheckShape(const std::vector<TSkyEntry>& entries,
                const std::vector<TSkySatellite>& satellites) {
  auto key = [](const TSkyEntry& e) { return std::tuple(e.System, e.Satellite, e.Signal); };
  for (size_t i = 1; i < entries.size(); ++i) Check(key(entries[i - 1]) < key(entries[i]));
  size_t next = 0;
  const TSkySatellite* previous = nullptr;
  for (const TSkySatellite& satellite : satellites) {
    if (previous)
      Check(std::tuple(previous->System, previous->Satellite) <
            std::tuple(satellite.System, satellite.Satellite));
    Check(satellite.FirstEntry == next && satellite.EntryCount > 0);
    next += satellite.EntryCount;
    Check(next <= entries.size());
    for (size_t i = satellite.FirstEntry; i < next; ++i)
      Check(entries[i].System == satellite.System && entries[i].Satellite == satellite.Satellite);
    previous = &satellite;
  }
  Check(next == entries.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  TSkyModel sky;
  int epochs = 0;
  sky.SetEpochHandler([&] { ++epochs; });
  std::vector<TSkyEntry> shown = sky.Entries();
  uint64_t revision = sky.Revision();
  std::vector<TSkyEntry> displayed = sky.ShownEntries();
  uint64_t displayedRevision = sky.ShownRevision();
  while (!input.empty()) {
    const size_t end = input.find('\n');
    sky.Take(Framed(input.substr(0, end)));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    // What a display would skip when the revision stands still.
    Check(sky.Revision() >= revision);
    if (sky.Revision() == revision) {
      Check(sky.Entries() == shown);
    } else {
      shown = sky.Entries();
      revision = sky.Revision();
    }
    Check(sky.ShownRevision() >= displayedRevision);
    if (sky.ShownRevision() == displayedRevision) {
      Check(sky.ShownEntries() == displayed);
    } else {
      displayed = sky.ShownEntries();
      displayedRevision = sky.ShownRevision();
    }
    CheckShape(sky.Entries(), sky.Satellites());
    CheckShape(sky.ShownEntries(), sky.ShownSatellites());
  }
  sky.Clear();
  Check(sky.Entries().empty() && sky.Satellites().empty() && !sky.EpochTime());
  Check(sky.ShownEntries().empty() && sky.ShownSatellites().empty());
  Check(!sky.EpochHasSky());
  return 0;
}

#include "history/ReplayIndex.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "common/Routines.h"
#include "history/Epoch.h"
#include "nmea/EpochMark.h"
#include "nmea/TagBlock.h"

namespace {

constexpr size_t kBlock = 4 << 20;

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

void TReplayIndex::TakeLine(std::string_view line, uint64_t offset) {
  if (line.empty()) return;
  const uint64_t number = Lines++;
  const std::string_view sentence = StripTagBlock(line);
  const std::optional<std::string_view> time = nmea::EpochTimeField(sentence);
  if (!time || time->empty()) return;
  // A time sentence has a five-character address: its type follows "$" and the talker.
  const int32_t date = sentence.substr(3, 3) == "RMC" ? RmcDate(sentence) : -1;
  if (*time != LastTime || Entries.empty()) {
    LastTime.assign(*time);
    const std::optional<double> seconds = TimeOfDaySeconds(*time);
    Entries.push_back({offset, number, seconds ? static_cast<float>(*seconds) : -1.0f, -1});
  }
  if (date >= 0) Entries.back().Date = date;
}

std::optional<TReplayIndex> TReplayIndex::Build(const std::string& fileName,
                                                const std::atomic<bool>* cancel,
                                                std::atomic<uint64_t>* done) {
  TReplayIndex index;
  const std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(fileName.c_str(), "rb"));
  if (!file) return index;
  std::vector<char> block(kBlock);
  std::string carry;  // a line cut by the end of a block
  uint64_t base = 0;  // file offset of block[0]
  uint64_t lineStart = 0;
  bool lfEnds = false;
  bool probed = false;
  bool afterCr = false;  // an LF right after a CR belongs to the CR
  for (;;) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return std::nullopt;
    const size_t got = std::fread(block.data(), 1, kBlock, file.get());
    if (got == 0) break;
    const std::string_view data(block.data(), got);
    if (!probed) {
      probed = true;
      lfEnds = data.substr(0, kLineEndProbe).find('\r') == std::string_view::npos;
    }
    const char stop = lfEnds ? '\n' : '\r';
    size_t pos = 0;
    if (afterCr && data[0] == '\n') {
      pos = 1;
      lineStart = base + 1;
    }
    afterCr = false;
    bool ended = false;
    while (pos < got) {
      const size_t found = FindLineStop(data, pos, lfEnds);
      const size_t end = found == std::string_view::npos ? got : found;
      std::string_view line = data.substr(pos, end - pos);
      if (!carry.empty()) {
        carry.append(line.substr(0, std::min(line.size(), kLongestLine - carry.size())));
        line = carry;
      }
      if (found == std::string_view::npos) {
        if (carry.empty()) carry.assign(line.substr(0, kLongestLine));
        break;
      }
      if (lfEnds && !line.empty() && line.back() == '\r') line.remove_suffix(1);
      index.TakeLine(line, lineStart);
      carry.clear();
      if (data[end] == kEndMark) {
        ended = true;
        break;
      }
      pos = end + 1;
      if (data[end] == stop && !lfEnds) {
        if (pos < got && data[pos] == '\n')
          ++pos;
        else if (pos == got)
          afterCr = true;
      }
      lineStart = base + pos;
    }
    base += got;
    if (done) done->store(base, std::memory_order_relaxed);
    if (ended) break;
  }
  if (!carry.empty()) index.TakeLine(carry, lineStart);
  return index;
}

size_t TReplayIndex::EpochAt(uint64_t offset) const {
  const auto after = std::upper_bound(
      Entries.begin(), Entries.end(), offset,
      [](uint64_t value, const TIndexedEpoch& epoch) { return value < epoch.Offset; });
  return after == Entries.begin() ? 0 : static_cast<size_t>(after - Entries.begin() - 1);
}

bool TReplayIndex::SpansDays() const {
  std::optional<int32_t> date;
  float last = -1;
  for (const TIndexedEpoch& epoch : Entries) {
    if (epoch.Date >= 0) {
      if (date && *date != epoch.Date) return true;
      date = epoch.Date;
    }
    if (epoch.Seconds >= 0) {
      if (epoch.Seconds < last) return true;
      last = epoch.Seconds;
    }
  }
  return false;
}

std::string TReplayIndex::PositionText(size_t epoch, bool withDate) const {
  if (epoch >= Entries.size()) return "--:--:--";
  std::string text;
  // The latest date known at or before the epoch: an RMC may come late.
  if (withDate) {
    for (size_t i = epoch + 1; i-- > 0;) {
      if (Entries[i].Date < 0) continue;
      char date[48];
      const int32_t d = Entries[i].Date;
      std::snprintf(date, sizeof date, "%02d/%02d/%02d ", d / 10000, d / 100 % 100, d % 100);
      text = date;
      break;
    }
  }
  const float seconds = Entries[epoch].Seconds;
  if (seconds < 0) return text + "--:--:--";
  const int whole = static_cast<int>(seconds);
  char time[48];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", whole / 3600, whole / 60 % 60, whole % 60);
  return text + time;
}

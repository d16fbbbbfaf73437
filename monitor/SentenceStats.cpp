#include "monitor/SentenceStats.h"

#include <algorithm>
#include <charconv>

namespace {

constexpr uint64_t kWindowSeconds = 10;
// The window and the second that is sliding out of it.
constexpr uint64_t kBuckets = kWindowSeconds + 1;
static_assert(std::tuple_size_v<decltype(TSentenceStatsRow::Buckets)> == kBuckets);
// A tick older than the clock (a reading taken before the last count) is
// read as the clock itself, not as 49 days ahead.
constexpr uint32_t kTickHalfRange = 0x80000000u;

uint32_t Elapsed(uint32_t fromMs, uint32_t toMs) {
  const uint32_t elapsed = toMs - fromMs;
  return elapsed < kTickHalfRange ? elapsed : 0;
}

uint32_t BucketAt(const TSentenceStatsRow& row, uint64_t second) {
  if (second > row.NewestSecond || second + kBuckets <= row.NewestSecond) return 0;
  return row.Buckets[second % kBuckets];
}

std::string Fixed1(double value) {
  char text[32];
  return {text, std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1).ptr};
}

// A field quoted only when it holds a comma, a quote or a line end.
void AppendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(text);
    return;
  }
  out.push_back('"');
  for (const char ch : text) {
    if (ch == '"') out.push_back('"');
    out.push_back(ch);
  }
  out.push_back('"');
}

}  // namespace

std::string_view SentenceAddress(std::string_view line) {
  if (line.empty() || (line[0] != '$' && line[0] != '!')) return {};
  const std::string_view rest = line.substr(1);
  return rest.substr(0, std::min(rest.find_first_of(",*"), kMaxAddressLength));
}

TLineFault LineFault(std::string_view line, TSentenceResult decoded, bool skyRead) {
  if (line.empty() || (line[0] != '$' && line[0] != '!')) return TLineFault::None;
  // The decoder has checked a "$" sentence already; only an encapsulated "!"
  // one needs its checksum read here.
  const bool checksumHolds =
      line[0] == '$' ? decoded != TSentenceResult::BadChecksum : SentenceChecksumHolds(line);
  if (!checksumHolds) return TLineFault::BadChecksum;
  // The decoder reads the type at the same place whatever the talker; a
  // line too short to hold one ("$*") is no GSV.
  if (line[0] == '$' && line.size() > 3 && line.substr(3, 3) == "GSV")
    return skyRead ? TLineFault::None : TLineFault::Invalid;
  return decoded == TSentenceResult::Invalid ? TLineFault::Invalid : TLineFault::None;
}

TSentenceStats::TSentenceStats(size_t maxRows) : MaxRows(maxRows) {}

void TSentenceStats::Count(std::string_view line, TLineFault fault, uint32_t nowMs) {
  AdvanceClock(nowMs);
  SourceEnded = false;
  CountIn(RowFor(SentenceAddress(line)), line, fault, nowMs);
  CountIn(TotalRow, line, fault, nowMs);
}

void TSentenceStats::CountFrame(std::string_view address, std::string_view summary, size_t bytes,
                                uint32_t nowMs) {
  AdvanceClock(nowMs);
  SourceEnded = false;
  FrameBytes += bytes;
  CountIn(RowFor(address, true), summary, TLineFault::None, nowMs);
}

void TSentenceStats::Reset() {
  FrameRows = 0;
  FrameBytes = 0;
  AllRows.clear();
  IndexOf.clear();
  TotalRow = {};
  Dropped = 0;
  ClockStarted = false;
  SourceEnded = false;
  Seconds = 0;
  SecondStartMs = 0;
}

void TSentenceStats::AdvanceClock(uint32_t nowMs) {
  if (!ClockStarted) {
    ClockStarted = true;
    SecondStartMs = nowMs;
    return;
  }
  const uint32_t whole = Elapsed(SecondStartMs, nowMs) / 1000;
  Seconds += whole;
  SecondStartMs += whole * 1000;
}

void TSentenceStats::CountIn(TSentenceStatsRow& row, std::string_view line, TLineFault fault,
                             uint32_t nowMs) {
  ++row.Count;
  if (fault == TLineFault::BadChecksum) ++row.BadChecksum;
  if (fault == TLineFault::Invalid) ++row.Invalid;
  row.LastSeenMs = nowMs;
  row.LastLine.assign(line.substr(0, kLastLineLimit));
  if (Seconds != row.NewestSecond) {
    const uint64_t stale = std::min(Seconds - row.NewestSecond, kBuckets);
    for (uint64_t s = 1; s <= stale; ++s) row.Buckets[(row.NewestSecond + s) % kBuckets] = 0;
    row.NewestSecond = Seconds;
  }
  ++row.Buckets[Seconds % kBuckets];
}

TSentenceStatsRow& TSentenceStats::RowFor(std::string_view address, bool frame) {
  const auto found = IndexOf.find(address);
  if (found != IndexOf.end()) return AllRows[found->second];
  if (!frame && AllRows.size() - FrameRows >= MaxRows && !address.empty()) return RowFor({});
  if (frame) ++FrameRows;
  IndexOf.emplace(std::string(address), AllRows.size());
  TSentenceStatsRow& row = AllRows.emplace_back();
  row.Address = address;
  row.NewestSecond = Seconds;
  return row;
}

std::vector<const TSentenceStatsRow*> TSentenceStats::SortedRows() const {
  std::vector<const TSentenceStatsRow*> sorted;
  sorted.reserve(AllRows.size());
  for (const TSentenceStatsRow& row : AllRows) sorted.push_back(&row);
  // std::string compares as unsigned bytes, so the order is byte by byte.
  std::sort(sorted.begin(), sorted.end(),
            [](const auto* a, const auto* b) { return a->Address < b->Address; });
  return sorted;
}

// The last ten whole seconds, the oldest weighted by the part of it still
// inside the window, so a steady rate reads steady between second marks.
// Before ten seconds have passed, the window is the time since the start.
double TSentenceStats::LinesPerSecond(const TSentenceStatsRow& row, uint32_t nowMs) const {
  if (!ClockStarted || SourceEnded || row.Count == 0) return 0;
  const uint32_t intoSecond = Elapsed(SecondStartMs, nowMs);
  const uint64_t nowSecond = Seconds + intoSecond / 1000;
  const uint32_t fraction = intoSecond % 1000;
  double lines = 0;
  for (uint64_t back = 0; back < kWindowSeconds && back <= nowSecond; ++back) {
    lines += BucketAt(row, nowSecond - back);
  }
  if (nowSecond >= kWindowSeconds) {
    lines += BucketAt(row, nowSecond - kWindowSeconds) * (1000 - fraction) / 1000.0;
    return lines / kWindowSeconds;
  }
  const double windowSeconds = static_cast<double>(nowSecond) + fraction / 1000.0;
  return lines / std::max(windowSeconds, 1.0);
}

double TSentenceStats::BadChecksumPercent(const TSentenceStatsRow& row) {
  return row.Count == 0 ? 0 : 100.0 * static_cast<double>(row.BadChecksum) / row.Count;
}

TStatsTableRow TSentenceStats::TableRow(std::string_view name, const TSentenceStatsRow& row,
                                        uint32_t nowMs) const {
  TStatsTableRow line;
  line.Cells = {std::string(name),
                std::to_string(row.Count),
                Fixed1(LinesPerSecond(row, nowMs)),
                std::to_string(row.BadChecksum),
                Fixed1(BadChecksumPercent(row)),
                std::to_string(row.Invalid),
                row.Count > 0 ? Fixed1(MsSinceLastSeen(row, nowMs) / 1000.0) : std::string()};
  line.LastLine = row.LastLine;
  return line;
}

std::vector<TStatsTableRow> TSentenceStats::Table(uint32_t nowMs) const {
  std::vector<TStatsTableRow> table;
  table.reserve(AllRows.size() + 1);
  for (const TSentenceStatsRow* row : SortedRows()) {
    table.push_back(TableRow(row->Address.empty() ? kNotASentence : row->Address, *row, nowMs));
  }
  table.push_back(TableRow("Total", TotalRow, nowMs));
  return table;
}

std::string TSentenceStats::Csv(uint32_t nowMs) const {
  std::string csv;
  const auto appendLine = [&csv](const auto& fields) {
    for (const auto& field : fields) {
      if (&field != &fields[0]) csv += ',';
      AppendCsvField(csv, field);
    }
    csv += '\n';
  };
  appendLine(kStatsColumns);
  for (const TStatsTableRow& row : Table(nowMs)) appendLine(row.Cells);
  return csv;
}

// The replay index on whole files: where epochs begin, as the sky model
// begins them, for every way a log ends its lines; and how a position reads.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/Routines.h"
#include "history/ReplayIndex.h"

namespace {

const std::string kGga1 = FrameSentence("GPGGA,120000.00,6010.1,N,02456.7,E,1,08,0.9,25.0,M,,M,,");
const std::string kGga2 = FrameSentence("GPGGA,120001.00,6010.1,N,02456.7,E,1,08,0.9,25.0,M,,M,,");
const std::string kRmc2 = FrameSentence("GPRMC,120001.00,A,6010.1,N,02456.7,E,0.0,0.0,311226,,,A");
const std::string kGsv = FrameSentence("GPGSV,1,1,01,07,45,120,40");

struct TCase {
  const char* Legend;
  std::string Bytes;
  std::vector<uint64_t> Offsets;  // where each epoch begins
};

std::vector<uint64_t> OffsetsOf(const std::string& bytes) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "tolvane-replay-index.TXT").string();
  std::ofstream(path, std::ios::binary) << bytes;
  const std::optional<TReplayIndex> index = TReplayIndex::Build(path);
  std::filesystem::remove(path);
  std::vector<uint64_t> offsets;
  for (const TIndexedEpoch& epoch : index->Epochs()) offsets.push_back(epoch.Offset);
  return offsets;
}

TEST(ReplayIndex, EpochsBeginWhereTheTimeTextChanges) {
  const uint64_t a = kGga1.size();
  const uint64_t g = kGsv.size();
  const TCase cases[] = {
      {"CR LF lines", kGsv + "\r\n" + kGga1 + "\r\n" + kGga2 + "\r\n", {g + 2, g + 2 + a + 2}},
      {"LF alone", kGga1 + "\n" + kGga2 + "\n", {0, a + 1}},
      {"CR alone", kGga1 + "\r" + kGga2 + "\r", {0, a + 1}},
      {"the same time again is the same epoch",
       kGga1 + "\r\n" + kGga1 + "\r\n" + kGga2 + "\r\n",
       {0, 2 * (a + 2)}},
      {"an RMC of the same time stays in its epoch",
       kGga2 + "\r\n" + kRmc2 + "\r\n" + kGga1 + "\r\n",
       {0, a + 2 + kRmc2.size() + 2}},
      {"a bad checksum marks nothing",
       kGga1 + "\r\n" + kGga2.substr(0, kGga2.size() - 1) + "0\r\n",
       {0}},
      {"a TAG block before the sentence", kGga1 + "\r\n\\s:r1*0A\\" + kGga2 + "\r\n", {0, a + 2}},
      {"character 26 ends the file", kGga1 + "\r\n\x1a" + kGga2 + "\r\n", {0}},
      {"a last line without its end", kGga1 + "\r\n" + kGga2, {0, a + 2}},
      {"no time sentence at all", kGsv + "\r\n", {}},
      {"an empty file", "", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Legend);
    EXPECT_EQ(OffsetsOf(c.Bytes), c.Offsets);
  }
}

TEST(ReplayIndex, AFileThatCannotBeReadGivesAnEmptyIndex) {
  const std::optional<TReplayIndex> index = TReplayIndex::Build("/nonexistent/log.TXT");
  ASSERT_TRUE(index);
  EXPECT_EQ(index->Size(), 0u);
  EXPECT_EQ(index->PositionText(0, false), "--:--:--");
}

struct TPositionCase {
  const char* Legend;
  std::vector<std::string> Lines;
  size_t Epoch;
  bool SpansDays;
  const char* Text;  // as the bar shows it, with dates where the log spans days
};

TEST(ReplayIndex, PositionsReadAsTimesWithDatesWhereTheLogSpansDays) {
  const TPositionCase cases[] = {
      {"one day: the time alone", {kGga1, kGga2}, 1, false, "12:00:01"},
      {"midnight without dates: times go back",
       {FrameSentence("GPGGA,235959,,,,,0,00,,,,,,,"),
        FrameSentence("GPGGA,000000,,,,,0,00,,,,,,,")},
       1,
       true,
       "00:00:00"},
      {"a date from the epoch's RMC",
       {kGga1, kGga2, kRmc2, FrameSentence("GPRMC,000000,A,,,,,,,010127,,,A")},
       1,
       true,
       "31/12/26 12:00:01"},
      {"an epoch without its own RMC takes the date before it",
       {kRmc2, FrameSentence("GPRMC,000000,A,,,,,,,010127,,,A"),
        FrameSentence("GPGGA,000001,,,,,0,00,,,,,,,")},
       2,
       true,
       "01/01/27 00:00:01"},
  };
  for (const TPositionCase& c : cases) {
    SCOPED_TRACE(c.Legend);
    TReplayIndex index;
    uint64_t offset = 0;
    for (const std::string& line : c.Lines) {
      index.TakeLine(line, offset);
      offset += line.size() + 2;
    }
    EXPECT_EQ(index.SpansDays(), c.SpansDays);
    EXPECT_EQ(index.PositionText(c.Epoch, c.SpansDays), c.Text);
  }
}

}  // namespace

// tolvane-decode --stats on a small log made for it: talkers, an AIS
// sentence, a line that is no sentence, a failed checksum, an invalid
// sentence, an empty line, CR LF, LF and CR endings, no ending at the end.

#include <gtest/gtest.h>

#include "source/FrameBuilder.h"
#include "tests/tools/DecodeRun.h"

namespace {

const QString kStatsLog = TOLVANE_SOURCE_DIR "/tests/tools/data/stats.log";

QByteArray RunStats(const QStringList& files, const QByteArray& input = {}) {
  const TRunResult result = RunDecode(QStringList{"--stats"} + files, input);
  EXPECT_EQ(result.ExitCode, 0) << result.Err.toStdString();
  return result.Out;
}

TEST(DecodeStats, RowsPerAddressSortedWithTheTotal) {
  EXPECT_EQ(RunStats({kStatsLog}).toStdString(),
            "{\"rows\":["
            // a line that is no sentence is no bad checksum either
            "{\"address\":\"\",\"count\":1,\"badChecksum\":0,\"invalid\":0},"
            // AIS holds its checksum, after the "!"
            "{\"address\":\"AIVDM\",\"count\":1,\"badChecksum\":0,\"invalid\":0},"
            "{\"address\":\"GNRMC\",\"count\":1,\"badChecksum\":0,\"invalid\":0},"
            "{\"address\":\"GPGGA\",\"count\":4,\"badChecksum\":1,\"invalid\":1},"
            "{\"address\":\"PGRME\",\"count\":1,\"badChecksum\":0,\"invalid\":0}],"
            "\"total\":{\"count\":8,\"badChecksum\":1,\"invalid\":1},\"binaryBytes\":0}\n");
}

TEST(DecodeStats, EdgeInputs) {
  struct TRow {
    const char* Legend;
    QByteArray Input;
    const char* Expected;
  };
  const TRow rows[] = {
      {"nothing at all", "",
       "{\"rows\":[],\"total\":{\"count\":0,\"badChecksum\":0,\"invalid\":0},\"binaryBytes\":0}\n"},
      {"empty lines count nowhere", "\r\n\n\r",
       "{\"rows\":[],\"total\":{\"count\":0,\"badChecksum\":0,\"invalid\":0},\"binaryBytes\":0}\n"},
      {"8-bit bytes in an address are escaped", "$G\xb0\"\n",
       "{\"rows\":[{\"address\":\"G\\u00B0\\\"\",\"count\":1,\"badChecksum\":1,\"invalid\":0}],"
       "\"total\":{\"count\":1,\"badChecksum\":1,\"invalid\":0},\"binaryBytes\":0}\n"},
      {"a frame has a row outside the total", QByteArray::fromStdString(UbxFrame(1, 7, "\n$\r\n")),
       "{\"rows\":[{\"address\":\"UBX NAV-PVT\",\"count\":1,\"badChecksum\":0,\"invalid\":0}],"
       "\"total\":{\"count\":0,\"badChecksum\":0,\"invalid\":0},\"binaryBytes\":12}\n"},
  };
  for (const TRow& row : rows) {
    EXPECT_EQ(RunStats({}, row.Input).toStdString(), row.Expected) << row.Legend;
  }
}

// Random bytes make a new address of almost every line: the rows stay as
// few as the window's, and an address as short as a real one could be.
TEST(DecodeStats, AddressesAreBounded) {
  QByteArray many;
  for (int n = 0; n <= 1000; ++n)
    many += "$X" + QByteArray::number(n).rightJustified(4, '0') + "\n";
  const struct {
    const char* Legend;
    QByteArray Input;
    const char* Present;
    const char* Absent;
  } rows[] = {
      {"an address keeps 16 characters", "$ABCDEFGHIJKLMNOPQRST,1*00\n",
       "{\"address\":\"ABCDEFGHIJKLMNOP\",\"count\":1,", "ABCDEFGHIJKLMNOPQ"},
      {"the 1,001st address counts as not a sentence", many, "{\"address\":\"\",\"count\":1,",
       "X1000"},
  };
  for (const auto& row : rows) {
    const std::string out = RunStats({}, row.Input).toStdString();
    EXPECT_NE(out.find(row.Present), std::string::npos) << row.Legend << ": " << out;
    EXPECT_EQ(out.find(row.Absent), std::string::npos) << row.Legend;
  }
  EXPECT_NE(RunStats({}, many).indexOf("X0999"), -1) << "the first thousand keep their rows";
}

// Files add up: the counts of two runs of one log are twice its counts.
TEST(DecodeStats, CountsRunOnAcrossFiles) {
  const QByteArray twice = RunStats({kStatsLog, kStatsLog});
  EXPECT_NE(twice.indexOf("\"total\":{\"count\":16,\"badChecksum\":2,\"invalid\":2}"), -1)
      << twice.toStdString();
}

}  // namespace

// tolvane-decode as scripts use it: the built program run on a reviewed log
// of receiver output (every sentence type, every failure kind, several
// talkers, CR LF, LF and CR endings), and on inputs that stress its reading.
// The log's two-digit years (00 to 40) read the same from 1991 to 2050.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QTemporaryDir>
#include <string>

#include "source/FrameBuilder.h"
#include "tests/support/TextFiles.h"
#include "tests/tools/DecodeRun.h"

namespace {

QByteArray Frame(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

const QString kGoldenLog = TOLVANE_SOURCE_DIR "/tests/tools/data/golden.log";
const QString kGoldenExpected = TOLVANE_SOURCE_DIR "/tests/tools/data/golden.expected.jsonl";

TEST(DecodeTool, GoldenLog) {
  const QByteArray expected = ReadBytes(kGoldenExpected);
  struct TRow {
    const char* Legend;
    QStringList Args;
    QByteArray Input;
  };
  const TRow rows[] = {
      {"file argument", {kGoldenLog}, {}},
      {"standard input by default", {}, ReadBytes(kGoldenLog)},
      {"standard input as -", {"-"}, ReadBytes(kGoldenLog)},
  };
  for (const TRow& row : rows) {
    const TRunResult result = RunDecode(row.Args, row.Input);
    EXPECT_EQ(result.ExitCode, 0) << row.Legend;
    EXPECT_EQ(result.Out.toStdString(), expected.toStdString()) << row.Legend;
    EXPECT_TRUE(result.Err.isEmpty()) << row.Legend << ": " << result.Err.toStdString();
  }
}

TEST(DecodeTool, Summary) {
  const TRunResult result = RunDecode({"--summary", kGoldenLog});
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_EQ(result.Out.toStdString(),
            "{\"srBadChecksum\":5,\"srUnrecognised\":5,\"srInvalid\":18,\"srGGA\":3,\"srRMC\":7,"
            "\"srGSV\":5,\"srGSA\":5,\"srRME\":3,\"total\":51}\n");
}

// A file that cannot be opened is named, the run goes on with the next one,
// line numbers continue across files, and the exit status tells.
TEST(DecodeTool, MissingFileAmongOthers) {
  const QString missing = TOLVANE_BINARY_DIR "/no-such-capture.log";
  const TRunResult result = RunDecode({kGoldenLog, missing, kGoldenLog});
  EXPECT_EQ(result.ExitCode, 1);
  EXPECT_NE(result.Err.indexOf(missing.toUtf8()), -1) << result.Err.toStdString();
  const QList<QByteArray> lines = result.Out.trimmed().split('\n');
  const int perFile = static_cast<int>(ReadBytes(kGoldenExpected).count('\n'));
  ASSERT_EQ(lines.size(), 2 * perFile);
  // The golden log has 52 lines, the last without an ending.
  EXPECT_TRUE(lines.last().startsWith("{\"n\":104,")) << lines.last().toStdString();
}

// The arguments as Qt's parser reads them: help and version on standard
// output; a refusal on standard error, with the usage, and status 2.
TEST(DecodeTool, Arguments) {
  struct TRow {
    const char* Legend;
    QStringList Args;
    int ExitCode;
    const char* Out;
    const char* Err;
  };
  const TRow rows[] = {
      {"help", {"--help"}, 0, "Usage: tolvane-decode [options] [FILE ...]\n", ""},
      {"short help", {"-h"}, 0, "\n  --summary ", ""},
      {"version", {"--version"}, 0, "tolvane-decode " TOLVANE_VERSION "\n", ""},
      {"unknown option", {"--no-such-mode"}, 2, "", "Unknown option 'no-such-mode'."},
      {"two modes", {"--sky", "--stats"}, 2, "", "choose one of --sky and --stats"},
      {"the usage follows a refusal", {"-x"}, 2, "", "\nUsage: tolvane-decode "},
      {"after --, a file that looks like an option", {"--", "--summary"}, 1, "", "--summary"},
  };
  for (const TRow& row : rows) {
    const TRunResult result = RunDecode(row.Args);
    EXPECT_EQ(result.ExitCode, row.ExitCode) << row.Legend;
    EXPECT_TRUE(*row.Out ? result.Out.contains(row.Out) : result.Out.isEmpty()) << row.Legend;
    EXPECT_TRUE(*row.Err ? result.Err.contains(row.Err) : result.Err.isEmpty()) << row.Legend;
  }
}

// The reader takes input in blocks of 1 MiB; line ends and lines must come
// out the same wherever a block boundary falls.
TEST(DecodeTool, LinesAcrossReadBlocks) {
  constexpr int kBlock = 1 << 20;
  struct TRow {
    const char* Legend;
    QByteArray Input;
    QByteArray Expected;
  };
  const QByteArray bad = "{\"n\":1,\"code\":0,\"result\":\"srBadChecksum\"}\n";
  const TRow rows[] = {
      {"CR LF split by the block boundary", QByteArray(kBlock - 1, 'x') + "\r\n$*\n",
       bad + "{\"n\":2,\"code\":1,\"result\":\"srUnrecognised\"}\n"},
      {"a line longer than a block", QByteArray(kBlock + 10, 'x') + "\r\n\r\n$*",
       bad + "{\"n\":3,\"code\":1,\"result\":\"srUnrecognised\"}\n"},
      {"LF then CR is two endings", "$*\n\r$*",
       "{\"n\":1,\"code\":1,\"result\":\"srUnrecognised\"}\n"
       "{\"n\":3,\"code\":1,\"result\":\"srUnrecognised\"}\n"},
      {"NUL bytes are text", QByteArray("$\0*\0\n", 5),
       "{\"n\":1,\"code\":1,\"result\":\"srUnrecognised\"}\n"},
      {"a frame inside a line comes before it, numbered with the lines",
       "$*" + Frame(UbxFrame(0x01, 0x07, "\r\n$*\r\n")) + "\n$*\n",
       "{\"n\":1,\"frame\":\"UBX\",\"class\":1,\"id\":7,\"name\":\"NAV-PVT\",\"length\":6}\n"
       "{\"n\":2,\"code\":1,\"result\":\"srUnrecognised\"}\n"
       "{\"n\":3,\"code\":1,\"result\":\"srUnrecognised\"}\n"},
  };
  for (const TRow& row : rows) {
    const TRunResult result = RunDecode({}, row.Input);
    EXPECT_EQ(result.ExitCode, 0) << row.Legend;
    EXPECT_EQ(result.Out.toStdString(), row.Expected.toStdString()) << row.Legend;
  }
}

// A line is cut at 32,767 characters and the rest of it skipped, so that memory stays
// bounded whatever the input; the lines after it keep their numbers, and the
// cuts are counted on standard error.
TEST(DecodeTool, LongLinesAreCutAndCounted) {
  constexpr int kLimit = 32767;
  struct TRow {
    const char* Legend;
    QByteArray Input;
    int Lines;        // numbered lines in the output
    const char* Err;  // "": nothing said
  };
  const TRow rows[] = {
      {"exactly 32,767 characters is whole", QByteArray(kLimit, 'x') + "\n$*", 2, ""},
      {"one byte more is cut", QByteArray(kLimit + 1, 'x') + "\n$*", 2,
       "1 line longer than 32767 bytes was cut to that length"},
      {"cut across a read block, then again",
       QByteArray((1 << 20) + 5, 'x') + "\r\n" + QByteArray(kLimit * 2, 'x') + "\n$*", 3,
       "2 lines longer than 32767 bytes were cut to that length"},
      {"no line end at all", QByteArray(3 << 20, 'x'), 1,
       "1 line longer than 32767 bytes was cut to that length"},
  };
  for (const TRow& row : rows) {
    const TRunResult result = RunDecode({}, row.Input);
    EXPECT_EQ(result.ExitCode, 0) << row.Legend;
    EXPECT_EQ(result.Out.count('\n'), row.Lines) << row.Legend;
    EXPECT_TRUE(result.Out.contains(QByteArray("{\"n\":") + QByteArray::number(row.Lines) + ","))
        << row.Legend << ": " << result.Out.toStdString();
    EXPECT_EQ(result.Err.trimmed().toStdString(),
              *row.Err ? std::string("tolvane-decode: ") + row.Err : "")
        << row.Legend;
  }
}

// A multiplexer's TAG block in front of a sentence hides nothing from the tool.
TEST(DecodeTool, DecodesTheSentenceBehindATagBlock) {
  const TRunResult result = RunDecode({"--summary"},
                                      "\\s:r3669961,c:1700000000*7C\\"
                                      "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,"
                                      "M,,*47\r\n");
  EXPECT_TRUE(result.Out.contains("\"srGGA\":1")) << result.Out.toStdString();
}

}  // namespace

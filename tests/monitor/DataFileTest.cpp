#include "monitor/DataFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

class DataFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const {
    return Dir.path().toStdString() + "/" + name;
  }
  std::string WriteRaw(const std::string& name, const std::string& bytes) const {
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  static std::vector<std::string> ReplayAll(const std::string& path) {
    TDataFile file;
    file.openForReading(path);
    std::vector<std::string> lines;
    while (!file.atEnd()) lines.push_back(file.readLine());
    file.close();
    return lines;
  }

  QTemporaryDir Dir;
};

using TLines = std::vector<std::string>;

struct TReplayCase {
  const char* Legend;
  std::string Bytes;
  TLines Expected;
};

TEST_F(DataFileTest, ReplayFollowsTheLineRules) {
  // Two lines that fill the first read chunk but for its last byte.
  const std::string first(kLongestLine, 'x');
  const std::string second(64 * 1024 - 1 - kLongestLine - 2, 'y');
  const TReplayCase cases[] = {
      {"CR alone ends a line", "A\rB\r", {"A", "B"}},
      {"CR LF ends a line", "A\r\nB\r\n", {"A", "B"}},
      {"a lone LF is text", "A\nB\r\n", {"A\nB"}},
      {"LF before CR LF stays text", "A\n\r\n", {"A\n"}},
      {"CR CR LF leaves an empty line", "A\r\r\nB", {"A", "", "B"}},
      {"last line without terminator", "A\r\nB", {"A", "B"}},
      {"empty file has no lines", "", {}},
      {"a lone terminator is one empty line", "\r\n", {""}},
      {"char 26 ends the file",
       "A\r\n\x1a"
       "B\r\n",
       {"A"}},
      {"char 26 inside a line ends it",
       "A\x1a"
       "B",
       {"A"}},
      {"8-bit text passes unchanged", "\xb0\x7f\r\n", {"\xb0\x7f"}},
      {"CR LF split across a read chunk", first + "\r\n" + second + "\r\nB", {first, second, "B"}},
      {"line across two read chunks", second + "\r\nA\r" + first + "\r\n", {second, "A", first}},
  };
  for (const TReplayCase& c : cases) {
    std::string path = WriteRaw("replay.txt", c.Bytes);
    EXPECT_EQ(ReplayAll(path), c.Expected) << c.Legend;
  }
}

// Files from other tools end their lines in LF alone; without a CR in the
// first 64 KiB, a file is read that way (it used to replay as one line).
TEST_F(DataFileTest, ReplayOfAFileWithoutCrEndsLinesAtLf) {
  const std::string first(30000, 'y');
  const TReplayCase cases[] = {
      {"LF ends a line", "A\nB\n", {"A", "B"}},
      {"empty lines stay", "A\n\nB", {"A", "", "B"}},
      {"char 26 still ends the file",
       "A\nB\x1a"
       "C\n",
       {"A", "B"}},
      {"a CR after the first 64 KiB: CR LF ends a line too",
       first + "\n" + first + "\n" + first + "\r\nB\n",
       {first, first, first, "B"}},
      {"a CR in the first 64 KiB keeps the old rules", first + "\nA\r\n", {first + "\nA"}},
  };
  for (const TReplayCase& c : cases) {
    std::string path = WriteRaw("replay.txt", c.Bytes);
    EXPECT_EQ(ReplayAll(path), c.Expected) << c.Legend;
  }
}

// A line that never ends (a device, a binary file) used to grow without
// bound. Past 32,767 characters it is cut; the rest is skipped at most 1 MiB
// per call, each such call giving an empty line.
TEST_F(DataFileTest, ReplayCutsLinesLongerThan32767Characters) {
  const std::string full(kLongestLine, 'x');
  const TReplayCase cases[] = {
      {"exactly 32,767 characters is whole", "A\r" + full + "\rB", {"A", full, "B"}},
      {"one more character is skipped", "A\r" + full + "x\rB", {"A", full, "", "B"}},
      {"3 MiB more take three calls",
       "A\r" + full + std::string(3 << 20, 'x') + "\r\nB",
       {"A", full, "", "", "", "B"}},
      {"char 26 in the skipped part ends the file",
       "A\r" + full +
           "xx\x1a"
           "B\r",
       {"A", full, ""}},
      {"in a file without CR too", full + "x\nB\n", {full, "", "B"}},
  };
  for (const TReplayCase& c : cases) {
    std::string path = WriteRaw("replay.txt", c.Bytes);
    EXPECT_EQ(ReplayAll(path), c.Expected) << c.Legend;
  }
}

TEST_F(DataFileTest, ReplayOfAnEndlessDeviceGivesBoundedLines) {
  TDataFile file;
  file.openForReading("/dev/zero");
  EXPECT_EQ(file.readLine(), std::string(kLongestLine, '\0'));
  for (int call = 0; call < 3; ++call) {
    EXPECT_FALSE(file.atEnd());
    EXPECT_EQ(file.readLine(), "");
  }
  file.close();
}

TEST_F(DataFileTest, WrittenLinesEndInCrLfAndReadBack) {
  TLines lines = {"$GPGGA,1*00", "", "~123,$GPRMC", "\xb0 degrees"};
  for (int i = 0; i < 5000; ++i) lines.push_back("line " + std::to_string(i));
  std::string path = PathOf("log.txt");
  TDataFile file;
  file.openForWriting(path);
  for (const std::string& line : lines) file.writeLine(line);
  file.close();
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(ReadRaw(path).substr(0, 15), "$GPGGA,1*00\r\n\r\n");
  EXPECT_EQ(ReplayAll(path), lines);
}

TEST_F(DataFileTest, OpeningForWritingReplacesAnExistingFile) {
  std::string path = WriteRaw("old.txt", "old contents that are longer\r\n");
  TDataFile file;
  file.openForWriting(path);
  file.writeLine("new");
  file.close();
  EXPECT_EQ(ReadRaw(path), "new\r\n");
}

TEST_F(DataFileTest, BufferedLinesReachTheDiskWithinAboutASecond) {
  std::string path = PathOf("live.txt");
  TDataFile file;
  file.openForWriting(path);
  file.writeLine("first");
  QElapsedTimer waited;
  waited.start();
  while (ReadRaw(path).empty() && waited.elapsed() < 3000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(ReadRaw(path), "first\r\n");
  EXPECT_LT(waited.elapsed(), 1000);
  file.writeLine("second");  // the timer starts again for it
  waited.start();
  while (ReadRaw(path).size() < 15 && waited.elapsed() < 3000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(ReadRaw(path), "first\r\nsecond\r\n");
  EXPECT_LT(waited.elapsed(), 1000);
  file.close();
}

struct TOpenFailure {
  const char* Legend;
  bool ForWriting;
  std::string Name;
  int Code;
  const char* Text;
};

TEST_F(DataFileTest, FailingOpensRaiseTheirCode) {
  std::string regular = WriteRaw("regular.txt", "x");
  const TOpenFailure cases[] = {
      {"replay of a missing file", false, PathOf("missing.txt"), 2, "File not found"},
      {"log below a regular file", true, regular + "/log.txt", 3, "Invalid filename"},
      {"log name too long", true, PathOf(std::string(300, 'n')), 3, "Invalid filename"},
      {"log onto a folder", true, Dir.path().toStdString(), 5, "File access denied"},
      {"replay of a folder", false, Dir.path().toStdString(), 5, "File access denied"},
      {"log in a missing folder", true, PathOf("none/log.txt"), 2, "File not found"},
  };
  for (const TOpenFailure& c : cases) {
    TDataFile file;
    try {
      if (c.ForWriting)
        file.openForWriting(c.Name);
      else
        file.openForReading(c.Name);
      ADD_FAILURE() << c.Legend << ": no error";
    } catch (const EInOutError& error) {
      EXPECT_EQ(error.Code(), c.Code) << c.Legend;
      EXPECT_STREQ(error.what(), c.Text) << c.Legend;
    }
    EXPECT_FALSE(file.isOpen()) << c.Legend;
  }
}

TEST_F(DataFileTest, DiskFullIsRaisedOnCloseAndTheFileStillCloses) {
  TDataFile file;
  file.openForWriting("/dev/full");
  file.writeLine("lost for want of room");
  try {
    file.close();
    ADD_FAILURE() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Code(), 101);
    EXPECT_STREQ(error.what(), "Disk full");
  }
  EXPECT_FALSE(file.isOpen());
}

TEST_F(DataFileTest, DiskFullOnFlushKeepsTheLinesForTheNextAttempt) {
  TDataFile file;
  file.openForWriting("/dev/full");
  file.writeLine("kept");
  EXPECT_THROW(file.flush(), EInOutError);
  EXPECT_TRUE(file.isOpen());
  // Still there: the close tries again and fails again.
  EXPECT_THROW(file.close(), EInOutError);
}

TEST(InOutErrorText, EveryCodeHasItsText) {
  const std::pair<int, const char*> cases[] = {
      {2, "File not found"},
      {3, "Invalid filename"},
      {4, "Too many open files"},
      {5, "File access denied"},
      {100, "Read beyond end of file"},
      {101, "Disk full"},
      {106, "Invalid numeric input"},
      {32, "I/O error 32"},
  };
  for (const auto& [code, text] : cases) EXPECT_EQ(InOutErrorText(code), text) << code;
}

TEST(InOutErrorCode, SystemErrorsMapToTheirCodes) {
  const std::pair<int, int> cases[] = {
      // errno, code
      {ENOENT, 2},   {ENOTDIR, 3},  {EMFILE, 4},    {EACCES, 5}, {EROFS, 5},
      {ENOSPC, 101}, {EDQUOT, 101}, {EXDEV, EXDEV}, {EIO, 1005},  // not "File access denied"
      {EINTR, 1004},                                              // not "Too many open files"
  };
  for (const auto& [errnoValue, code] : cases)
    EXPECT_EQ(InOutErrorCode(errnoValue), code) << errnoValue;
}

}  // namespace

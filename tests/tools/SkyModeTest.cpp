// tolvane-decode --sky on a stream of several epochs written for it and
// reviewed by hand: satellites before the first epoch (time null), series per
// signal and one that mixes signals, a part missing, a bad checksum, GSA with
// and without system IDs, and an epoch without satellite sentences, which
// prints nothing.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TextFiles.h"
#include "tests/tools/DecodeRun.h"

namespace {

const QString kSkyLog = TOLVANE_SOURCE_DIR "/tests/tools/data/sky.log";
const QString kSkyExpected = TOLVANE_SOURCE_DIR "/tests/tools/data/sky.expected.jsonl";

std::string RunTool(const QStringList& args, const QByteArray& input = {}) {
  const TRunResult result = RunDecode(args, input);
  EXPECT_EQ(result.ExitCode, 0) << args.join(' ').toStdString();
  EXPECT_TRUE(result.Err.isEmpty());
  return result.Out.toStdString();
}

TEST(SkyMode, GoldenEpochs) {
  const std::string expected = ReadBytes(kSkyExpected).toStdString();
  EXPECT_EQ(RunTool({"--sky", kSkyLog}), expected);
  EXPECT_EQ(RunTool({"--sky"}, ReadBytes(kSkyLog)), expected) << "standard input";
}

TEST(SkyMode, EdgesOfTheInput) {
  struct TRow {
    const char* Legend;
    QByteArray Input;
    std::string Expected;
  };
  const TRow rows[] = {
      {"nothing in, nothing out", "", ""},
      {"time sentences only print nothing", "$GPGGA,000001,,*7B\r\n$GPGGA,000002,,*78\r\n", ""},
      {"one GSA without satellites in view: an epoch with none listed",
       "\r\n$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n", "{\"n\":2,\"time\":null,\"satellites\":[]}\n"},
      {"the time is written as sent, escaped for JSON",
       "$GPGGA,a\"b,,*5B\n$GPGSV,1,1,01,07,,,*7F\n",
       "{\"n\":2,\"time\":\"a\\\"b\",\"satellites\":[{\"system\":\"GPS\",\"sv\":7,\"signal\":0,"
       "\"el\":null,\"az\":null,\"snr\":null,\"used\":false}]}\n"},
      {"the last epoch ends on the last line, empty lines counted",
       "$GPGSA,A,1,,,,,,,,,,,,,,,*1E\r\n\r\n\r\n", "{\"n\":3,\"time\":null,\"satellites\":[]}\n"},
  };
  for (const TRow& row : rows) EXPECT_EQ(RunTool({"--sky"}, row.Input), row.Expected) << row.Legend;
}

TEST(SkyMode, ListedInTheUsage) {
  EXPECT_NE(RunTool({"--help"}).find("\n  --sky "), std::string::npos);
}

}  // namespace

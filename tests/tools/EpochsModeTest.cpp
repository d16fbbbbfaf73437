// tolvane-decode --epochs on a stream written for it and reviewed by hand:
// satellites before the first time (time null), GLONASS and Galileo GSA by
// system ID, Galileo on two signals, RTK float with the age of its
// corrections, a GGA with a bad checksum that must not count, a lost fix
// (quality 0: no position, the kept satellites without SNR drop out of the
// GPS mean), and a last epoch without RMC or GSA, ended by the input.

#include <gtest/gtest.h>

#include "tests/support/TextFiles.h"
#include "tests/tools/DecodeRun.h"

namespace {

TEST(EpochsMode, GoldenEpochs) {
  const TRunResult result =
      RunDecode({"--epochs", TOLVANE_SOURCE_DIR "/tests/tools/data/epochs.log"}, {});
  EXPECT_EQ(result.ExitCode, 0);
  EXPECT_TRUE(result.Err.isEmpty());
  EXPECT_EQ(result.Out, ReadBytes(TOLVANE_SOURCE_DIR "/tests/tools/data/epochs.expected.jsonl"));
}

}  // namespace

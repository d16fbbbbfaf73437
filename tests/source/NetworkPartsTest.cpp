// The small parts behind network sources: the wait between tries, gpsd's
// request and the filter that keeps its JSON out, and the receive buffer's
// count of what it lets go.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Routines.h"
#include "source/FrameBuilder.h"
#include "source/GpsdLines.h"
#include "source/LineBuffer.h"
#include "source/RetryDelay.h"

namespace {

TEST(RetryDelay, DoublesUpToHalfAMinuteAndStartsAgainAfterASuccess) {
  TRetryDelay delay;
  std::vector<int> waits;
  for (int i = 0; i < 8; ++i) waits.push_back(delay.Next());
  EXPECT_EQ(waits, (std::vector<int>{1, 2, 4, 8, 16, 30, 30, 30}));
  delay.Reset();
  EXPECT_EQ(delay.Next(), 1);
  EXPECT_EQ(delay.Next(), 2);
}

TEST(GpsdLines, WatchRequest) {
  const std::pair<const char*, const char*> rows[] = {
      {"", "?WATCH={\"enable\":true,\"nmea\":true}\n"},
      {"/dev/ttyUSB0", "?WATCH={\"enable\":true,\"nmea\":true,\"device\":\"/dev/ttyUSB0\"}\n"},
      {"/dev/a\"b\\c", "?WATCH={\"enable\":true,\"nmea\":true,\"device\":\"/dev/a\\\"b\\\\c\"}\n"},
  };
  for (const auto& [device, request] : rows) EXPECT_EQ(GpsdWatchRequest(device), request) << device;
}

TEST(GpsdLines, FilterKeepsOnlyTheRelayedSentences) {
  struct TRow {
    const char* Legend;
    std::vector<std::string> Pieces;  // as they arrive
    std::string Kept;
  };
  const TRow rows[] = {
      {"JSON between sentences",
       {"{\"class\":\"VERSION\"}\r\n$GPGGA,1*00\r\n{\"class\":\"TPV\"}\r\n$GPRMC*00\r\n"},
       "$GPGGA,1*00\r\n$GPRMC*00\r\n"},
      {"report split after its brace", {"{", "\"class\":\"SKY\"}\r", "\n$A*00\r\n"}, "$A*00\r\n"},
      {"sentence split at its start", {"{\"x\":1}\r\n", "$", "B*00\r\n"}, "$B*00\r\n"},
      {"a brace inside a sentence stays", {"$C,{*00\r\n"}, "$C,{*00\r\n"},
      {"LF-only JSON line ends", {"{\"a\":1}\n$D*00\r\n"}, "$D*00\r\n"},
      {"only JSON", {"{\"class\":\"WATCH\"}\r\n", "{\"class\":\"DEVICES\"}\r\n"}, ""},
  };
  for (const TRow& row : rows) {
    TGpsdLineFilter filter;
    std::string kept;
    for (std::string piece : row.Pieces) {
      const size_t count = filter.Filter(piece.data(), piece.size());
      kept.append(piece.data(), count);
    }
    EXPECT_EQ(kept, row.Kept) << row.Legend;
  }
}

TEST(LineBuffer, CountsWhatItLetsGo) {
  const size_t kCap = TLineBuffer::kMaxWithoutLine;
  const size_t kKept = TLineBuffer::kKeptAfterLine;
  struct TRow {
    const char* Legend;
    std::vector<std::string> Appended;  // each followed by a TakeLine
    uint64_t Dropped;
  };
  const TRow rows[] = {
      {"lines taken as they come", {"$A*00\r\n", "$B*00\r\n"}, 0},
      {"no CR, just at the bound", {std::string(kCap, 'x')}, 0},
      {"no CR, past the bound: the oldest go", {std::string(kCap, 'x'), "12345"}, 5},
      {"one big read without CR", {std::string(kCap + 100, 'x')}, 100},
      {"a CR in the read that overflows: the line keeps its first 32,767",
       {std::string(kCap, 'x'), "yyyy\r\n"},
       4 + kCap - kLongestLine},
      {"a line of 38,160 and a CR: the rest of it",
       {std::string(38160, 'x') + "\r"},
       38160 - kLongestLine},
      {"more than 32,767 behind a line", {"$A\r" + std::string(kKept + 10, 'y')}, 10},
  };
  for (const TRow& row : rows) {
    TLineBuffer buffer;
    for (const std::string& bytes : row.Appended) {
      buffer.Append(bytes);
      buffer.TakeLine();
    }
    EXPECT_EQ(buffer.DroppedBytes(), row.Dropped) << row.Legend;
    EXPECT_LE(buffer.Size(), kCap) << row.Legend;
  }
}

// Frames beside the sentences leave the sentences as they were, wherever
// they sit and however the bytes come, and come out among them in their
// place (one inside a line before it); a corrupted frame costs one line.
TEST(LineBuffer, TakesFramesOutOfTheText) {
  const std::string pvt =
      UbxFrame(0x01, 0x07, std::string("\r\n$GPGGA,\r") + std::string(80, '\0'));
  const std::string rtcm = Rtcm3Frame(std::string("\x43\x50\r\n$!", 6) + std::string(20, 'x'));
  std::string broken = pvt;
  broken[10] ^= 1;
  struct TRow {
    const char* Legend;
    std::string Stream;
    std::vector<std::string> Lines;  // the sentences that come out whole, "F" a frame
    uint64_t Frames;
  };
  const TRow rows[] = {
      {"between lines and right after CR LF",
       "$A*00\r\n" + pvt + rtcm + "$B*00\r\n",
       {"$A*00", "F", "F", "$B*00"},
       2},
      {"inside a line", "$A*" + pvt + "00\r\n", {"F", "$A*00"}, 1},
      {"a corrupted frame stays text: its line is lost",
       "$A*00\r\n" + broken + "$B*00\r\n$C*00\r\n",
       {"$A*00", "$C*00"},
       0},
  };
  for (const TRow& row : rows) {
    for (size_t piece : {row.Stream.size(), size_t{1}}) {
      TLineBuffer buffer;
      std::vector<std::string> lines;
      for (size_t at = 0; at < row.Stream.size(); at += piece) {
        buffer.Append(std::string_view(row.Stream).substr(at, piece));
        while (buffer.HasLine()) {
          std::string line = buffer.TakeLine();
          if (IsFrameLine(line)) lines.emplace_back("F");
          if (line.size() == 5 && line.starts_with('$')) lines.push_back(std::move(line));
        }
      }
      EXPECT_EQ(lines, row.Lines) << row.Legend << ", pieces of " << piece;
      EXPECT_EQ(buffer.Frames(), row.Frames) << row.Legend;
    }
  }
}

}  // namespace

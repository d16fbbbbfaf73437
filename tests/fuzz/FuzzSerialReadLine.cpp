// libFuzzer target: the receive path's line assembly. The fuzzer's bytes
// arrive at a scripted serial device in pieces of sizes it also chooses,
// with a ReadLine after each piece as an arrival would; the lines that
// come out are the CR-separated lines of the whole stream with everything
// unprintable dropped, however the stream was cut. Past the buffer's bounds
// (64 KiB without a CR, 32 KiB left after a line) bytes may be let go: then
// they are counted, and no line comes out longer than the bound allows. A
// stream where a binary frame may start gives fewer lines, never more.
//
// Input: one byte of piece-size seed, then the stream, whose long runs are
// written as FuzzRuns.h says.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QTemporaryDir>

#include "common/Frame.h"
#include "common/Routines.h"
#include "source/LineBuffer.h"
#include "source/PortSlot.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzRuns.h"
#include "tests/support/ScriptedSerialDevice.h"

namespace {

// The receive loop lets empty lines go (a line may be empty once its
// unprintable bytes are dropped), so only the lines with text are compared.
std::vector<std::string> ExpectedLines(std::string_view stream) {
  std::vector<std::string> lines;
  size_t cr;
  while ((cr = stream.find('\r')) != std::string_view::npos) {
    std::string line = KeepPrintable(stream.substr(0, cr));
    if (!line.empty()) lines.push_back(std::move(line));
    stream.remove_prefix(cr + 1);
  }
  return lines;
}

struct TPort {
  std::shared_ptr<TSerialScript> Script = std::make_shared<TSerialScript>();
  TPortSlot Serial{[] { return 0; }, TScriptedSerialDevice::Factory(Script)};
};

TPort& Port() {
  // Opening reads the baud rate from the settings: keep the user's own out.
  static QTemporaryDir home;
  static const bool homeSet = setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().data(), 1) == 0;
  Check(homeSet);
  static TPort port;
  return port;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TPort& port = Port();
  // Opening again discards what the last input left behind.
  port.Serial.Close();
  port.Serial.Open();
  uint32_t seed = data[0];
  const std::string stream = ExpandRuns({reinterpret_cast<const char*>(data + 1), size - 1});
  const uint64_t droppedBefore = port.Serial.DroppedBytes();
  // Pieces of up to 64 bytes, or 4 KiB in a long stream, as a fast link
  // delivers them.
  const size_t largestPiece = stream.size() > 8192 ? 4096 : 64;

  std::vector<std::string> lines;
  auto take = [&] {
    std::optional<std::string> line = port.Serial.ReadLine();
    if (line && !line->empty() && !IsFrameLine(*line)) lines.push_back(std::move(*line));
    return line.has_value();
  };
  size_t pos = 0;
  while (pos < stream.size()) {
    // A small generator picks the piece sizes.
    seed = seed * 1103515245u + 12345u;
    const size_t piece = 1 + (seed >> 16) % largestPiece;
    port.Script->Incoming += std::string_view(stream).substr(pos, piece);
    pos += piece;
    take();
  }
  // Then the loop keeps reading until nothing is left to take: one line per
  // call, and every call takes what has arrived.
  for (size_t n = 0; n <= stream.size(); ++n)
    if (!take() && port.Script->Incoming.empty()) break;
  Check(port.Script->Incoming.empty());
  const std::vector<std::string> expected = ExpectedLines(stream);
  // Where a UBX or RTCM 3 frame may start, its bytes are taken out, or held
  // back with the text behind them until its declared length has come: the
  // lines are then fewer, never more.
  const bool framesPossible =
      stream.find_first_of(std::string_view("\xB5\xD3", 2)) != std::string::npos;
  const bool dropped = port.Serial.DroppedBytes() != droppedBefore;
  if (!dropped && !framesPossible) {
    Check(lines == expected);
    return 0;
  }
  if (dropped) Check(stream.size() > TLineBuffer::kKeptAfterLine);
  Check(lines.size() <= expected.size());
  for (const std::string& line : lines)
    Check(line.size() <= TLineBuffer::kMaxWithoutLine + largestPiece);
  return 0;
}

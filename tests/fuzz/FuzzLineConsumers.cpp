// libFuzzer target: any bytes as a receiver log, through everything that
// takes a received line. tolvane-decode's splitter cuts the lines; each goes
// to the receiver state (decoder, statistics, sky model, epoch recorder and
// fix display), to the replay index, and to every mode of tolvane-decode
// with the one decoder of the run, as the tool runs them. None may throw or
// read past a line (the sanitizers watch); the index keeps its epochs in
// file order, and every epoch it names can be told.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "history/ReplayIndex.h"
#include "monitor/ReceiverState.h"
#include "nmea/NMEA.h"
#include "nmea/TagBlock.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tools/decode/LineReader.h"
#include "tools/decode/Mode.h"
#include "tools/decode/Output.h"

namespace {

std::FILE* Discard() {
  static std::FILE* const file = std::fopen("/dev/null", "wb");
  return file;
}

struct TRun {
  explicit TRun(decode::TOutput& output) {
    decode::TModeArguments arguments;
    arguments.Reference = TGeodetic{48.1173, 11.5167, 545.4};
    for (const decode::TModeEntry& entry : decode::RegisteredModes())
      Modes.push_back(entry.CreateWith ? entry.CreateWith(output, arguments)
                                       : entry.Create(output));
  }

  void Line(std::string_view text, uint64_t offset) {
    ++Number;
    Index.TakeLine(text, offset);
    Check(Index.Size() < 2 ||
          Index.Epochs()[Index.Size() - 2].Offset <= Index.Epochs().back().Offset);
    State.Absorb(text, static_cast<uint32_t>(Number * 100));
    if (text.empty()) return;
    const std::string_view sentence = StripTagBlock(text);
    const TSentenceResult result = Decoder.Decode(sentence);
    for (const auto& mode : Modes) mode->Line(Number, sentence, result, Decoder);
  }

  void Finish() {
    State.Recorder.Finish(State.Lines);
    for (const auto& mode : Modes) {
      mode->Report(Number);
      mode->Finish(Number);
    }
    for (size_t epoch = 0; epoch < Index.Size(); ++epoch)
      Check(!Index.PositionText(epoch, Index.SpansDays()).empty());
  }

  TReceiverState State;
  TReplayIndex Index;
  TNMEA Decoder;
  std::vector<std::unique_ptr<decode::TDecodeMode>> Modes;
  uint64_t Number = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decode::TOutput output(Discard());
  TRun run(output);
  uint64_t offset = 0;
  const decode::TLineSink onLine = [&run, &offset](std::string_view line) {
    run.Line(line, offset);
    offset += line.size() + 1;
  };
  decode::TLineSplitter splitter(onLine);
  // In two blocks, so that a line (or a CR LF) may span them.
  splitter.Feed(bytes.substr(0, size / 2));
  splitter.Feed(bytes.substr(size / 2));
  splitter.Finish();
  run.Finish();
  output.Flush();
  return 0;
}

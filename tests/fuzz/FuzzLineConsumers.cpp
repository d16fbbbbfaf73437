// libFuzzer target: any bytes as a receiver log, through everything that
// takes a received line or frame. The frame splitter takes out the frames,
// each of which is named as the window, the statistics and tolvane-decode
// name it, and read by the receiver state (the input itself also goes to
// the UBX and RTCM 3 decoders as a payload); tolvane-decode's splitter cuts
// the rest into lines; each goes to the receiver state (decoder, statistics,
// sky model, epoch recorder and fix display), to the replay index, and to
// every mode of tolvane-decode with the one decoder of the run, as the tool
// runs them. None may throw or read past a line (the sanitizers watch); the
// index keeps its epochs in file order, and every epoch it names can be told.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ReplayIndex.h"
#include "monitor/ReceiverState.h"
#include "nmea/FrameNames.h"
#include "nmea/NMEA.h"
#include "nmea/TagBlock.h"
#include "source/FrameBuilder.h"
#include "source/FrameSplitter.h"
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

  // A frame is named as everywhere it is shown, and the receiver state takes
  // what the receiver says in it.
  void Frame(const TFrame& frame) {
    Check(frame.Payload().size() == frame.Length);
    const std::string summary = FrameSummary(frame);
    Check(summary.starts_with("[" + FrameAddress(frame)));
    std::string json;
    TJsonStringSink sink(json);
    TJsonWriter writer(sink, TJsonText::Bytes);
    writer.BeginObject();
    WriteFrameMembers(writer, frame);
    writer.EndObject();
    State.AbsorbFrame(frame, summary, static_cast<uint32_t>(Number * 100));
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
  TFrameSplitter frames;
  const TFrameSplitter::TTextSink onText = [&splitter](std::string_view text) {
    splitter.Feed(text);
  };
  const TFrameSplitter::TFrameSink onFrame = [&run](const TFrame& frame) { run.Frame(frame); };
  // In two blocks, so that a line (or a CR LF, or a frame) may span them.
  frames.Feed(bytes.substr(0, size / 2), onText, onFrame);
  frames.Feed(bytes.substr(size / 2), onText, onFrame);
  frames.Finish(onText, onFrame);
  splitter.Finish();
  // A checksum lets few mutated frames through: the decoders also take the
  // input itself as the payload of each message they read.
  const std::string_view payload = bytes.substr(0, kRtcm3MaxPayload);
  for (const std::string& wrapped :
       {UbxFrame(0x01, 0x07, payload), UbxFrame(0x0A, 0x38, payload), Rtcm3Frame(payload)}) {
    if (const std::optional<TFrame> frame = FrameOf(wrapped)) run.Frame(*frame);
  }
  run.Finish();
  output.Flush();
  return 0;
}

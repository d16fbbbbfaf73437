// The frame splitter on a receiver's stream: frames alone (UBX of a NAV-PVT's
// size and of a RAWX's, RTCM 3 MSM7), whole in one block as tolvane-decode
// reads a file and in 64-byte reads as a serial port delivers them; NMEA
// text without a sync byte; and a u-blox receiver's cycle of both. Each
// reports the time per byte of input.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "source/FrameBuilder.h"
#include "source/FrameSplitter.h"

namespace {

std::string RandomPayload(size_t size, std::mt19937& rng) {
  std::string payload(size, '\0');
  for (char& ch : payload) ch = static_cast<char>(rng());
  return payload;
}

// About a megabyte of back-to-back frames of one size.
std::string FrameStream(bool ubx, size_t payloadSize) {
  std::mt19937 rng(7);
  std::string stream;
  while (stream.size() < (size_t{1} << 20)) {
    const std::string payload = RandomPayload(payloadSize, rng);
    stream += ubx ? UbxFrame(0x02, 0x15, payload) : Rtcm3Frame(payload);
  }
  return stream;
}

const char kCycleText[] =
    "$GNRMC,223745.00,A,3806.62964,N,12237.61382,W,0.040,,110720,,,D,V*3F\r\n"
    "$GNGGA,223745.00,3806.62964,N,12237.61382,W,2,12,0.54,83.1,M,-29.5,M,,0000*4A\r\n"
    "$GNGSA,A,3,29,20,18,16,51,13,44,26,,,,,0.99,0.54,0.83,1*0A\r\n"
    "$GPGSV,3,1,11,05,01,047,,10,29,224,,13,22,062,23,15,40,094,,1*6A\r\n"
    "$GPGSV,3,2,11,16,25,306,30,18,68,358,39,20,63,235,37,21,35,292,,1*69\r\n"
    "$GPGSV,3,3,11,26,37,173,32,27,08,034,,29,64,088,42,,,,*7E\r\n";

std::string TextStream() {
  std::string stream;
  while (stream.size() < (size_t{1} << 20)) stream += kCycleText;
  return stream;
}

std::string CycleStream() {
  std::mt19937 rng(3);
  std::string stream;
  while (stream.size() < (size_t{1} << 20)) {
    stream += kCycleText;
    stream += UbxFrame(0x01, 0x07, RandomPayload(92, rng));
    stream += UbxFrame(0x02, 0x15, RandomPayload(16 + 32 * 24, rng));
    stream += Rtcm3Frame(RandomPayload(342, rng));
  }
  return stream;
}

void Split(benchmark::State& state, const std::string& stream, size_t readSize) {
  TFrameSplitter splitter;
  size_t text = 0;
  size_t frames = 0;
  const TFrameSplitter::TTextSink onText = [&text](std::string_view piece) {
    text += piece.size();
  };
  const TFrameSplitter::TFrameSink onFrame = [&frames](const TFrame& frame) {
    frames += frame.Bytes.size();
  };
  for (auto _ : state) {
    for (size_t at = 0; at < stream.size(); at += readSize)
      splitter.Feed(std::string_view(stream).substr(at, readSize), onText, onFrame);
    splitter.Finish(onText, onFrame);
    benchmark::DoNotOptimize(text);
    benchmark::DoNotOptimize(frames);
  }
  if (text + frames != stream.size() * state.iterations()) state.SkipWithError("bytes lost");
  state.counters["per byte"] =
      benchmark::Counter(double(stream.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                    benchmark::Counter::kInvert);
  state.counters["frame share"] = double(frames) / double(text + frames);
}

void UbxNavPvtFrames(benchmark::State& state) {
  static const std::string stream = FrameStream(true, 92);
  Split(state, stream, size_t(state.range(0)));
}
BENCHMARK(UbxNavPvtFrames)->Arg(1 << 20)->Arg(64);

void UbxRawxFrames(benchmark::State& state) {
  static const std::string stream = FrameStream(true, 16 + 32 * 24);
  Split(state, stream, size_t(state.range(0)));
}
BENCHMARK(UbxRawxFrames)->Arg(1 << 20)->Arg(64);

void Rtcm3Msm7Frames(benchmark::State& state) {
  static const std::string stream = FrameStream(false, 342);
  Split(state, stream, size_t(state.range(0)));
}
BENCHMARK(Rtcm3Msm7Frames)->Arg(1 << 20)->Arg(64);

void TextOnly(benchmark::State& state) {
  static const std::string stream = TextStream();
  Split(state, stream, size_t(state.range(0)));
}
BENCHMARK(TextOnly)->Arg(1 << 20)->Arg(64);

void ReceiverCycle(benchmark::State& state) {
  static const std::string stream = CycleStream();
  Split(state, stream, size_t(state.range(0)));
}
BENCHMARK(ReceiverCycle)->Arg(1 << 20)->Arg(64);

}  // namespace

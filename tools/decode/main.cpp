// tolvane-decode [MODE] [FILE ...]
// tolvane-decode [MODE] --follow SOURCE [--share [ADDR:]PORT] [--mqtt URL] [--quiet]
// Runs receiver logs through the program's decoder, for scripting, converting
// logs and checking the decoder against real captures; or follows a live
// receiver, sharing what it sends.

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "nmea/NMEA.h"
#include "nmea/TagBlock.h"
#include "tools/decode/DecodeOptions.h"
#include "tools/decode/Follow.h"
#include "tools/decode/LineReader.h"
#include "tools/decode/Mode.h"
#include "tools/decode/Output.h"

using namespace decode;

namespace {

// One decoder for the whole run: records carry over between lines and files.
struct TRun {
  TNMEA Decoder;
  TDecodeMode* Mode = nullptr;
  uint64_t LineNumber = 0;
  uint64_t CutLines = 0;

  // What the decoder made of the line; the mode, if any, takes it.
  TSentenceResult Line(std::string_view text) {
    ++LineNumber;
    if (text.empty()) return TSentenceResult::Unrecognised;
    // A TAG block in front is the multiplexer's, not the receiver's: the
    // sentence behind it is what gets decoded.
    const std::string_view sentence = StripTagBlock(text);
    const TSentenceResult decoded = Decoder.Decode(sentence);
    if (Mode) Mode->Line(LineNumber, sentence, decoded, Decoder);
    return decoded;
  }

  void Frame(const TFrame& frame) {
    ++LineNumber;
    if (Mode) Mode->Frame(LineNumber, frame);
  }
};

// False (after a message naming the file) when it could not be opened or read.
bool DecodeFile(const std::string& name, TRun& run) {
  const bool standardInput = name == "-";
  std::FILE* file = standardInput ? stdin : std::fopen(name.c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "tolvane-decode: cannot open %s: %s\n", name.c_str(),
                 std::strerror(errno));
    return false;
  }
  int errorNumber = 0;
  const TLineSink onLine = [&run](std::string_view line) { run.Line(line); };
  TLineSplitter splitter(onLine, [&run](const TFrame& frame) { run.Frame(frame); });
  const bool read = ReadLines(file, splitter, errorNumber);
  run.CutLines += splitter.CutLines();
  if (!read) {
    std::fprintf(stderr, "tolvane-decode: cannot read %s: %s\n",
                 standardInput ? "standard input" : name.c_str(), std::strerror(errorNumber));
  }
  if (!standardInput) std::fclose(file);
  return read;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("tolvane-decode");
  QCoreApplication::setApplicationVersion(TOLVANE_VERSION);
  const TDecodeOptions options = ParseDecodeOptions(QCoreApplication::arguments());
  if (!options.Error.empty()) {
    std::fprintf(stderr, "tolvane-decode: %s\n%s", options.Error.c_str(), options.Usage.c_str());
    return 2;
  }
  if (options.Help || options.Version) {
    std::fputs(options.Help ? options.Usage.c_str() : "tolvane-decode " TOLVANE_VERSION "\n",
               stdout);
    return 0;
  }
  TOutput output(stdout);
  const auto mode = options.Mode->CreateWith ? options.Mode->CreateWith(output, options.Arguments)
                                             : options.Mode->Create(output);
  TRun run;
  run.Mode = mode.get();
  bool allRead = true;
  if (!options.Follow.empty()) {
    // Quiet, the mode takes nothing and prints nothing; the lines are still
    // decoded, for the broker's epochs.
    run.Mode = options.Quiet ? nullptr : mode.get();
    const TFollowLine onLine = [&run](std::string_view line) { return run.Line(line); };
    const TFollowFrame onFrame = [&run](const TFrame& frame) { run.Frame(frame); };
    const int status = Follow(options, onLine, onFrame, run.Mode, output);
    if (status != 0) return status;
    run.Mode = mode.get();
  }
  for (const std::string& name : options.Files) allRead = DecodeFile(name, run) && allRead;
  if (!options.Quiet) mode->Finish(run.LineNumber);
  if (run.CutLines > 0) {
    const bool one = run.CutLines == 1;
    std::fprintf(stderr, "tolvane-decode: %llu %s longer than %zu bytes %s cut to that length\n",
                 static_cast<unsigned long long>(run.CutLines), one ? "line" : "lines",
                 TLineSplitter::kMaxLineLength, one ? "was" : "were");
  }
  if (!output.Flush()) {
    std::fprintf(stderr, "tolvane-decode: cannot write the output: %s\n", std::strerror(errno));
    return 1;
  }
  return allRead ? 0 : 1;
}

// libFuzzer target: any bytes as a replay file. Reading line by line until
// the end gives exactly the lines that the text-file rules cut from the
// bytes: CR ends a line, an LF right after it belongs to the terminator, any
// other LF is text, and character 26 ends the file; a file with no CR in its
// first 64 KiB has its lines ended by LF instead (and a CR LF pair there
// ends a line too). A line longer than 64 KiB gives its first 64 KiB, and
// the read that skips the rest gives an empty line. Long runs come from
// short inputs as FuzzRuns.h says. A file whose first 64 KiB look like a
// raw log (a frame, a control character) is read by the raw rules instead:
// every line is then a whole frame behind its mark, or printable text no
// longer than a line may be.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "monitor/DataFile.h"
#include "monitor/RawLines.h"
#include "nmea/FrameNames.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/FuzzRuns.h"

namespace {

std::vector<std::string> ExpectedLines(std::string_view bytes) {
  const bool lfEndsLines = bytes.substr(0, 64 * 1024).find('\r') == std::string_view::npos;
  bytes = bytes.substr(0, bytes.find('\x1a'));
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const size_t stop = bytes.find(lfEndsLines ? '\n' : '\r');
    std::string_view line = bytes.substr(0, stop);
    if (line.size() > kLongestLine) {
      lines.emplace_back(line.substr(0, kLongestLine));
      lines.emplace_back();
    } else {
      if (lfEndsLines && stop != std::string_view::npos && line.ends_with('\r'))
        line.remove_suffix(1);
      lines.emplace_back(line);
    }
    if (stop == std::string_view::npos) break;
    bytes.remove_prefix(stop + 1);
    if (!lfEndsLines && !bytes.empty() && bytes.front() == '\n') bytes.remove_prefix(1);
  }
  return lines;
}

const std::string& ScratchFile() {
  static const std::string path = [] {
    char name[] = "/tmp/tolvane-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    Check(fd >= 0);
    close(fd);
    std::atexit([] { std::remove(ScratchFile().c_str()); });
    return std::string(name);
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = ExpandRuns({reinterpret_cast<const char*>(data), size});
  const std::string& path = ScratchFile();
  std::FILE* out = std::fopen(path.c_str(), "wb");
  Check(out != nullptr);
  Check(std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size());
  std::fclose(out);

  TDataFile file;
  file.openForReading(path);
  std::vector<std::string> lines;
  // Every line read takes at least one byte, so the loop ends.
  while (!file.atEnd() && lines.size() <= bytes.size()) lines.push_back(file.readLine());
  if (LooksRaw(std::string_view(bytes).substr(0, 64 * 1024))) {
    for (const std::string& line : lines) {
      if (IsFrameLine(line)) {
        Check(FrameOf(std::string_view(line).substr(1)).has_value());
      } else {
        Check(line.size() <= kLongestLine);
        for (const char c : line) Check(c >= ' ' && static_cast<unsigned char>(c) <= 127);
      }
    }
  } else {
    Check(lines == ExpectedLines(bytes));
  }
  // At the end, reads give nothing and stay at the end.
  Check(file.readLine().empty() && file.atEnd());
  return 0;
}

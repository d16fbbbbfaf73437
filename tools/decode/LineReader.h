#pragma once
// Splits an 8-bit stream into lines read in big blocks. A line ends at CR, at
// LF, or at CR LF, also when the pair is split across two blocks; a last line
// without an ending still counts. A line longer than a block is gathered.

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

namespace decode {

using TLineSink = std::function<void(std::string_view line)>;

// Every line of the file, empty ones included, in order. False when reading
// failed part way; errorNumber then holds the reason.
bool ReadLines(std::FILE* file, const TLineSink& onLine, int& errorNumber);

// The same splitting over text in memory, block by block: the reader keeps
// the part of a line (and a CR) still waiting for its end.
class TLineSplitter {
 public:
  explicit TLineSplitter(const TLineSink& onLine) : OnLine(onLine) {}
  void Feed(std::string_view block);
  void Finish();

 private:
  const TLineSink& OnLine;
  std::string Pending;
  bool AfterCR = false;
};

}  // namespace decode

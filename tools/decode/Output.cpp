#include "tools/decode/Output.h"

namespace decode {

TOutput::TOutput(std::FILE* file) : File(file), Buffer(new char[kBlockSize]) {}

TOutput::~TOutput() {
  Flush();
}

void TOutput::WriteLarge(std::string_view text) {
  Flush();
  if (text.size() < kBlockSize) {
    Write(text);
  } else if (!WriteFailed) {
    WriteFailed = std::fwrite(text.data(), 1, text.size(), File) != text.size();
  }
}

bool TOutput::Flush() {
  if (Used > 0 && !WriteFailed) {
    WriteFailed = std::fwrite(Buffer.get(), 1, Used, File) != Used;
  }
  Used = 0;
  if (!WriteFailed) WriteFailed = std::fflush(File) != 0;
  return !WriteFailed;
}

}  // namespace decode

#include "source/LineBuffer.h"

#include "common/Routines.h"

void TLineBuffer::Append(std::string_view bytes) {
  if (LineEnd == std::string::npos) {
    const size_t cr = bytes.find('\r');
    if (cr != std::string_view::npos) LineEnd = Bytes.size() + cr;
  }
  Bytes.append(bytes);
  if (LineEnd == std::string::npos && Bytes.size() > kMaxWithoutLine) {
    const size_t excess = Bytes.size() - kMaxWithoutLine;
    Bytes.erase(0, excess);
    Dropped += excess;
  }
}

std::string TLineBuffer::TakeLine() {
  if (LineEnd == std::string::npos) return {};
  std::string line = KeepPrintable(std::string_view(Bytes).substr(0, LineEnd));
  size_t rest = LineEnd + 1;
  if (rest < Bytes.size() && Bytes[rest] == '\n') ++rest;
  Bytes.erase(0, rest);
  if (Bytes.size() > kKeptAfterLine) {
    Dropped += Bytes.size() - kKeptAfterLine;
    Bytes.resize(kKeptAfterLine);
  }
  LineEnd = Bytes.find('\r');
  return line;
}

void TLineBuffer::Clear() {
  Bytes.clear();
  LineEnd = std::string::npos;
}

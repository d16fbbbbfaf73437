#include "source/LineBuffer.h"

#include "common/Routines.h"

void TLineBuffer::Append(std::string_view bytes) {
  const bool ended = LineEnd != std::string::npos;
  if (!ended) {
    const size_t cr = bytes.find('\r');
    if (cr != std::string_view::npos) LineEnd = Bytes.size() + cr;
  }
  Bytes.append(bytes);
  if (ended) return;
  // The line in progress keeps its newest kMaxWithoutLine bytes, also when
  // its end comes in the same read as the bytes that overflow it.
  const size_t line = LineEnd == std::string::npos ? Bytes.size() : LineEnd;
  if (line <= kMaxWithoutLine) return;
  const size_t excess = line - kMaxWithoutLine;
  Bytes.erase(0, excess);
  Dropped += excess;
  if (LineEnd != std::string::npos) LineEnd -= excess;
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

#pragma once
// Long lines from short inputs. The fuzzer's inputs stay a few KiB long, yet
// the line readers change their rules at 32 KiB and 64 KiB; so in a stream
// the bytes 0xFE, N, C stand for (N + 1) * 512 copies of C, and a run of
// exactly 64 KiB is 0xFE 0x7F C. The whole stream is kept under 128 KiB, so
// that no target has to think about megabytes.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

constexpr char kRunMark = '\xfe';
constexpr std::size_t kRunUnit = 512;
constexpr std::size_t kExpandedLimit = 128 * 1024;

inline std::string ExpandRuns(std::string_view input) {
  std::string stream;
  for (std::size_t i = 0; i < input.size() && stream.size() < kExpandedLimit; ++i) {
    if (input[i] == kRunMark && i + 2 < input.size()) {
      const std::size_t count = (static_cast<unsigned char>(input[i + 1]) + 1) * kRunUnit;
      stream.append(std::min(count, kExpandedLimit - stream.size()), input[i + 2]);
      i += 2;
    } else {
      stream.push_back(input[i]);
    }
  }
  return stream;
}

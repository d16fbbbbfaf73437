#include "monitor/RawLog.h"

#include <cerrno>
#include <cinttypes>

#include "monitor/DataFile.h"

void TRawLog::Start(const std::string& fileName) {
  errno = 0;
  std::FILE* file = std::fopen(fileName.c_str(), "wb");
  if (!file) throw EInOutError(InOutErrorCode(errno == 0 ? EIO : errno));
  // Each piece goes out as it comes: the C library's buffer would only hold
  // back a failure and the bytes behind it.
  std::setvbuf(file, nullptr, _IONBF, 0);
  Stop();
  File = file;
  Written = 0;
  Failure.clear();
}

void TRawLog::Stop() {
  if (File) std::fclose(File);
  File = nullptr;
}

void TRawLog::Write(std::string_view bytes) {
  if (!File || bytes.empty()) return;
  errno = 0;
  const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), File);
  Written += written;
  if (written == bytes.size()) return;
  Failure = "Raw log stopped: " + InOutErrorText(InOutErrorCode(errno == 0 ? EIO : errno));
  Stop();
}

std::string TRawLog::TakeFailure() {
  std::string failure = std::move(Failure);
  Failure.clear();
  return failure;
}

std::string RawLogStatusText(uint64_t bytes) {
  // In tenths, rounded half up, without floating point's doubts at x.x5.
  const uint64_t tenths = (bytes + 50'000) / 100'000;
  char text[48];
  std::snprintf(text, sizeof text, "Raw log: %" PRIu64 ".%" PRIu64 " MB", tenths / 10, tenths % 10);
  return text;
}

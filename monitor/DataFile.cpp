#include "monitor/DataFile.h"

#include "common/HandlerErrors.h"
#include "common/Routines.h"
#include "monitor/RawLines.h"

#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace {

// The first chunk decides how lines end.
constexpr std::size_t kReadChunk = kLineEndProbe;
// A log that grows faster than this between two timer flushes is written out
// at once, so the buffer stays small.
constexpr std::size_t kWriteLimit = 64 * 1024;
// Half a second after the first line that waits: a line shown on screen is on
// its way to the disk within a second whatever the timer's jitter, and a
// receiver that says nothing wakes nothing.
constexpr int kFlushIntervalMs = 500;

// The run-time's own codes for using a file in the wrong mode.
constexpr int kFileNotOpenForInput = 104;
constexpr int kFileNotOpenForOutput = 105;

[[noreturn]] void RaiseErrno() {
  int saved = errno;
  throw EInOutError(InOutErrorCode(saved == 0 ? EIO : saved));
}

}  // namespace

std::string InOutErrorText(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

int InOutErrorCode(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return 2;
    case ENAMETOOLONG:
    case EINVAL:
    // A path through a regular file: the path cannot name a file at all.
    case ENOTDIR:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return 5;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return 101;
    default:
      break;
  }
  // An errno that happens to equal a code with its own text (EIO is 5, EINTR
  // 4) must not pose as "File access denied"; it is shown by number, apart.
  switch (errnoValue) {
    case 3:
    case 4:
    case 5:
    case 100:
    case 101:
    case 106:
      return 1000 + errnoValue;
    default:
      return errnoValue;
  }
}

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorText(code)), ErrorCode(code) {}

TDataFile::TDataFile() = default;

TDataFile::~TDataFile() {
  // Nobody can hear a failure here; the owners close the file themselves.
  if (Mode == TMode::Writing && File) {
    std::fwrite(Buffer.data(), 1, Buffer.size(), File);
  }
  ReleaseFile();
}

void TDataFile::openForWriting(const std::string& fileName) {
  if (isOpen()) close();
  errno = 0;
  File = std::fopen(fileName.c_str(), "wb");
  if (!File) RaiseErrno();
  // Our own buffer decides when bytes reach the system; the C library's
  // would only hide a failure until later.
  std::setvbuf(File, nullptr, _IONBF, 0);
  Mode = TMode::Writing;
  Buffer.clear();
  FlushTimer = std::make_unique<QTimer>();
  FlushTimer->setInterval(kFlushIntervalMs);
  FlushTimer->setSingleShot(true);
  QObject::connect(FlushTimer.get(), &QTimer::timeout, Reported([this] { flush(); }));
}

void TDataFile::openForReading(const std::string& fileName) {
  if (isOpen()) close();
  std::error_code ignored;
  if (std::filesystem::is_directory(fileName, ignored)) throw EInOutError(5);
  errno = 0;
  File = std::fopen(fileName.c_str(), "rb");
  if (!File) RaiseErrno();
  Mode = TMode::Reading;
  Buffer.clear();
  BufferStart = 0;
  ReadPos = 0;
  EndMarkSeen = false;
  LineEndsKnown = false;
  LfEndsLines = false;
  SkippingLine = false;
  Raw.reset();
  const auto size = std::filesystem::is_regular_file(fileName, ignored)
                        ? std::filesystem::file_size(fileName, ignored)
                        : 0;
  ReadSize = ignored ? 0 : size;
}

int TDataFile::percentRead() const {
  if (Mode != TMode::Reading || ReadSize == 0) return 0;
  return static_cast<int>(std::min<uint64_t>(100, (BufferStart + ReadPos) * 100 / ReadSize));
}

uint64_t TDataFile::readOffset() const {
  if (Mode != TMode::Reading) throw EInOutError(kFileNotOpenForInput);
  if (Raw) return Raw->NextOffset();
  return BufferStart + ReadPos;
}

void TDataFile::seekTo(uint64_t offset) {
  if (Mode != TMode::Reading) throw EInOutError(kFileNotOpenForInput);
  // How lines end is decided from the top of the file, wherever reading goes.
  if (!LineEndsKnown) FillReadBuffer();
  errno = 0;
  if (fseeko(File, static_cast<off_t>(offset), SEEK_SET) != 0) RaiseErrno();
  BufferStart = offset;
  Buffer.clear();
  ReadPos = 0;
  EndMarkSeen = false;
  SkippingLine = false;
  if (Raw) Raw->Restart(offset);
}

bool TDataFile::FillReadBuffer() {
  if (ReadPos < Buffer.size()) return true;
  if (EndMarkSeen) return false;
  BufferStart += Buffer.size();
  Buffer.resize(kReadChunk);
  errno = 0;
  std::size_t got = std::fread(Buffer.data(), 1, kReadChunk, File);
  Buffer.resize(got);
  ReadPos = 0;
  if (got == 0 && std::ferror(File)) {
    std::clearerr(File);
    RaiseErrno();
  }
  if (!LineEndsKnown) {
    LineEndsKnown = true;
    LfEndsLines = Buffer.find('\r') == std::string::npos;
    if (LooksRaw(Buffer)) Raw = std::make_unique<TRawLines>(BufferStart);
  }
  return got > 0;
}

// Bytes without a line end (junk at a wrong baud rate) are read at most
// kSkipPerCall a call, as a long line of a text file is skipped.
bool TDataFile::FillRawLines() {
  for (std::size_t fed = 0; !Raw->HasLine() && !Raw->Finished() && fed < kSkipPerCall;) {
    if (ReadPos < Buffer.size()) {
      Raw->Feed(std::string_view(Buffer).substr(ReadPos));
      fed += Buffer.size() - ReadPos;
      ReadPos = Buffer.size();
    } else if (!FillReadBuffer()) {
      Raw->Finish();
    }
  }
  return Raw->HasLine();
}

bool TDataFile::atEnd() {
  if (Mode != TMode::Reading) throw EInOutError(kFileNotOpenForInput);
  if (!LineEndsKnown) FillReadBuffer();
  if (Raw) return !FillRawLines() && Raw->Finished();
  if (!FillReadBuffer()) return true;
  if (Buffer[ReadPos] == kEndMark) EndMarkSeen = true;
  return EndMarkSeen;
}

std::string TDataFile::readLine() {
  if (Mode != TMode::Reading) throw EInOutError(kFileNotOpenForInput);
  if (!LineEndsKnown) FillReadBuffer();
  if (Raw) return FillRawLines() ? Raw->Take() : std::string();
  std::string line;
  if (SkippingLine) {
    SkipLongLine();
    return line;
  }
  while (FillReadBuffer()) {
    const std::size_t stop = FindLineStop(Buffer, ReadPos, LfEndsLines);
    const std::size_t end = std::min(stop, Buffer.size());
    const std::size_t take = std::min(end - ReadPos, kMaxLineLength - line.size());
    line.append(Buffer, ReadPos, take);
    ReadPos += take;
    if (ReadPos < end) {  // more text than a line may hold
      SkippingLine = true;
      break;
    }
    if (stop == std::string::npos) continue;
    TakeLineEnd(line);
    break;
  }
  return line;
}

// At the terminator: takes it (a CR with the LF that follows it), or stays on
// character 26, which ends the file.
void TDataFile::TakeLineEnd(std::string& line) {
  if (Buffer[ReadPos] == kEndMark) {
    EndMarkSeen = true;
    return;
  }
  if (Buffer[ReadPos++] == '\r') {
    if (FillReadBuffer() && Buffer[ReadPos] == '\n') ++ReadPos;
  } else if (!line.empty() && line.back() == '\r') {
    line.pop_back();  // a CR LF pair in a file whose lines end in LF
  }
}

void TDataFile::SkipLongLine() {
  for (std::size_t skipped = 0; skipped < kSkipPerCall && FillReadBuffer();) {
    const std::size_t stop = FindLineStop(Buffer, ReadPos, LfEndsLines);
    if (stop != std::string::npos) {
      ReadPos = stop;
      std::string cutOff;
      TakeLineEnd(cutOff);
      SkippingLine = false;
      return;
    }
    skipped += Buffer.size() - ReadPos;
    ReadPos = Buffer.size();
  }
}

void TDataFile::writeLine(std::string_view line) {
  if (Mode != TMode::Writing) throw EInOutError(kFileNotOpenForOutput);
  Buffer.append(line);
  Buffer.append("\r\n");
  if (Buffer.size() >= kWriteLimit) return flush();
  // What a full disk held back is tried again with the next line.
  if (!FlushTimer->isActive()) FlushTimer->start();
}

void TDataFile::WriteOut(std::string_view bytes) {
  errno = 0;
  std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), File);
  // Whatever did not reach the system stays buffered for the next attempt:
  // a full disk may have room again later, and no line is dropped quietly.
  Buffer.erase(0, written);
  if (written < bytes.size()) {
    std::clearerr(File);
    RaiseErrno();
  }
}

void TDataFile::flush() {
  if (Mode != TMode::Writing || Buffer.empty()) return;
  WriteOut(Buffer);
}

void TDataFile::close() {
  if (!isOpen()) return;
  bool writing = Mode == TMode::Writing;
  int failure = 0;
  if (writing) {
    try {
      flush();
    } catch (const EInOutError& error) {
      failure = error.Code();
    }
  }
  errno = 0;
  if (std::fclose(File) != 0 && writing && failure == 0) {
    failure = InOutErrorCode(errno == 0 ? EIO : errno);
  }
  File = nullptr;
  ReleaseFile();
  if (failure != 0) throw EInOutError(failure);
}

void TDataFile::ReleaseFile() noexcept {
  FlushTimer.reset();
  Raw.reset();
  if (File) std::fclose(File);
  File = nullptr;
  Mode = TMode::Closed;
  Buffer.clear();
  Buffer.shrink_to_fit();
  ReadPos = 0;
  EndMarkSeen = false;
  LineEndsKnown = false;
  LfEndsLines = false;
  SkippingLine = false;
}

#pragma once
// The one text file of logging and replay. Lines are 8-bit text. Reading
// follows the old text-file rules: CR ends a line, an LF right after the CR
// belongs to the terminator, any other LF is text, and character 26 ends the
// file. A file with no CR in its first 64 KiB was not written by us (tools
// that end lines in LF alone): there LF ends a line, with a CR before it.
// A line longer than 64 KiB is cut, so that a file that never ends a line
// (a device, a binary file chosen by mistake) cannot take the memory. A raw
// log (one whose first 64 KiB hold a frame or bytes no text holds, see
// TRawLines) is read as the sources read their bytes: frames as lines of
// their own behind kFrameLineMark, the text around them as lines. Writing
// ends every line with CR LF and goes through a buffer that is handed to the
// operating system at least once a second, so that a crash loses at most
// about a second of log.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/Routines.h"

class QTimer;
class TRawLines;

// An input/output failure of the data file, with its error code: the
// operating system's code below 100, the run-time's own codes from 100 on.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code);
  int Code() const { return ErrorCode; }

 private:
  int ErrorCode;
};

// The message shown for an input/output error code.
std::string InOutErrorText(int code);
// The input/output error code for a C library errno value.
int InOutErrorCode(int errnoValue);

class TDataFile {
 public:
  TDataFile();
  ~TDataFile();
  TDataFile(const TDataFile&) = delete;
  TDataFile& operator=(const TDataFile&) = delete;

  // Creates the file, replacing one of that name, and opens it for writing.
  void openForWriting(const std::string& fileName);
  // Opens an existing file for reading.
  void openForReading(const std::string& fileName);
  bool isOpen() const { return File != nullptr; }
  // While reading: whether the file is a raw log, once a line has been asked for.
  bool isRaw() const { return Raw != nullptr; }
  // While reading: true at the physical end of the file or at character 26.
  bool atEnd();
  // The next line without its terminator; empty at the end of the file.
  // A longer line gives its first kMaxLineLength characters; the calls after
  // that skip the rest, reading at most kSkipPerCall bytes each, and give
  // empty lines until the line's end.
  std::string readLine();
  // While reading: how much of the file has been taken, 0 to 100; 0 for a
  // file whose size is not known (a device, a pipe).
  int percentRead() const;
  // While reading: the offset in the file of the next line readLine gives.
  uint64_t readOffset() const;
  // While reading: goes on from `offset`, which must begin a line.
  void seekTo(uint64_t offset);
  // Appends the line and CR LF to the write buffer.
  void writeLine(std::string_view line);
  // Hands everything buffered to the operating system.
  void flush();
  // Writes out everything buffered and closes the file. The file is closed
  // even when that last write fails; the failure is raised afterwards.
  void close();

 private:
  enum class TMode { Closed, Reading, Writing };

  static constexpr std::size_t kMaxLineLength = kLongestLine;
  static constexpr std::size_t kSkipPerCall = 1024 * 1024;

  bool FillReadBuffer();
  // A raw log: whether a line is ready, feeding the file's bytes until one is.
  bool FillRawLines();
  void TakeLineEnd(std::string& line);
  void SkipLongLine();
  void WriteOut(std::string_view bytes);
  void ReleaseFile() noexcept;

  std::FILE* File = nullptr;
  TMode Mode = TMode::Closed;
  std::string Buffer;
  uint64_t BufferStart = 0;  // the file offset of the buffer's first byte
  std::size_t ReadPos = 0;
  bool EndMarkSeen = false;
  bool LineEndsKnown = false;  // whether the first chunk has been read
  bool LfEndsLines = false;
  bool SkippingLine = false;
  uint64_t ReadSize = 0;  // the size of the file being read, 0 when not known
  std::unique_ptr<QTimer> FlushTimer;
  std::unique_ptr<TRawLines> Raw;  // while reading a raw log
};

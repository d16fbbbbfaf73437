#pragma once
// The one text file of logging and replay. Lines are 8-bit text. Reading
// follows the old text-file rules: CR ends a line, an LF right after the CR
// belongs to the terminator, any other LF is text, and character 26 ends the
// file. Writing ends every line with CR LF and goes through a buffer that is
// handed to the operating system at least once a second, so that a crash
// loses at most about a second of log.

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

class QTimer;

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
  void Rewrite(const std::string& fileName);
  // Opens an existing file for reading.
  void Reset(const std::string& fileName);
  bool IsOpen() const { return File != nullptr; }
  // While reading: true at the physical end of the file or at character 26.
  bool Eof();
  // The next line without its terminator; empty at the end of the file.
  std::string ReadLine();
  // Appends the line and CR LF to the write buffer.
  void WriteLine(std::string_view line);
  // Hands everything buffered to the operating system.
  void Flush();
  // Writes out everything buffered and closes the file. The file is closed
  // even when that last write fails; the failure is raised afterwards.
  void Close();

 private:
  enum class TMode { Closed, Reading, Writing };

  bool FillReadBuffer();
  void WriteOut(std::string_view bytes);
  void ReleaseFile() noexcept;

  std::FILE* File = nullptr;
  TMode Mode = TMode::Closed;
  std::string Buffer;
  std::size_t ReadPos = 0;
  bool EndMarkSeen = false;
  std::unique_ptr<QTimer> FlushTimer;
};

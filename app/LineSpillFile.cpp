#include "app/LineSpillFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

std::string DefaultSpillFolder() {
  for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* folder = std::getenv(name);
    if (folder && *folder) return folder;
  }
  return "/tmp";
}

bool TLineSpillFile::Open() {
  std::string path = Folder + "/tolvane-received-XXXXXX";
  std::vector<char> name(path.begin(), path.end());
  name.push_back('\0');
  Descriptor = mkostemp(name.data(), O_CLOEXEC);
  if (Descriptor < 0) return false;
  unlink(name.data());
  End = 0;
  return true;
}

namespace {

bool WriteAll(int descriptor, uint64_t at, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = pwrite(descriptor, bytes.data(), bytes.size(), static_cast<off_t>(at));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    at += static_cast<uint64_t>(written);
  }
  return true;
}

}  // namespace

bool TLineSpillFile::Write(std::string_view first, std::string_view second, uint64_t& offset) {
  if (Descriptor < 0 && !Open()) return false;
  if (!WriteAll(Descriptor, End, first) || !WriteAll(Descriptor, End + first.size(), second))
    return false;
  offset = End;
  End += first.size() + second.size();
  return true;
}

bool TLineSpillFile::Read(uint64_t offset, char* into, std::size_t size) const {
  while (size > 0) {
    ssize_t got = pread(Descriptor, into, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    into += got;
    size -= static_cast<std::size_t>(got);
    offset += static_cast<uint64_t>(got);
  }
  return true;
}

void TLineSpillFile::Close() {
  if (Descriptor >= 0) close(Descriptor);
  Descriptor = -1;
  End = 0;
}

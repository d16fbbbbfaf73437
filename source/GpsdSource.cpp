#include "source/GpsdSource.h"

int64_t TGpsdSource::Read(char* buffer, int64_t maxSize) {
  // A read made only of JSON keeps nothing; the reports waiting behind it are
  // read on, so that nothing waits once this returns 0. It ends: the socket
  // takes in no more while this runs.
  for (;;) {
    const int64_t count = TTcpSource::Read(buffer, maxSize);
    if (count <= 0) return count;
    const size_t kept = Filter.Filter(buffer, static_cast<size_t>(count));
    if (kept > 0) return static_cast<int64_t>(kept);
  }
}

void TGpsdSource::OnConnected() {
  const std::string request = GpsdWatchRequest(Url.Device);
  Socket.write(request.data(), static_cast<qint64>(request.size()));
  Socket.flush();
}

#include "monitor/ReplayIndexer.h"

#include <algorithm>
#include <filesystem>

void TReplayIndexer::Start(const std::string& fileName) {
  Cancel();
  Pass = std::make_shared<TPass>();
  std::error_code ignored;
  const auto size = std::filesystem::file_size(fileName, ignored);
  Pass->Size = ignored ? 0 : size;
  Worker = std::thread([pass = Pass, fileName] {
    pass->Index = TReplayIndex::Build(fileName, &pass->Cancel, &pass->Read);
    pass->Done.store(true, std::memory_order_release);
  });
}

void TReplayIndexer::Cancel() {
  if (Pass) Pass->Cancel.store(true);
  if (Worker.joinable()) Worker.join();
  Pass.reset();
}

int TReplayIndexer::Percent() const {
  if (!Pass) return 0;
  if (Pass->Done.load(std::memory_order_acquire)) return 100;
  if (Pass->Size == 0) return 0;
  return static_cast<int>(std::min<uint64_t>(99, Pass->Read.load() * 100 / Pass->Size));
}

const TReplayIndex* TReplayIndexer::Ready() {
  if (!Pass || !Pass->Done.load(std::memory_order_acquire)) return nullptr;
  if (Worker.joinable()) Worker.join();
  return Pass->Index ? &*Pass->Index : nullptr;
}

#include "monitor/ReplayIndexer.h"

#include <algorithm>
#include <filesystem>

#include "common/BackgroundWork.h"
#include "monitor/DataFile.h"

void TReplayIndexer::Start(const std::string& fileName, uint32_t tick, size_t spacing) {
  Cancel();
  Pass = std::make_shared<TPass>();
  std::error_code ignored;
  const auto size = std::filesystem::file_size(fileName, ignored);
  Pass->Size = ignored ? 0 : size;
  Worker = std::thread([pass = Pass, fileName, tick, spacing] {
    LowerThreadPriority();
    pass->Index = IndexFile(fileName, pass->Cancel, pass->Read);
    pass->Done.store(true, std::memory_order_release);
    if (pass->Index) SaveCheckpoints(*pass, fileName, tick, spacing);
    pass->Checkpointed.store(UINT64_MAX, std::memory_order_release);
  });
}

// A raw log's lines are those the replay reads from it (TDataFile); a text
// log is split by TReplayIndex's own faster rules, which give the same lines.
std::optional<TReplayIndex> TReplayIndexer::IndexFile(const std::string& fileName,
                                                      const std::atomic<bool>& cancel,
                                                      std::atomic<uint64_t>& read) {
  TReplayIndex index;
  try {
    TDataFile file;
    file.openForReading(fileName);
    if (file.atEnd() || !file.isRaw()) {
      file.close();
      return TReplayIndex::Build(fileName, &cancel, &read);
    }
    while (!file.atEnd()) {
      if (cancel.load(std::memory_order_relaxed)) return std::nullopt;
      const uint64_t offset = file.readOffset();
      index.TakeLine(file.readLine(), offset);
      read.store(offset, std::memory_order_relaxed);
    }
  } catch (...) {
  }
  return index;
}

// A file that cannot be read again (gone, or failing) keeps the checkpoints
// saved before: a jump decodes on from the nearest of them.
void TReplayIndexer::SaveCheckpoints(TPass& pass, const std::string& fileName, uint32_t tick,
                                     size_t spacing) {
  const TReplayIndex& index = *pass.Index;
  spacing = std::max({spacing, index.Size() / kMaxCheckpoints + 1, size_t{1}});
  try {
    TDataFile file;
    file.openForReading(fileName);
    auto state = std::make_unique<TReceiverState>();
    uint64_t epochs = 0;
    state->Recorder.SetEpochHandler([&epochs](TEpoch&) { ++epochs; });
    for (size_t next = spacing; next < index.Size(); next += spacing) {
      const uint64_t offset = index.Epochs()[next].Offset;
      state->AbsorbUpTo(file, offset, tick, &pass.Cancel);
      if (pass.Cancel.load(std::memory_order_relaxed)) return;
      auto saved = std::make_shared<TReplayCheckpoint>();
      saved->Offset = offset;
      saved->Epochs = epochs;
      saved->State.Assign(*state);
      const std::lock_guard lock(pass.Lock);
      pass.Saved.emplace(offset, std::move(saved));
      pass.Checkpointed.store(offset, std::memory_order_release);
    }
  } catch (...) {
  }
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

const TReplayIndex* TReplayIndexer::Ready() const {
  if (!Pass || !Pass->Done.load(std::memory_order_acquire)) return nullptr;
  return Pass->Index ? &*Pass->Index : nullptr;
}

bool TReplayIndexer::Checkpointed() const {
  return CheckpointedUpTo() == UINT64_MAX;
}

uint64_t TReplayIndexer::CheckpointedUpTo() const {
  return Pass ? Pass->Checkpointed.load(std::memory_order_acquire) : 0;
}

std::shared_ptr<const TReplayCheckpoint> TReplayIndexer::AtOrBefore(uint64_t offset) const {
  if (!Pass) return nullptr;
  const std::lock_guard lock(Pass->Lock);
  const auto after = Pass->Saved.upper_bound(offset);
  return after == Pass->Saved.begin() ? nullptr : std::prev(after)->second;
}

std::shared_ptr<const TReplayCheckpoint> TReplayIndexer::WithEpochsUpTo(uint64_t epochs) const {
  if (!Pass) return nullptr;
  const std::lock_guard lock(Pass->Lock);
  std::shared_ptr<const TReplayCheckpoint> found;
  for (const auto& [offset, saved] : Pass->Saved) {
    if (saved->Epochs > epochs) break;
    found = saved;
  }
  return found;
}

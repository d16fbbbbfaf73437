// What the replay hands out, taken as the port's lines are, and its jumps
// shown as the whole fix display written anew.

#include <set>

#include "common/Clock.h"
#include "common/Frame.h"
#include "monitor/Monitor.h"

// At the fixed interval a tick takes one line, and those due since (see
// TReplay::kShortestTick). At the recorded pace it takes every line now due, within a frame's work
// and as many lines as one arrival takes (the window still has to show them): what is left waits
// for the next turn of the event loop.
void TMonitor::TakeFromReplay(TTickResult& result) {
  const uint32_t started = Clock::TickCount();
  for (int taken = 1;; ++taken) {
    TReplay::TStep step = FileReplay.Next();
    if (step.Crossed) result.Notice = CrossedText(*step.Crossed);
    if (step.Ended) return EndReplay(result);
    if (!step.Line) return;
    if (RawFile.Running()) LogRaw(*step.Line);
    if (!step.Line->empty()) Take(std::move(*step.Line), result);
    if (!FileReplay.Paced() && !FileReplay.LineDue()) return;
    if (taken == kLinesPerArrival || Clock::TickCount() - started >= kReplayTickBudget) {
      result.MoreWaiting = true;
      return;
    }
  }
}

// A replay's line as a raw file holds it: a frame's bytes, a sentence and
// its CR LF.
void TMonitor::LogRaw(std::string_view line) {
  if (IsFrameLine(line)) return RawFile.Write(line.substr(1));
  RawFile.Write(line);
  RawFile.Write("\r\n");
}

void TMonitor::EndReplay(TTickResult& result) {
  result.ReplayEnded = true;
  State.Recorder.Finish(State.Lines);
  State.Sky.EndEpoch();
  Halt();
}

TTickResult TMonitor::JumpTo(size_t epoch) {
  return Run([this, epoch](TTickResult& result) {
    if (!FileReplay.AskJump(epoch)) return;
    TakeWaitingJump(result);
    if (const std::optional<size_t> waiting = FileReplay.WaitingJump()) {
      const TReplayIndex& index = *FileReplay.Index();
      result.Notice = "Seeking to " + index.PositionText(*waiting, index.SpansDays()) + "...";
    }
  });
}

void TMonitor::TakeWaitingJump(TTickResult& result) {
  if (!FileReplay.JumpReady()) return;
  const TFieldUpdates before = State.Shown.Whole(FieldFormats, Options);
  FileReplay.Jump();
  result.Jumped = true;
  ShowWholeDisplay(before, result);
  while (std::optional<std::string> line = FileReplay.NextOfJumpedEpoch())
    if (!line->empty()) Take(std::move(*line), result);
}

void TMonitor::ShowWholeDisplay(const TFieldUpdates& before, TTickResult& result) const {
  result.Updates = State.Shown.Whole(FieldFormats, Options);
  std::set<std::pair<int, int>> shown;
  for (const TFieldUpdate& update : result.Updates)
    shown.emplace(FieldIndex(update.Field), static_cast<int>(update.Kind));
  TFieldUpdates cleared;
  for (const TFieldUpdate& update : before) {
    if (!shown.emplace(FieldIndex(update.Field), static_cast<int>(update.Kind)).second) continue;
    TFieldUpdate clear;
    clear.Field = update.Field;
    clear.Kind = update.Kind;
    cleared.push_back(std::move(clear));
  }
  result.Updates.insert(result.Updates.begin(), cleared.begin(), cleared.end());
}

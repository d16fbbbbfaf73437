#include "history/ReplayPace.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/Routines.h"
#include "history/Epoch.h"
#include "nmea/EpochMark.h"
#include "nmea/TagBlock.h"

namespace {

using TSeconds = std::chrono::duration<double>;

// "hh:nn:ss.zzz", as the local-time stamp is written.
std::optional<double> ClockStampSeconds(std::string_view stamp) {
  if (stamp.size() != 12 || stamp[2] != ':' || stamp[5] != ':' || stamp[8] != '.')
    return std::nullopt;
  std::string field;
  field.append(stamp.substr(0, 2)).append(stamp.substr(3, 2)).append(stamp.substr(6));
  return TimeOfDaySeconds(field);
}

}  // namespace

std::optional<double> StampSeconds(std::string_view line, std::string_view* stamp) {
  if (line.empty() || line[0] != '~') return std::nullopt;
  const size_t comma = line.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view text = line.substr(1, comma - 1);
  std::optional<double> seconds;
  // Milliseconds on a 32-bit counter: at most ten digits.
  const std::optional<uint64_t> milliseconds =
      text.size() <= 10 ? ParseWhole<uint64_t>(text) : std::nullopt;
  if (milliseconds) {
    seconds = double(*milliseconds) / 1000;
  } else {
    seconds = ClockStampSeconds(text);
  }
  if (seconds && stamp) *stamp = text;
  return seconds;
}

std::string CrossedText(double seconds) {
  const auto whole = static_cast<int64_t>(std::llround(std::fabs(seconds)));
  const int64_t hours = whole / 3600;
  const int64_t minutes = whole / 60 % 60;
  const int64_t rest = whole % 60;
  std::string span;
  if (hours > 0) span = std::to_string(hours) + " h ";
  if (hours > 0 || minutes > 0) span += std::to_string(minutes) + " min ";
  span += std::to_string(rest) + " s";
  return seconds < 0 ? "Time went back " + span : "Gap of " + span + " skipped";
}

std::optional<TReplayPace::TMoment> TReplayPace::MomentOf(std::string_view line) {
  std::string_view text;
  std::optional<double> seconds = StampSeconds(line, &text);
  if (seconds) {
    Stamped = true;
  } else {
    if (Stamped) return std::nullopt;
    const std::optional<std::string_view> field = nmea::EpochTimeField(StripTagBlock(line));
    if (!field || field->empty()) return std::nullopt;
    text = *field;
    seconds = TimeOfDaySeconds(text);
  }
  if (HaveText && text == LastText) return std::nullopt;
  LastText.assign(text);
  HaveText = true;
  return TMoment{seconds};
}

TReplayPace::TPlace TReplayPace::Place(std::string_view line, TTime now) {
  const std::optional<TMoment> moment = MomentOf(line);
  // The rest of an epoch, and an epoch whose time cannot be read, come with
  // the epoch before.
  if (!moment || !moment->Seconds) return {CurrentDue(), std::nullopt};
  const double seconds = *moment->Seconds;
  TPlace place;
  if (!LastSeconds) {
    Anchor(seconds, now);
  } else {
    const double step = seconds - *LastSeconds;
    if (step < 0 || step > kLongestGap) {
      place.Crossed = step;
      Anchor(seconds, now);
    }
  }
  LastSeconds = seconds;
  place.Due = CurrentDue();
  return place;
}

TReplayPace::TTime TReplayPace::CurrentDue() const {
  if (Speed == kFastest || !LastSeconds) return TTime::min();
  const TSeconds wait((*LastSeconds - AnchorSeconds) / Speed);
  return AnchorTime + std::chrono::duration_cast<TTime::duration>(wait);
}

double TReplayPace::Position(TTime now) const {
  if (Held) return *Held;
  if (Speed == kFastest || !LastSeconds) return LastSeconds.value_or(0);
  return AnchorSeconds + TSeconds(now - AnchorTime).count() * Speed;
}

void TReplayPace::SetSpeed(double speed, TTime now) {
  const double position = Position(now);
  Speed = speed;
  if (!Held) Anchor(position, now);
}

void TReplayPace::Hold(TTime now) {
  if (!Held) Held = Position(now);
}

void TReplayPace::Resume(TTime now) {
  if (!Held) return;
  const double position = *Held;
  Held.reset();
  Anchor(position, now);
}

void TReplayPace::Rejoin(TTime now) {
  if (!LastSeconds) return;
  if (Held)
    Held = *LastSeconds;
  else
    Anchor(*LastSeconds, now);
}

void TReplayPace::Restart() {
  *this = TReplayPace(Speed);
}

void TReplayPace::Anchor(double seconds, TTime at) {
  AnchorSeconds = seconds;
  AnchorTime = at;
}

std::optional<double> ParseSpeed(std::string_view text) {
  if (text == "max") return TReplayPace::kFastest;
  if (!text.empty() && (text.back() == 'x' || text.back() == 'X')) text.remove_suffix(1);
  double speed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, speed);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (!(speed >= kSlowestSpeed && speed <= kQuickestSpeed)) return std::nullopt;
  return speed;
}

std::string SpeedText(double speed) {
  if (speed == TReplayPace::kFastest) return "max";
  char text[32];
  std::snprintf(text, sizeof text, "%g", speed);
  return text;
}

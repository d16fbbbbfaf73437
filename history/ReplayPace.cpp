#include "history/ReplayPace.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "common/DateTime.h"
#include "common/Routines.h"
#include "history/Epoch.h"
#include "nmea/EpochMark.h"
#include "nmea/TagBlock.h"

namespace {

using TSeconds = std::chrono::duration<double>;

constexpr double kDaySeconds = 86400;

// A day number of an RMC's ddmmyy, for the days between two dates; none for
// a date that does not exist.
std::optional<int32_t> DayNumber(int32_t ddmmyy) {
  if (ddmmyy < 0) return std::nullopt;
  const int year = ddmmyy % 100;
  TDateTime value = 0;
  if (!TryEncodeDate(year < 80 ? 2000 + year : 1900 + year, ddmmyy / 100 % 100, ddmmyy / 10000,
                     value))
    return std::nullopt;
  return static_cast<int32_t>(value);
}

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

std::optional<TReplayPace::TMoment> TReplayPace::MomentOf(std::string_view line,
                                                          std::optional<int32_t>& day) {
  std::string_view text;
  std::optional<double> seconds = StampSeconds(line, &text);
  if (seconds) {
    Stamped = true;
  } else {
    if (Stamped) return std::nullopt;
    const std::string_view sentence = StripTagBlock(line);
    const std::optional<std::string_view> field = nmea::EpochTimeField(sentence);
    if (!field || field->empty()) return std::nullopt;
    if (sentence.substr(3, 3) == "RMC") day = DayNumber(RmcDate(sentence));
    text = *field;
    seconds = TimeOfDaySeconds(text);
  }
  if (HaveText && text == LastText) return std::nullopt;
  LastText.assign(text);
  HaveText = true;
  return TMoment{seconds};
}

TReplayPace::TPlace TReplayPace::Place(std::string_view line, TTime now) {
  std::optional<int32_t> day;
  const std::optional<TMoment> moment = MomentOf(line, day);
  // The rest of an epoch, and an epoch whose time cannot be read, come with
  // the epoch before; an RMC among them may bring the epoch's date.
  if (!moment || !moment->Seconds) {
    std::optional<double> crossed;
    if (moment || !day || Day) return {CurrentDue(), crossed};
    Day = day;
    if (TakenDay && *TakenDay != *day) crossed = Redate(*day - *TakenDay);
    TakenDay.reset();
    return {CurrentDue(), crossed};
  }
  // The epoch that ends was taken to be on the next day and never said so:
  // it goes by its time alone after all.
  std::optional<double> late;
  if (!Day && TakenDay && EarlierDay && *TakenDay != *EarlierDay)
    late = Redate(*EarlierDay - *TakenDay);
  EarlierDay = Stamped ? std::nullopt : Day;
  Day = Stamped ? std::nullopt : day;
  TakenDay.reset();
  if (Stamped) DayShift = 0;
  const double time = *moment->Seconds + DayShift;
  if (EarlierDay && LastSeconds) {
    if (Day) {
      DayShift += kDaySeconds * (*Day - *EarlierDay);
    } else {
      // Only a step back that is a short step forward over midnight is
      // taken for one before the date says so.
      const bool overMidnight =
          time < *LastSeconds && time + kDaySeconds - *LastSeconds <= kLongestGap;
      TakenDay = *EarlierDay + (overMidnight ? 1 : 0);
      if (overMidnight) DayShift += kDaySeconds;
    }
  }
  const double seconds = *moment->Seconds + DayShift;
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
  if (!place.Crossed) place.Crossed = late;
  EarlierSeconds = LastSeconds.value_or(seconds);
  LastSeconds = seconds;
  place.Due = CurrentDue();
  return place;
}

std::optional<double> TReplayPace::Redate(int32_t days) {
  const double shift = kDaySeconds * days;
  DayShift += shift;
  *LastSeconds += shift;
  AnchorSeconds += shift;
  if (Held) *Held += shift;
  const double step = *LastSeconds - EarlierSeconds;
  if (step < 0 || step > kLongestGap) return step;
  return std::nullopt;
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

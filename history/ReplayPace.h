#pragma once
// The pace of a replay by the recorded time: the lines of one epoch come
// together, and the next epoch comes when its time says, divided by the
// speed. The caller reads a line, asks when it is due, and holds it until
// then; the pace keeps no clock of its own, so the window, the simulator and
// the tests each bring theirs.
//
// A line's recorded time is its stamp in a log written with timestamps
// ("~" milliseconds "," or "~" hh:nn:ss.zzz ","), otherwise the UTC time of
// the time sentence that begins its epoch. Once a stamp has been seen the
// stamps alone set the pace. Lines before the first recorded time, and the
// rest of an epoch after its first line, are due at once. A step back in the
// recorded time (midnight, a log of several sessions) or a gap longer than
// kLongestGap is crossed at once, and said so.
//
// Without stamps, where an epoch and the one before both carry an RMC date,
// the step between them goes by date and time, so that midnight is a second
// like any other. The date of an epoch may come after its first line; until
// it does, an epoch after a dated one whose time is earlier is taken to be
// on the next day, and one whose time is later on the same day. Where its
// RMC then says otherwise, or no date comes at all, the step is put right
// and said so at that line, with the pace kept as it was placed.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TReplayPace {
 public:
  using TTime = std::chrono::steady_clock::time_point;
  // The speed that waits for nothing: "as fast as possible".
  static constexpr double kFastest = 0;
  // Longer gaps in the recorded time are crossed at once.
  static constexpr double kLongestGap = 10;

  struct TPlace {
    TTime Due;
    // Seconds of recorded time crossed at once before this line: positive
    // for a gap, negative for a step back.
    std::optional<double> Crossed;
  };

  // `speed`: recorded seconds per second, or kFastest.
  explicit TReplayPace(double speed = 1) : Speed(speed) {}

  // When `line` is due, `now` being the caller's present.
  TPlace Place(std::string_view line, TTime now);
  // When the line placed last is due, also after a change of speed or a
  // pause: TTime::min() for at once.
  TTime CurrentDue() const;
  // A new speed from `now` on; the replay goes on from where it stands.
  void SetSpeed(double speed, TTime now);
  double CurrentSpeed() const { return Speed; }
  // A pause from `now`, and its end: the recorded time stands still between.
  void Hold(TTime now);
  void Resume(TTime now);
  // The line placed last is due at `now`: for a replay that went by another
  // pace until now.
  void Rejoin(TTime now);
  // From the top of the input again, as if nothing had been placed.
  void Restart();

 private:
  // A line that starts a new moment (a new stamp, or a new time field):
  // its recorded seconds, none when its time cannot be read.
  struct TMoment {
    std::optional<double> Seconds;
  };
  // `day` gets the day of a dated RMC line when no stamp sets the pace.
  std::optional<TMoment> MomentOf(std::string_view line, std::optional<int32_t>& day);
  // The step into the epoch under way changes by `days`: the recorded time
  // moves with the pace's anchor, so nothing placed falls due at another
  // time. The new step when that makes it one to cross.
  std::optional<double> Redate(int32_t days);
  // Where the replay stands in recorded seconds at `now`.
  double Position(TTime now) const;
  void Anchor(double seconds, TTime at);

  double Speed;
  bool Stamped = false;  // a stamp was seen: only stamps count from now on
  std::string LastText;
  bool HaveText = false;
  // The last moment's recorded time: its time of day plus DayShift.
  std::optional<double> LastSeconds;
  // The recorded time of the epoch before.
  double EarlierSeconds = 0;
  // Days crossed by dates, in seconds.
  double DayShift = 0;
  // The date of the epoch under way, once its RMC gave one; that which it
  // is taken to have until then, where the epoch before had one.
  std::optional<int32_t> Day;
  std::optional<int32_t> TakenDay;
  std::optional<int32_t> EarlierDay;
  // Where a pause stopped the recorded time.
  std::optional<double> Held;
  // Recorded time AnchorSeconds is due at AnchorTime.
  double AnchorSeconds = 0;
  TTime AnchorTime{};
};

// The status bar's account of a crossed step: "Gap of 3 min 12 s skipped",
// or "Time went back 5 s" for a step back.
std::string CrossedText(double seconds);

// The stamp of a line written with timestamps, in seconds: milliseconds from
// the start of logging, or the time of day; none for an unstamped line.
std::optional<double> StampSeconds(std::string_view line, std::string_view* stamp = nullptr);

// A speed as the user gives it: a number (a trailing "x" allowed) from
// kSlowestSpeed to kQuickestSpeed, or "max" for kFastest; none for anything else.
inline constexpr double kSlowestSpeed = 0.01;
inline constexpr double kQuickestSpeed = 10000;
std::optional<double> ParseSpeed(std::string_view text);
// The speed as settings and command lines write it: "0.25", "10" or "max".
std::string SpeedText(double speed);

#pragma once
// How long a network source waits before it tries again: 1 s after the
// first failure, then twice as long after each further one, at most 30 s,
// so that a multiplexer switched off for the night costs nothing and one
// switched on again is found within half a minute. A success starts again
// at 1 s.

class TRetryDelay {
 public:
  static constexpr int kFirstSeconds = 1;
  static constexpr int kLongestSeconds = 30;

  // The wait before the next try, in seconds; each call doubles the next.
  int Next();
  void Reset() { Seconds = kFirstSeconds; }

 private:
  int Seconds = kFirstSeconds;
};

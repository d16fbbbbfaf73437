#pragma once
// What a fuzz target does when a property fails: stop at once, so that
// libFuzzer keeps the input that broke it.

[[gnu::always_inline]] inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

#pragma once
// Where the failures of event handlers go. The toolkit's own code is built
// without exception support, so a handler's exception must never unwind
// through its frames: handlers are connected through Reported, which hands
// the failure to the hook right where the handler was called. The program
// points the hook at its error box; with no hook (tests driving one form on
// its own) the failure is thrown on to the caller as it stands.

#include <functional>
#include <string>

using TErrorHook = std::function<void(const std::string& message)>;

// An empty hook restores throwing on to the caller.
void SetErrorHook(TErrorHook hook);

// Called inside a catch block: gives the exception in flight to the hook, or
// rethrows it when there is none.
void HandleCurrentException();

// Wraps an event handler; its work simply stops at the point of failure.
template <class Handler>
auto Reported(Handler handler) {
  return [handler = std::move(handler)] {
    try {
      handler();
    } catch (...) {
      HandleCurrentException();
    }
  };
}

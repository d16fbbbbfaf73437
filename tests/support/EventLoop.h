#pragma once
// Waiting in a test for what the event loop brings (a connection, a
// datagram, a timer), never longer than a given time.

#include <functional>

// Runs the event loop until `done` holds, at most `timeoutMs`; whether it held.
bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for `ms`.
void ProcessEventsFor(int ms);
// Runs an event loop of its own for `ms`, as a modal box does: what the
// program posts for later (deleteLater included) is handled as it would be.
void RunEventLoopFor(int ms);

#pragma once
// Waiting in a test for what the event loop brings (a connection, a
// datagram, a timer), never longer than a given time.

#include <functional>

// Runs the event loop until `done` holds, at most `timeoutMs`; whether it held.
bool ProcessEventsUntil(const std::function<bool()>& done, int timeoutMs);
// Runs the event loop for `ms`.
void ProcessEventsFor(int ms);

#pragma once
// What the network source tests share: free ports on the loopback address,
// and taking lines as the receive tick does. Nothing here leaves 127.0.0.1.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "source/PortSlot.h"
#include "tests/support/LoopbackPorts.h"

// Runs the event loop and takes lines from `port` as receive ticks do (up to
// LinesPerTick each) until `done` holds or `timeoutMs` passed. Empty lines
// are not kept.
std::vector<std::string> TakeLines(TPortSlot& port, const std::function<bool()>& done,
                                   int timeoutMs);
// The same until `count` lines were taken.
std::vector<std::string> TakeLines(TPortSlot& port, size_t count, int timeoutMs);

#pragma once
// How a dialog reaches the main window's serial port without knowing the
// window: it asks at the moment it needs the port. The answer is nullptr while
// the window holds no port (before the first selection, after Stop).

#include <functional>

class TPortSlot;

using TPortSource = std::function<TPortSlot*()>;

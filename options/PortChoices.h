#pragma once
// What the Ports dialog edits: for each COM slot the device path or URL it
// opens and its own baud rate, and what the dialog shows beside them.

#include <array>
#include <string>
#include <string_view>

#include "source/PortSlot.h"

struct TPortChoice {
  std::string Device;    // a device path or URL; empty: the built-in table's
  std::string BaudRate;  // empty: the General options' rate
  // Shown, never written: TOLVANE_COMn when it is set (it wins over Device),
  // and the path the slot opens when Device is empty.
  std::string Environment;
  std::string DefaultPath;

  bool operator==(const TPortChoice&) const = default;
};

using TPortChoices = std::array<TPortChoice, kPortCount>;

// What is wrong with a typed device path or URL ("Invalid address URL: ..."),
// or empty when it can be opened as it stands.
std::string DeviceTextProblem(std::string_view text);

#pragma once
// What the General options dialog edits: the receive loop's options and the
// baud rate, which only the port reads (from the store, at every open).

#include <string>

#include "monitor/MonitorOptions.h"
#include "source/PortSlot.h"

// The rates the dialogs offer, as the General options list them; the fast
// ones are for receivers that send several constellations at 10 Hz.
inline constexpr const char* kBaudRates[] = {"2400",   "4800",   "9600",   "19200",
                                             "38400",  "57600",  "115200", "230400",
                                             "460800", "921600", "Auto"};

struct TGeneralOptions {
  TMonitorOptions Monitor;
  std::string BaudRate = kDefaultBaudRate;  // as the dialog lists it; empty when none is chosen

  bool operator==(const TGeneralOptions&) const = default;
};

// Every value as the store holds it now (for the owner of the application's
// settings); what cannot be read is its default.
TGeneralOptions StoredGeneralOptions();
// Writes every value in the order the dialog shows them, the baud rate first,
// so that the first value that cannot be written is the one named.
void StoreGeneralOptions(const TGeneralOptions& options);

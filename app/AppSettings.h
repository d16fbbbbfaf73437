#pragma once
// The application's settings: the one object through which the program reads
// and writes the settings store. The main window owns it and hands it to
// whoever keeps something there; the dialogs never see it, they edit values.
// Nothing is cached: every call reads or writes the store at that moment, so
// a value edited by hand between two calls is seen. Copies are handles to the
// same store.

#include <QPoint>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "format/FormatRoutines.h"
#include "options/GeneralOptions.h"
#include "options/MqttOptions.h"
#include "options/PortChoices.h"
#include "options/ShareOptions.h"

// A window's place as section "Windows" keeps it.
struct TWindowPlace {
  std::optional<QPoint> Position;  // the frame's top left
  std::optional<QSize> Size;       // the window's own size; only when both are above 0
};

struct TFilesPlace {
  std::string Folder;
  std::string Filter;
};

class TAppSettings {
 public:
  // Read after the Field formats dialog has closed, and at start-up. The
  // patterns default to the locale's, and the formats carry it.
  TFieldFormats FieldFormats(const TLocaleFormats& locale) const;
  // Throws the store's error; the values before the failing one are written.
  void StoreFieldFormats(const TFieldFormats& formats);

  TGeneralOptions GeneralOptions() const;
  void StoreGeneralOptions(const TGeneralOptions& options);

  // Section "Share": the relay of the received data.
  TShareOptions ShareOptions() const { return StoredShareOptions(); }
  // Throws the store's error.
  void StoreShareOptions(const TShareOptions& options) { ::StoreShareOptions(options); }

  // Section "MQTT": the broker the received data is published to.
  TMqttSettings MqttSettings() const { return StoredMqttSettings(); }
  // Throws the store's error.
  void StoreMqttSettings(const TMqttSettings& settings) { ::StoreMqttSettings(settings); }

  // Brought to the nearest bound of 10 to 5000.
  int ReplaySpeed() const;
  void StoreReplaySpeed(int milliseconds);
  // "ReplayMode" and "ReplayFactor": the fixed interval or the recorded pace.
  TReplayPacing ReplayPacing() const;
  void StoreReplayPacing(const TReplayPacing& pacing);

  // The stored "BaudRate" as a decimal integer, read at every open; 4800
  // when it is missing or not a whole number. A rate outside the dialog's
  // list is passed on as it stands: some receivers run at odd rates.
  int32_t BaudRate() const;
  // What COM slot `index` runs at: its own "COMnBaudRate" of section "Ports"
  // when that is a whole number above 0, else the General options' rate.
  int32_t BaudRate(int index) const;
  // The device path COM slot `index` (0 = "COM1:" .. 7 = "COM8:") opens: the
  // environment variable TOLVANE_COMn, else the text "COMn" of section
  // "Ports", else the built-in table; empty outside the slots.
  std::string PortDevicePath(int index) const;
  // The slot's tool tip: its path, and its own rate when it has one.
  std::string PortToolTip(int index) const;
  // The rate a slot at "Auto" found last time: "COMnFoundBaudRate" of
  // section "Ports", 0 for none.
  int32_t FoundBaudRate(int index) const;
  // Throws the store's error.
  void StoreFoundBaudRate(int index, int32_t rate);

  // Section "Ports" as the Ports dialog edits it, with what the environment
  // sets and the built-in paths beside it.
  TPortChoices PortChoices() const;
  // Writes "COMn" and "COMnBaudRate" where they changed, an empty text for none.
  // Throws the store's error; the slots before the failing one are written.
  void StorePortChoices(const TPortChoices& ports);

  // `window` names the values: "<window>Left", "<window>Top" and so on.
  TWindowPlace WindowPlace(std::string_view window) const;
  // Throws the store's error.
  void StoreWindowPlace(std::string_view window, QPoint position, QSize size);

  // The folder and name filter the file dialogs last closed with, as
  // "FilesFolder" and "FilesFilter" of section "Windows"; empty when none.
  TFilesPlace FilesPlace() const;
  // Throws the store's error.
  void StoreFilesPlace(const TFilesPlace& place);
};

#pragma once
// "Ports...": which device or URL each COM slot opens, and at what rate. A
// row per slot offers the serial ports found now and takes any path or URL
// typed in, checked as it is typed; a slot set by the environment is shown
// and cannot be changed here. The list of ports is looked at again by
// Refresh and every two seconds while the dialog is shown, so a receiver
// plugged in meanwhile shows up by itself. A slot that names a broker,
// mqtt://HOST/PREFIX, lists the receivers publishing under PREFIX, with
// whether each is online. OK hands the copy back.

#include <QDialog>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "options/PortChoices.h"
#include "options/SerialPortList.h"

class QComboBox;
class QLabel;
class QTimer;
class TMqttDirectory;

namespace Ui {
class TPortsDialog;
}

class TPortsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kWatchInterval = 2000;  // ms

  explicit TPortsDialog(QWidget* parent = nullptr, TPortLister lister = SystemSerialPorts);
  ~TPortsDialog() override;

  // Shows `ports`; a slot without its own rate runs at `generalBaudRate`.
  void SetPorts(const TPortChoices& ports, const std::string& generalBaudRate);
  // The slots as the controls show them now.
  TPortChoices Ports() const;
  // Looks for serial ports again; the typed texts stay as they are.
  void refreshPorts();
  // The watch's look, every two seconds while shown: the drop-downs are
  // refilled only when the ports changed, so that an open one stays put.
  void onPortWatchTick();

  void done(int result) override;
  void setVisible(bool visible) override;

 signals:
  // OK, with every slot.
  void portsChanged(const TPortChoices& ports);

 private:
  struct TSlotRow {
    QComboBox* Device = nullptr;
    QLabel* Note = nullptr;  // "set by the environment", or what is wrong with the text
    QComboBox* BaudRate = nullptr;
  };

  void AddRow(int index);
  void ShowFound(std::vector<TPortInfo> ports);
  void FillDeviceList(const TSlotRow& row);
  void ShowBaudRate(const TSlotRow& row, const std::string& rate);
  void onDeviceChosen(int index, int item);
  void onDeviceEdited(int index);
  // Lists the receivers at the broker slot `index` names, or stops listing.
  void WatchBroker(int index, const std::string& text);
  void ShowReceivers();

  std::unique_ptr<Ui::TPortsDialog> Form;
  TPortLister Lister;
  std::vector<TPortInfo> Found;
  std::array<TSlotRow, kPortCount> Rows;
  TPortChoices Given;
  std::array<bool, kPortCount> Problems{};  // the typed text cannot be opened
  QTimer* Watch = nullptr;
  std::unique_ptr<TMqttDirectory> Directory;
  int DirectoryRow = -1;
  std::string DirectoryUrl;
};

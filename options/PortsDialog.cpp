#include "options/PortsDialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "options/GeneralOptions.h"
#include "source/MqttDirectory.h"
#include "ui_PortsDialog.h"

namespace {

constexpr const char* kEnvironmentNote = "set by the environment";

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Text(const QString& text) {
  return text.toStdString();
}

// Red, so that a URL that will not open is seen before OK.
void ShowProblem(QLabel& note, const std::string& problem) {
  note.setText(Text(problem));
  note.setStyleSheet("color: red");
  note.setVisible(!problem.empty());
}

}  // namespace

TPortsDialog::TPortsDialog(QWidget* parent, TPortLister lister)
    : QDialog(parent), Form(std::make_unique<Ui::TPortsDialog>()), Lister(std::move(lister)) {
  Form->setupUi(this);
  for (int index = 0; index < kPortCount; ++index) AddRow(index);
  Watch = new QTimer(this);
  Watch->setObjectName("PortWatch");
  Watch->setInterval(kWatchInterval);
  connect(Watch, &QTimer::timeout, this, &TPortsDialog::onPortWatchTick);
  connect(Form->RefreshButton, &QPushButton::clicked, this, &TPortsDialog::refreshPorts);
  connect(Form->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(Form->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

TPortsDialog::~TPortsDialog() = default;

// Rows 1, 3, 5 ... hold a slot's controls, the row below each its note.
void TPortsDialog::AddRow(int index) {
  const QString number = QString::number(index + 1);
  TSlotRow& row = Rows[index];
  row.Device = new QComboBox(this);
  row.Device->setObjectName("Device" + number);
  row.Device->setEditable(true);
  row.Device->setInsertPolicy(QComboBox::NoInsert);
  // Completing from the labels would turn a typed path into a description.
  row.Device->setCompleter(nullptr);
  row.Device->setMinimumContentsLength(32);
  row.Device->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  row.Note = new QLabel(this);
  row.Note->setObjectName("Note" + number);
  row.Note->hide();
  row.BaudRate = new QComboBox(this);
  row.BaudRate->setObjectName("BaudRate" + number);
  auto* name = new QLabel(Text(SlotName(index)) + ":", this);
  name->setBuddy(row.Device);
  Form->SlotGrid->addWidget(name, 2 * index + 1, 0);
  Form->SlotGrid->addWidget(row.Device, 2 * index + 1, 1);
  Form->SlotGrid->addWidget(row.BaudRate, 2 * index + 1, 2);
  Form->SlotGrid->addWidget(row.Note, 2 * index + 2, 1);
  connect(row.Device, &QComboBox::activated, this,
          [this, index](int item) { onDeviceChosen(index, item); });
  connect(row.Device, &QComboBox::editTextChanged, this, [this, index] { onDeviceEdited(index); });
}

void TPortsDialog::SetPorts(const TPortChoices& ports, const std::string& generalBaudRate) {
  Given = ports;
  refreshPorts();
  const QString general = Text(generalBaudRate.empty() ? kDefaultBaudRate : generalBaudRate);
  for (int index = 0; index < kPortCount; ++index) {
    const TPortChoice& port = ports[index];
    const TSlotRow& row = Rows[index];
    const bool fixed = !port.Environment.empty();
    row.Device->setEditText(Text(fixed ? port.Environment : port.Device));
    row.Device->lineEdit()->setPlaceholderText(Text(port.DefaultPath));
    row.Device->setEnabled(!fixed);
    row.Device->setToolTip(fixed ? kEnvironmentNote : QString());
    row.BaudRate->clear();
    row.BaudRate->addItem("Default (" + general + ")", QString());
    for (const char* rate : kBaudRates) row.BaudRate->addItem(rate, QString(rate));
    ShowBaudRate(row, port.BaudRate);
    onDeviceEdited(index);
  }
}

// A rate written by hand that the list does not hold is shown as it stands.
void TPortsDialog::ShowBaudRate(const TSlotRow& row, const std::string& rate) {
  int item = row.BaudRate->findData(Text(rate));
  if (item < 0) {
    row.BaudRate->addItem(Text(rate), Text(rate));
    item = row.BaudRate->count() - 1;
  }
  row.BaudRate->setCurrentIndex(item);
}

// Refilling a drop-down would put its first entry in the field: what was
// typed is kept.
void TPortsDialog::FillDeviceList(const TSlotRow& row) {
  const QString typed = row.Device->currentText();
  const QSignalBlocker blocker(row.Device);
  row.Device->clear();
  for (const TPortInfo& port : Found)
    row.Device->addItem(Text(PortLabel(port)), Text(PortChoicePath(port)));
  row.Device->setCurrentIndex(-1);
  row.Device->setEditText(typed);
  // The list opens as wide as its longest label, so that makers and serial
  // numbers can be read.
  row.Device->view()->setMinimumWidth(row.Device->view()->sizeHintForColumn(0));
}

TPortChoices TPortsDialog::Ports() const {
  TPortChoices ports = Given;
  for (int index = 0; index < kPortCount; ++index) {
    ports[index].Device = Text(Rows[index].Device->currentText().trimmed());
    if (!Given[index].Environment.empty()) ports[index].Device = Given[index].Device;
    ports[index].BaudRate = Text(Rows[index].BaudRate->currentData().toString());
  }
  return ports;
}

void TPortsDialog::refreshPorts() {
  ShowFound(Lister ? Lister() : std::vector<TPortInfo>());
}

void TPortsDialog::ShowFound(std::vector<TPortInfo> ports) {
  Found = std::move(ports);
  for (const TSlotRow& row : Rows) FillDeviceList(row);
}

void TPortsDialog::onPortWatchTick() {
  if (!Lister) return;
  std::vector<TPortInfo> ports = Lister();
  if (ports != Found) ShowFound(std::move(ports));
}

// The field shows the path that will be stored, not the label.
void TPortsDialog::onDeviceChosen(int index, int item) {
  Rows[index].Device->setEditText(Rows[index].Device->itemData(item).toString());
}

void TPortsDialog::onDeviceEdited(int index) {
  const TSlotRow& row = Rows[index];
  if (!Given[index].Environment.empty()) {
    row.Note->setText(kEnvironmentNote);
    row.Note->setStyleSheet({});
    row.Note->show();
    Problems[index] = false;
  } else {
    const std::string text = Text(row.Device->currentText().trimmed());
    const std::string problem = DeviceTextProblem(text);
    ShowProblem(*row.Note, problem);
    Problems[index] = !problem.empty();
    WatchBroker(index, problem.empty() ? text : std::string());
  }
  Form->OKButton->setEnabled(
      std::none_of(Problems.begin(), Problems.end(), [](bool bad) { return bad; }));
}

// One broker is asked at a time: the one of the slot edited last.
void TPortsDialog::WatchBroker(int index, const std::string& text) {
  if (!IsMqttUrl(text)) {
    if (DirectoryRow == index) {
      Directory.reset();
      DirectoryRow = -1;
      DirectoryUrl.clear();
    }
    return;
  }
  if (DirectoryRow == index && DirectoryUrl == text) return ShowReceivers();
  std::string reason;
  const std::optional<TMqttUrl> url = ParseMqttUrl(text, reason);
  if (!url) return;
  Directory = std::make_unique<TMqttDirectory>(*url);
  Directory->SetChangeHandler([this] { ShowReceivers(); });
  DirectoryRow = index;
  DirectoryUrl = text;
}

void TPortsDialog::ShowReceivers() {
  if (!Directory || Problems[static_cast<size_t>(DirectoryRow)]) return;
  QLabel& note = *Rows[static_cast<size_t>(DirectoryRow)].Note;
  const std::string receivers = MqttReceiversText(Directory->Receivers());
  note.setText(receivers.empty() ? QString() : Text("Receivers here: " + receivers));
  note.setStyleSheet({});
  note.setVisible(!receivers.empty());
}

void TPortsDialog::done(int result) {
  if (result == QDialog::Accepted) {
    if (!Form->OKButton->isEnabled()) return;
    emit portsChanged(Ports());
  }
  Directory.reset();
  DirectoryRow = -1;
  DirectoryUrl.clear();
  QDialog::done(result);
}

void TPortsDialog::setVisible(bool visible) {
  // Centred on the main window at every showing, not only the first.
  if (visible) setAttribute(Qt::WA_Moved, false);
  QDialog::setVisible(visible);
  if (visible)
    Watch->start();
  else
    Watch->stop();
}

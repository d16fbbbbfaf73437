#include "format/FieldFormatsDialog.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTimer>

#include "common/Clock.h"
#include "format/DateTimePattern.h"
#include "format/FieldFormatSettings.h"
#include "ui_FieldFormatsDialog.h"

namespace {

constexpr int kClockInterval = 500;
constexpr double kDateSampleDays = 30;
constexpr double kTimeSampleDays = 0.5;

const double kSampleLatitude = -42.8424769;
const double kSampleLongitude = 147.3083884;
const double kSampleNumber = 12.3456789;

std::string TextOf(const QComboBox* box) {
  return box->currentText().toStdString();
}

// A pattern sample, rendered from the text being edited; an empty text shows nothing.
QString PatternSample(const QComboBox* box, double daysAhead, const TLocaleFormats& locale) {
  const std::string pattern = TextOf(box);
  if (pattern.empty()) return {};
  return QString::fromStdString(FormatDateTime(pattern, Clock::Now() + daysAhead, locale));
}

void SetSample(QLineEdit* sample, const std::string& text) {
  sample->setText(QString::fromStdString(text));
}

}  // namespace

TFieldFormatsDialog::TFieldFormatsDialog(QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::TFieldFormatsDialog>()),
      ClockTimer(new QTimer(this)) {
  ui->setupUi(this);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                 ~Qt::WindowContextHelpButtonHint);
  FitDropDowns();
  setFixedSize(sizeHint().expandedTo(QSize(453, 286)));
  SetUpSamples();
  ClockTimer->setObjectName("ClockTimer");
  ClockTimer->setInterval(kClockInterval);
  connect(ClockTimer, &QTimer::timeout, this, &TFieldFormatsDialog::onClockTick);
  SetFieldFormats(Values);
  ConnectControls();
}

TFieldFormatsDialog::~TFieldFormatsDialog() = default;

// Each drop-down as wide as its longest entry (a pattern typed in may be
// longer and scrolls), and its list at least as wide.
void TFieldFormatsDialog::FitDropDowns() {
  for (QComboBox* box : findChildren<QComboBox*>()) {
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int width = std::max(box->minimumWidth(), box->sizeHint().width());
    box->setMinimumWidth(width);
    box->setMaximumWidth(QWIDGETSIZE_MAX);
    box->view()->setMinimumWidth(width);
  }
}

// The samples sit on the dialog's own background, not on an edit field's.
void TFieldFormatsDialog::SetUpSamples() {
  for (QLineEdit* sample : findChildren<QLineEdit*>(QRegularExpression("Sample[12]$"))) {
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    sample->setPalette(palette);
  }
}

void TFieldFormatsDialog::SetFieldFormats(const TFieldFormats& formats) {
  const QSignalBlocker blocker(this);
  Values = formats;
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    findChild<QComboBox*>(setting.Name)
        ->setEditText(QString::fromStdString(formats.*setting.Member));
  for (const TNumberFormatSetting& setting : kNumberFormatSettings) {
    const int32_t value = formats.*setting.Member;
    if (setting.IsDecimals) {
      // A count beyond the bounds shows, and is used, as the nearest bound.
      auto* decimals = findChild<TDecimalsSpinBox*>(setting.Name);
      decimals->setValue(value);
      Values.*setting.Member = decimals->Decimals();
      continue;
    }
    // A position outside the list leaves the list without a selection.
    auto* box = findChild<QComboBox*>(setting.Name);
    box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
  }
}

// The lists react to the user's choice only (activated), the decimals to every
// change of their text, as typed.
void TFieldFormatsDialog::ConnectControls() {
  connect(ui->OKButton, &QPushButton::clicked, this, &TFieldFormatsDialog::onOkButtonClicked);
  connect(ui->CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  for (const TNumberFormatSetting& setting : kNumberFormatSettings) {
    const auto changed = [this, &setting] { onFormatChanged(setting); };
    if (setting.IsDecimals)
      connect(findChild<TDecimalsSpinBox*>(setting.Name), &TDecimalsSpinBox::decimalsChanged, this,
              changed);
    else
      connect(findChild<QComboBox*>(setting.Name), &QComboBox::activated, this, changed);
  }
}

int TFieldFormatsDialog::ControlValue(const TNumberFormatSetting& setting) const {
  if (setting.IsDecimals) return findChild<TDecimalsSpinBox*>(setting.Name)->Decimals();
  return findChild<QComboBox*>(setting.Name)->currentIndex();
}

void TFieldFormatsDialog::onFormatChanged(const TNumberFormatSetting& setting) {
  Values.*setting.Member = ControlValue(setting);
  emit fieldFormatsChanged(Values);
}

void TFieldFormatsDialog::onClockTick() {
  const TLocaleFormats& locale = Values.Locale;
  ui->DateSample1->setText(PatternSample(ui->DateFormat, 0, locale));
  ui->DateSample2->setText(PatternSample(ui->DateFormat, kDateSampleDays, locale));
  ui->TimeSample1->setText(PatternSample(ui->TimeFormat, 0, locale));
  ui->TimeSample2->setText(PatternSample(ui->TimeFormat, kTimeSampleDays, locale));
  SetSample(ui->PositionSample1, FormatLatitude(kSampleLatitude, Values));
  SetSample(ui->PositionSample2, FormatLongitude(kSampleLongitude, Values));
  SetSample(ui->AltitudeSample1, FormatAltitude(1.0, Values));
  SetSample(ui->AltitudeSample2, FormatAltitude(kSampleNumber, Values));
  SetSample(ui->ValidSample1, FormatValid(true, Values));
  SetSample(ui->ValidSample2, FormatValid(false, Values));
  SetSample(ui->SpeedSample1, FormatSpeed(1.0, Values));
  SetSample(ui->SpeedSample2, FormatSpeed(kSampleNumber, Values));
  SetSample(ui->CourseSample1, FormatCourse(1.0, Values));
  SetSample(ui->CourseSample2, FormatCourse(kSampleNumber, Values));
}

void TFieldFormatsDialog::showEvent(QShowEvent* event) {
  onClockTick();
  ClockTimer->start();
  CentreOverMainWindow();
  QDialog::showEvent(event);
}

// The clock only refreshes samples; while nobody sees them it may sleep.
void TFieldFormatsDialog::hideEvent(QHideEvent* event) {
  ClockTimer->stop();
  QDialog::hideEvent(event);
}

void TFieldFormatsDialog::CentreOverMainWindow() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (owner == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(owner->frameGeometry().center());
  move(frame.topLeft());
}

// Esc is the Cancel button, as if it had been pressed.
void TFieldFormatsDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    ui->CancelButton->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

// Every control as it stands, the patterns included, is the choice; it is
// handed on before the dialog closes with OK, so that whoever stores it on
// acceptance stores this.
void TFieldFormatsDialog::onOkButtonClicked() {
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    Values.*setting.Member = TextOf(findChild<QComboBox*>(setting.Name));
  for (const TNumberFormatSetting& setting : kNumberFormatSettings)
    Values.*setting.Member = ControlValue(setting);
  emit fieldFormatsChanged(Values);
  accept();
}

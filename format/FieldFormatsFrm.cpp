#include "format/FieldFormatsFrm.h"

#include "common/HandlerErrors.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QTimer>

#include "common/Clock.h"
#include "common/Settings.h"
#include "format/DateTimePattern.h"
#include "format/FormatRoutines.h"
#include "format/LocaleFormats.h"
#include "ui_FieldFormatsFrm.h"

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
QString PatternSample(const QComboBox* box, double daysAhead) {
  const std::string pattern = TextOf(box);
  if (pattern.empty()) return {};
  return QString::fromStdString(FormatDateTime(pattern, Clock::Now() + daysAhead));
}

void SetSample(QLineEdit* sample, const std::string& text) {
  sample->setText(QString::fromStdString(text));
}

}  // namespace

TFieldFormatsForm::TFieldFormatsForm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFieldFormatsForm>()), ClockTimer(new QTimer(this)) {
  ui->setupUi(this);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                 ~Qt::WindowContextHelpButtonHint);
  setFixedSize(453, 286);
  // The samples sit on the dialog's own background, not on an edit field's.
  for (QLineEdit* sample : findChildren<QLineEdit*>(QRegularExpression("Sample[12]$"))) {
    QPalette palette = sample->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    sample->setPalette(palette);
  }
  ClockTimer->setObjectName("ClockTimer");
  ClockTimer->setInterval(kClockInterval);
  connect(ClockTimer, &QTimer::timeout, this, &TFieldFormatsForm::ClockTimerTimer);
  FormCreate();
}

TFieldFormatsForm::~TFieldFormatsForm() = default;

void TFieldFormatsForm::FormCreate() {
  FillFromStore();
  ConnectHandlers();
}

void TFieldFormatsForm::FillFromStore() {
  const TFieldFormats stored = StoredFieldFormats();
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    findChild<QComboBox*>(setting.Name)
        ->setEditText(QString::fromStdString(stored.*setting.Member));
  for (const TNumberFormatSetting& setting : kNumberFormatSettings) {
    const int32_t value = stored.*setting.Member;
    if (setting.IsDecimals) {
      findChild<TDecimalsSpinBox*>(setting.Name)->setValue(value);
      continue;
    }
    // A stored position outside the list leaves the list without a selection.
    auto* box = findChild<QComboBox*>(setting.Name);
    box->setCurrentIndex(value >= 0 && value < box->count() ? value : -1);
  }
}

// The lists react to the user's choice only (activated), the decimals to every
// change of their text, as typed.
void TFieldFormatsForm::ConnectHandlers() {
  using Form = TFieldFormatsForm;
  connect(ui->OKButton, &QPushButton::clicked, this, Reported([this] { OKButtonClick(); }));
  connect(ui->CancelButton, &QPushButton::clicked, this, &Form::CancelButtonClick);
  connect(ui->PositionFormat, &QComboBox::activated, this, &Form::PositionFormatChange);
  connect(ui->AltitudeFormat, &QComboBox::activated, this, &Form::AltitudeFormatChange);
  connect(ui->ValidFormat, &QComboBox::activated, this, &Form::ValidFormatChange);
  connect(ui->SpeedFormat, &QComboBox::activated, this, &Form::SpeedFormatChange);
  connect(ui->CourseFormat, &QComboBox::activated, this, &Form::CourseFormatChange);
  connect(ui->PositionDecimals, &TDecimalsSpinBox::DecimalsChanged, this,
          &Form::PositionDecimalsChange);
  connect(ui->AltitudeDecimals, &TDecimalsSpinBox::DecimalsChanged, this,
          &Form::AltitudeDecimalsChange);
  connect(ui->SpeedDecimals, &TDecimalsSpinBox::DecimalsChanged, this, &Form::SpeedDecimalsChange);
  connect(ui->CourseDecimals, &TDecimalsSpinBox::DecimalsChanged, this,
          &Form::CourseDecimalsChange);
}

void TFieldFormatsForm::ClockTimerTimer() {
  ui->DateSample1->setText(PatternSample(ui->DateFormat, 0));
  ui->DateSample2->setText(PatternSample(ui->DateFormat, kDateSampleDays));
  ui->TimeSample1->setText(PatternSample(ui->TimeFormat, 0));
  ui->TimeSample2->setText(PatternSample(ui->TimeFormat, kTimeSampleDays));
  SetSample(ui->PositionSample1, FormatLatitude(kSampleLatitude));
  SetSample(ui->PositionSample2, FormatLongitude(kSampleLongitude));
  SetSample(ui->AltitudeSample1, FormatAltitude(1.0));
  SetSample(ui->AltitudeSample2, FormatAltitude(kSampleNumber));
  SetSample(ui->ValidSample1, FormatValid(true));
  SetSample(ui->ValidSample2, FormatValid(false));
  SetSample(ui->SpeedSample1, FormatSpeed(1.0));
  SetSample(ui->SpeedSample2, FormatSpeed(kSampleNumber));
  SetSample(ui->CourseSample1, FormatCourse(1.0));
  SetSample(ui->CourseSample2, FormatCourse(kSampleNumber));
}

// Refilled from the store at every showing, so that the controls never show
// choices that a Cancel has already taken out of use.
void TFieldFormatsForm::showEvent(QShowEvent* event) {
  FillFromStore();
  ClockTimerTimer();
  ClockTimer->start();
  CentreOverMainWindow();
  QDialog::showEvent(event);
}

// The clock only refreshes samples; while nobody sees them it may sleep.
void TFieldFormatsForm::hideEvent(QHideEvent* event) {
  ClockTimer->stop();
  QDialog::hideEvent(event);
}

void TFieldFormatsForm::CentreOverMainWindow() {
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  if (owner == nullptr) return;
  QRect frame = frameGeometry();
  frame.moveCenter(owner->frameGeometry().center());
  move(frame.topLeft());
}

// Esc is the Cancel button, as if it had been pressed.
void TFieldFormatsForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    ui->CancelButton->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

// The result is set before the writes: a failing write still closes the
// dialog with OK, and the main window then loads whatever the store holds.
void TFieldFormatsForm::OKButtonClick() {
  accept();
  TFieldFormats chosen;
  for (const TTextFormatSetting& setting : kTextFormatSettings)
    chosen.*setting.Member = TextOf(findChild<QComboBox*>(setting.Name));
  for (const TNumberFormatSetting& setting : kNumberFormatSettings) {
    chosen.*setting.Member = setting.IsDecimals
                                 ? findChild<TDecimalsSpinBox*>(setting.Name)->Decimals()
                                 : findChild<QComboBox*>(setting.Name)->currentIndex();
  }
  StoreFieldFormats(chosen);
}

void TFieldFormatsForm::CancelButtonClick() {
  LoadFieldFormats();
  reject();
}

void TFieldFormatsForm::PositionFormatChange() {
  FieldFormats.PositionFormat = ui->PositionFormat->currentIndex();
}

void TFieldFormatsForm::PositionDecimalsChange() {
  FieldFormats.PositionDecimals = ui->PositionDecimals->Decimals();
}

void TFieldFormatsForm::AltitudeFormatChange() {
  FieldFormats.AltitudeFormat = ui->AltitudeFormat->currentIndex();
}

void TFieldFormatsForm::AltitudeDecimalsChange() {
  FieldFormats.AltitudeDecimals = ui->AltitudeDecimals->Decimals();
}

void TFieldFormatsForm::ValidFormatChange() {
  FieldFormats.ValidFormat = ui->ValidFormat->currentIndex();
}

void TFieldFormatsForm::SpeedFormatChange() {
  FieldFormats.SpeedFormat = ui->SpeedFormat->currentIndex();
}

void TFieldFormatsForm::SpeedDecimalsChange() {
  FieldFormats.SpeedDecimals = ui->SpeedDecimals->Decimals();
}

void TFieldFormatsForm::CourseFormatChange() {
  FieldFormats.CourseFormat = ui->CourseFormat->currentIndex();
}

void TFieldFormatsForm::CourseDecimalsChange() {
  FieldFormats.CourseDecimals = ui->CourseDecimals->Decimals();
}

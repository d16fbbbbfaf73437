#include "app/PositionWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "app/ChartPanel.h"
#include "app/PositionScatter.h"
#include "format/PositionText.h"
#include "history/ErrorLines.h"
#include "history/HistoryFigures.h"

namespace {

// Room for the scatter, the error plot and the figures side by side on a
// laptop screen.
constexpr QSize kDefaultSize(1150, 780);

constexpr qint64 kSlowApplyMs = 50;
// A reference farther than this from the fixes is most likely a typing slip
// or one saved at another site.
constexpr double kFarReference = 10'000;

QPushButton* Button(const QString& text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

TPositionWindow::TPositionWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent), Settings(settings) {
  setObjectName("PositionForm");
  setWindowTitle("Position");
  ScatterView = new TPositionScatter(this);
  ErrorsView = new TChartPanel("Error (m)", "m", this);
  ErrorsView->setObjectName("PositionErrors");
  ErrorsView->SetTimeLabelsShown(true);
  auto* plots = new QSplitter(Qt::Vertical, this);
  plots->addWidget(ScatterView);
  plots->addWidget(ErrorsView);
  ErrorsView->setMinimumHeight(180);
  plots->setStretchFactor(0, 2);
  plots->setStretchFactor(1, 1);

  Table = new QTableWidget(0, 3, this);
  Table->setObjectName("PositionFigures");
  Table->setHorizontalHeaderLabels({"Figure", "Measured", "Claimed"});
  Table->verticalHeader()->hide();
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  QPushButton* copy = Button("Copy", "CopyFigures", this);
  connect(copy, &QPushButton::clicked, this, &TPositionWindow::copyFigures);

  auto* side = new QVBoxLayout();
  side->addWidget(MakeReferenceBox());
  side->addWidget(MakeWarning());
  side->addWidget(Table, 1);
  Station = new QLabel(this);
  Station->setObjectName("BaseStation");
  Station->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Station->hide();
  side->addWidget(Station);
  side->addWidget(copy, 0, Qt::AlignRight);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(plots, 3);
  layout->addLayout(side, 2);
  resize(kDefaultSize);

  FixedReference = Settings.PositionReference();
  ShowReferenceFields();
  KeepPlace(Settings, "Position");
  ShowRows();
}

QWidget* TPositionWindow::MakeReferenceBox() {
  auto* box = new QWidget(this);
  auto* form = new QFormLayout(box);
  form->setContentsMargins(0, 0, 0, 0);
  LatitudeEdit = Edit("ReferenceLatitude", box);
  LongitudeEdit = Edit("ReferenceLongitude", box);
  AltitudeEdit = Edit("ReferenceAltitude", box);
  form->addRow("Reference latitude:", LatitudeEdit);
  form->addRow("Reference longitude:", LongitudeEdit);
  form->addRow("Reference altitude (m):", AltitudeEdit);
  auto* buttons = new QHBoxLayout();
  QPushButton* apply = Button("Apply", "ApplyReference", box);
  QPushButton* take = Button("Take mean", "TakeMean", box);
  QPushButton* mean = Button("Use mean", "UseMean", box);
  for (QPushButton* button : {apply, take, mean}) buttons->addWidget(button);
  form->addRow(buttons);
  ReferenceStatus = new QLabel(box);
  ReferenceStatus->setObjectName("ReferenceStatus");
  ReferenceStatus->setWordWrap(true);
  form->addRow(ReferenceStatus);
  connect(apply, &QPushButton::clicked, this, &TPositionWindow::applyTypedReference);
  for (QLineEdit* edit : {LatitudeEdit, LongitudeEdit, AltitudeEdit})
    connect(edit, &QLineEdit::returnPressed, this, &TPositionWindow::applyTypedReference);
  connect(take, &QPushButton::clicked, this, &TPositionWindow::takeMean);
  connect(mean, &QPushButton::clicked, this, &TPositionWindow::useMean);
  return box;
}

QWidget* TPositionWindow::MakeWarning() {
  Warning = new QWidget(this);
  Warning->setObjectName("ReferenceWarning");
  auto* row = new QHBoxLayout(Warning);
  row->setContentsMargins(0, 0, 0, 0);
  WarningText = new QLabel(Warning);
  WarningText->setObjectName("ReferenceWarningText");
  WarningText->setStyleSheet("color: red;");
  QPushButton* mean = Button("Use mean", "WarningUseMean", Warning);
  connect(mean, &QPushButton::clicked, this, &TPositionWindow::useMean);
  row->addWidget(WarningText, 1);
  row->addWidget(mean);
  Warning->hide();
  return Warning;
}

// The warning leaves the reference as the user chose it: a far one may be
// meant, for fixes taken elsewhere.
void TPositionWindow::ShowWarning() {
  const TAccuracy& accuracy = Figures.Accuracy();
  const double distance =
      FixedReference && accuracy.Fixes > 0 ? SurfaceDistance(*FixedReference, accuracy.Mean) : 0;
  const bool far = distance > kFarReference;
  if (far) {
    const QString kilometres =
        QLocale(QLocale::English, QLocale::UnitedStates).toString(std::llround(distance / 1000));
    WarningText->setText(QString("Reference is %1 km from the fixes").arg(kilometres));
  }
  Warning->setVisible(far);
}

void TPositionWindow::ShowHistory(const THistory& history) {
  if (History == &history && HaveRevision && Revision == history.Revision()) return;
  History = &history;
  Revision = history.Revision();
  HaveRevision = true;
  Schedule();
}

// A day of fixes takes a while to work out and draw: past kSlowApplyMs the
// window waits four times that long between refreshes, so that it never
// takes more than a fifth of the time. A short history refreshes at once.
void TPositionWindow::Schedule() {
  if (ApplyPending) return;
  ApplyPending = true;
  qint64 wait = 0;
  if (LastApplyMs > kSlowApplyMs && SinceApply.isValid())
    wait = std::max<qint64>(0, 4 * LastApplyMs - SinceApply.elapsed());
  QTimer::singleShot(static_cast<int>(wait), this, [this] {
    if (ApplyPending) Apply();
  });
}

void TPositionWindow::ShowStation(const std::string& line) {
  const QString text = QString::fromStdString(line);
  if (text == Station->text()) return;
  Station->setText(text);
  Station->setVisible(!text.isEmpty());
}

void TPositionWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (ApplyPending) Apply();
}

void TPositionWindow::Apply() {
  ApplyPending = false;
  QElapsedTimer cost;
  cost.start();
  static const THistory kNoHistory;
  const THistory& history = History ? *History : kNoHistory;
  Figures.Follow(history, FixedReference);
  const TPositionFigures figures{Figures.Accuracy(), Figures.Claimed(), Figures.Shares()};
  Mean = figures.Accuracy.Fixes > 0 ? std::optional(figures.Accuracy.Mean) : std::nullopt;
  ScatterView->Follow(Figures);
  if (Errors.Follow(Figures)) {
    const TErrorLines& errors = Errors.Lines();
    ErrorsView->SetLines(errors.Lines, errors.Dated);
    if (errors.From)
      ErrorsView->SetTimeRange(*errors.From, std::max(*errors.To, *errors.From + 1), errors.Dated);
  }
  ShowWarning();
  TableRows = PositionRows(figures);
  ShowRows();
  LastApplyMs = cost.elapsed();
  SinceApply.start();
}

void TPositionWindow::ShowRows() {
  Table->setRowCount(static_cast<int>(TableRows.size()));
  for (int row = 0; row < Table->rowCount(); ++row) {
    const TPositionRow& values = TableRows[static_cast<size_t>(row)];
    const QString* texts[] = {&values.Figure, &values.Measured, &values.Claimed};
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* item = Table->item(row, column);
      if (!item) Table->setItem(row, column, item = new QTableWidgetItem());
      item->setText(*texts[column]);
    }
  }
}

bool TPositionWindow::applyTypedReference() {
  const std::optional<double> latitude = ParsePosition(LatitudeEdit->text().toStdString(), true);
  const std::optional<double> longitude = ParsePosition(LongitudeEdit->text().toStdString(), false);
  const std::optional<double> altitude = ParseNumber(AltitudeEdit->text().toStdString());
  QString problem;
  if (!latitude)
    problem = "The reference latitude is not a latitude.";
  else if (!longitude)
    problem = "The reference longitude is not a longitude.";
  else if (!altitude)
    problem = "The reference altitude is not a number of metres.";
  if (!problem.isEmpty()) {
    ReferenceStatus->setText(problem);
    return false;
  }
  SetReference(TGeodetic{*latitude, *longitude, *altitude});
  return true;
}

void TPositionWindow::takeMean() {
  if (!Mean) {
    ReferenceStatus->setText("There is no fix to take the mean of yet.");
    return;
  }
  SetReference(Mean);
}

void TPositionWindow::useMean() {
  SetReference(std::nullopt);
}

void TPositionWindow::SetReference(const std::optional<TGeodetic>& reference) {
  FixedReference = reference;
  Settings.StorePositionReference(reference);
  ShowReferenceFields();
  Apply();
}

void TPositionWindow::ShowReferenceFields() {
  if (!FixedReference) {
    for (QLineEdit* edit : {LatitudeEdit, LongitudeEdit, AltitudeEdit}) edit->clear();
    ReferenceStatus->setText("Reference: the mean position.");
    return;
  }
  LatitudeEdit->setText(QString::number(FixedReference->Latitude, 'f', 9));
  LongitudeEdit->setText(QString::number(FixedReference->Longitude, 'f', 9));
  AltitudeEdit->setText(QString::number(FixedReference->Altitude, 'f', 3));
  ReferenceStatus->setText("Reference: fixed.");
}

void TPositionWindow::copyFigures() {
  QApplication::clipboard()->setText(PositionRowsText(TableRows));
}

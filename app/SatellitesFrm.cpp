#include "app/SatellitesFrm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QTableView>
#include <limits>

#include "app/SatellitesTable.h"
#include "app/SatellitesTableBars.h"
#include "app/SkyPlot.h"
#include "common/Settings.h"
#include "ui_SatellitesFrm.h"

namespace {

constexpr const char* kSection = "Windows";
constexpr int32_t kMissing = std::numeric_limits<int32_t>::min();

// A stored place that no screen shows any more (a monitor unplugged) is not
// used: the window would open out of reach.
bool OnSomeScreen(const QRect& rect) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(rect)) return true;
  }
  return false;
}

}  // namespace

TSatellitesForm::TSatellitesForm(QWidget* parent)
    : QWidget(parent, Qt::Window), Form(std::make_unique<Ui::TSatellitesForm>()) {
  Form->setupUi(this);
  TableModel = new TSatellitesTableModel(this);
  Sorted = new QSortFilterProxyModel(this);
  Sorted->setSourceModel(TableModel);
  Sorted->setSortRole(Qt::UserRole);
  Form->SatellitesTable->setModel(Sorted);
  BarsDelegate = new TSatellitesTableBars(*TableModel, this);
  Form->SatellitesTable->setItemDelegateForColumn(TSatellitesTableModel::kSNR, BarsDelegate);
  Form->SatellitesTable->sortByColumn(TSatellitesTableModel::kSystem, Qt::AscendingOrder);
  SizeColumns();
  Form->Splitter->setStretchFactor(0, 2);
  Form->Splitter->setStretchFactor(1, 3);
  Form->Counts->setText(CountsText());
  RestoreGeometry();
}

TSatellitesForm::~TSatellitesForm() = default;

// Widths from the font, once: fitting the columns to their contents would
// measure every row again at each update.
void TSatellitesForm::SizeColumns() {
  QTableView* table = Form->SatellitesTable;
  const QFontMetrics metrics(table->font());
  const int padding = 2 * metrics.horizontalAdvance(QLatin1Char('0'));
  const QString widest[] = {"GLONASS", "0000", "Elevation", "Azimuth", "Used"};
  for (int column = 0; column < TSatellitesTableModel::kSNR; ++column) {
    const QString header =
        TableModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    table->setColumnWidth(column, std::max(metrics.horizontalAdvance(widest[column]),
                                           metrics.horizontalAdvance(header)) +
                                      padding);
  }
  table->horizontalHeader()->setStretchLastSection(true);
  table->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
}

TSkyPlot* TSatellitesForm::Plot() const {
  return Form->SkyPlot;
}

void TSatellitesForm::ShowSky(const TSkyModel& sky) {
  if (HaveRevision && sky.Revision() == Revision) return;
  Revision = sky.Revision();
  HaveRevision = true;
  Satellites = sky.Satellites();
  Entries = sky.Entries();
  Counts = sky.ShownCounts();
  if (!ApplyPending) {
    ApplyPending = true;
    QMetaObject::invokeMethod(this, &TSatellitesForm::Apply, Qt::QueuedConnection);
  }
}

void TSatellitesForm::Apply() {
  if (!ApplyPending || !isVisible()) return;  // showEvent catches up
  ApplyPending = false;
  Form->SkyPlot->SetSatellites(Satellites);
  TableModel->SetSky(Satellites, Entries);
  Form->Counts->setText(CountsText());
}

void TSatellitesForm::Clear() {
  Satellites.clear();
  Entries.clear();
  Counts = {};
  HaveRevision = false;
  ApplyPending = false;
  Form->SkyPlot->Clear();
  TableModel->Clear();
  Form->Counts->setText(CountsText());
}

QString TSatellitesForm::CountsText() const {
  QStringList parts;
  for (int system = 0; system < kSkySystemCount; ++system) {
    const TSkyCount& count = Counts[static_cast<size_t>(system)];
    if (count.InView == 0) continue;
    parts << tr("%1: %2 in view, %3 used")
                 .arg(QString::fromLatin1(SkySystemName(static_cast<TSkySystem>(system))))
                 .arg(count.InView)
                 .arg(count.Used);
  }
  return parts.isEmpty() ? tr("No satellites in view") : parts.join(QStringLiteral("    "));
}

void TSatellitesForm::showEvent(QShowEvent* event) {
  WasShown = true;
  QWidget::showEvent(event);
  Apply();
}

void TSatellitesForm::closeEvent(QCloseEvent* event) {
  SaveGeometry();
  QWidget::closeEvent(event);
}

void TSatellitesForm::RestoreGeometry() {
  const int32_t left = ReadSettingInt(kSection, "SatellitesLeft", kMissing);
  const int32_t top = ReadSettingInt(kSection, "SatellitesTop", kMissing);
  const int32_t width = ReadSettingInt(kSection, "SatellitesWidth", kMissing);
  const int32_t height = ReadSettingInt(kSection, "SatellitesHeight", kMissing);
  if (width > 0 && height > 0)
    resize(std::max(width, minimumSizeHint().width() / 2),
           std::max(height, minimumSizeHint().height() / 2));
  if (left != kMissing && top != kMissing &&
      OnSomeScreen(QRect(left, top, this->width(), this->height())))
    move(left, top);
}

void TSatellitesForm::SaveGeometry() {
  if (!WasShown) return;
  const QRect frame = frameGeometry();
  try {
    WriteSettingInt(kSection, "SatellitesLeft", frame.x());
    WriteSettingInt(kSection, "SatellitesTop", frame.y());
    WriteSettingInt(kSection, "SatellitesWidth", width());
    WriteSettingInt(kSection, "SatellitesHeight", height());
  } catch (const ESettingsError&) {
    // The window opens at its default place next time; nothing to tell.
  }
}

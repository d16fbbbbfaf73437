#include "app/SatellitesWindow.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QTableView>

#include "app/AppSettings.h"
#include "app/SatellitesTable.h"
#include "app/SatellitesTableBars.h"
#include "app/SkyPlot.h"
#include "ui_SatellitesWindow.h"

TSatellitesWindow::TSatellitesWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent), Form(std::make_unique<Ui::TSatellitesWindow>()) {
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
  KeepPlace(settings, "Satellites");
}

TSatellitesWindow::~TSatellitesWindow() = default;

// Widths from the font, once: fitting the columns to their contents would
// measure every row again at each update.
void TSatellitesWindow::SizeColumns() {
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

TSkyPlot* TSatellitesWindow::Plot() const {
  return Form->SkyPlot;
}

void TSatellitesWindow::ShowSky(const TSkyModel& sky) {
  if (HaveRevision && sky.ShownRevision() == Revision) return;
  Revision = sky.ShownRevision();
  HaveRevision = true;
  Satellites = sky.ShownSatellites();
  Entries = sky.ShownEntries();
  Counts = sky.ShownCounts();
  if (!ApplyPending) {
    ApplyPending = true;
    QMetaObject::invokeMethod(this, &TSatellitesWindow::Apply, Qt::QueuedConnection);
  }
}

void TSatellitesWindow::Apply() {
  if (!ApplyPending || !isVisible()) return;  // showEvent catches up
  ApplyPending = false;
  Form->SkyPlot->SetSatellites(Satellites);
  TableModel->SetSky(Satellites, Entries);
  Form->Counts->setText(CountsText());
}

void TSatellitesWindow::Clear() {
  Satellites.clear();
  Entries.clear();
  Counts = {};
  HaveRevision = false;
  ApplyPending = false;
  Form->SkyPlot->Clear();
  TableModel->Clear();
  Form->Counts->setText(CountsText());
}

QString TSatellitesWindow::CountsText() const {
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

void TSatellitesWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Apply();
}

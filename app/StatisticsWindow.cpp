#include "app/StatisticsWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableWidget>

#include "app/AppSettings.h"
#include "app/StatisticsWindowModel.h"
#include "ui_StatisticsWindow.h"

TStatisticsWindow::TStatisticsWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent),
      Form(std::make_unique<Ui::TStatisticsWindow>()),
      Model(new TStatisticsModel(this)) {
  Form->setupUi(this);
  Form->StatsTable->setModel(Model);
  Form->StatsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(Form->ResetButton, &QPushButton::clicked, this, &TStatisticsWindow::resetRequested);
  connect(Form->CopyButton, &QPushButton::clicked, this, &TStatisticsWindow::copyTable);
  ShowStats(TSentenceStats(), 0);
  Form->RelayTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ShowRelayClients({}, false);
  KeepPlace(settings, "Statistics");
}

TStatisticsWindow::~TStatisticsWindow() = default;

void TStatisticsWindow::ShowStats(const TSentenceStats& stats, uint32_t nowMs) {
  Model->SetTable(stats.Table(nowMs));
  Csv = stats.Csv(nowMs);
  Form->DroppedLabel->setText(
      QString("Bytes dropped by the receive buffer: %1").arg(stats.DroppedBytes()));
}

void TStatisticsWindow::ShowRelayClients(const std::vector<TRelayClientCounts>& clients,
                                         bool sharing) {
  QTableWidget& table = *Form->RelayTable;
  table.setVisible(sharing);
  table.setRowCount(static_cast<int>(clients.size()));
  for (int row = 0; row < table.rowCount(); ++row) {
    const TRelayClientCounts& client = clients[static_cast<size_t>(row)];
    const QString texts[] = {QString::fromStdString(client.Address), QString::number(client.Sent),
                             QString::number(client.Dropped)};
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* item = table.item(row, column);
      if (!item) {
        item = new QTableWidgetItem;
        if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
      }
      item->setText(texts[column]);
    }
  }
}

void TStatisticsWindow::copyTable() {
  QGuiApplication::clipboard()->setText(QString::fromLatin1(Csv.data(), Csv.size()));
}

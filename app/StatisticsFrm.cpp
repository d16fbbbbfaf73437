#include "app/StatisticsFrm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableWidget>

#include "app/AppSettings.h"
#include "app/KeptPlace.h"
#include "app/StatisticsFrmModel.h"
#include "ui_StatisticsFrm.h"

TStatisticsForm::TStatisticsForm(const TAppSettings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window),
      Form(std::make_unique<Ui::TStatisticsForm>()),
      Model(new TStatisticsModel(this)) {
  Form->setupUi(this);
  Form->StatsTable->setModel(Model);
  Form->StatsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(Form->ResetButton, &QPushButton::clicked, this, &TStatisticsForm::ResetRequested);
  connect(Form->CopyButton, &QPushButton::clicked, this, &TStatisticsForm::copyTable);
  ShowStats(TSentenceStats(), 0);
  Form->RelayTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  ShowRelayClients({}, false);
  Place = new TKeptPlace(*this, settings, "Statistics");
}

TStatisticsForm::~TStatisticsForm() = default;

void TStatisticsForm::ShowStats(const TSentenceStats& stats, uint32_t nowMs) {
  Model->SetTable(stats.Table(nowMs));
  Csv = stats.Csv(nowMs);
  Form->DroppedLabel->setText(
      QString("Bytes dropped by the receive buffer: %1").arg(stats.DroppedBytes()));
}

void TStatisticsForm::ShowRelayClients(const std::vector<TRelayClientCounts>& clients,
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

void TStatisticsForm::copyTable() {
  QGuiApplication::clipboard()->setText(QString::fromLatin1(Csv.data(), Csv.size()));
}

void TStatisticsForm::SaveGeometry() {
  Place->Save();
}

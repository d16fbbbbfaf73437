#include "app/StatisticsWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

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
  // Reset forgets the clients let go, before the counts start over.
  connect(Form->ResetButton, &QPushButton::clicked, this, [this] {
    std::erase_if(RelayRows, [](const TRelayRow& row) { return !row.Connected; });
    ShowRelayRows();
  });
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
  // UBX and RTCM 3 frames, whose rows stand apart from the lines' total.
  Form->BinaryBytesLabel->setText(QString("Binary bytes: %1").arg(stats.BinaryBytes()));
}

void TStatisticsWindow::ShowRelayClients(const std::vector<TRelayClientCounts>& clients,
                                         bool sharing) {
  Form->RelayTable->setVisible(sharing);
  for (TRelayRow& row : RelayRows) row.Connected = false;
  for (const TRelayClientCounts& client : clients) {
    const auto known = std::find_if(RelayRows.begin(), RelayRows.end(), [&](const TRelayRow& row) {
      return row.Counts.Address == client.Address;
    });
    if (known == RelayRows.end())
      RelayRows.push_back({client, true});
    else
      *known = {client, true};
  }
  ShowRelayRows();
}

void TStatisticsWindow::ShowRelayRows() {
  QTableWidget& table = *Form->RelayTable;
  table.setRowCount(static_cast<int>(RelayRows.size()));
  const QBrush gone = palette().brush(QPalette::Disabled, QPalette::Text);
  const QBrush connected = palette().brush(QPalette::Active, QPalette::Text);
  for (int row = 0; row < table.rowCount(); ++row) {
    const TRelayRow& client = RelayRows[static_cast<size_t>(row)];
    const QString address = QString::fromStdString(client.Counts.Address);
    const QString texts[] = {client.Connected ? address : address + " (disconnected)",
                             QString::number(client.Counts.Sent),
                             QString::number(client.Counts.Dropped)};
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* item = table.item(row, column);
      if (!item) {
        item = new QTableWidgetItem;
        if (column > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
      }
      item->setText(texts[column]);
      item->setForeground(client.Connected ? connected : gone);
    }
  }
}

void TStatisticsWindow::copyTable() {
  QGuiApplication::clipboard()->setText(QString::fromLatin1(Csv.data(), Csv.size()));
}

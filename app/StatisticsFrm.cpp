#include "app/StatisticsFrm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>

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
  Place = new TKeptPlace(*this, settings, "Statistics");
}

TStatisticsForm::~TStatisticsForm() = default;

void TStatisticsForm::ShowStats(const TSentenceStats& stats, uint32_t nowMs) {
  Model->SetTable(stats.Table(nowMs));
  Csv = stats.Csv(nowMs);
  Form->DroppedLabel->setText(
      QString("Bytes dropped by the receive buffer: %1").arg(stats.DroppedBytes()));
}

void TStatisticsForm::copyTable() {
  QGuiApplication::clipboard()->setText(QString::fromLatin1(Csv.data(), Csv.size()));
}

void TStatisticsForm::SaveGeometry() {
  Place->Save();
}

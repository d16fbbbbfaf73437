#include "app/StatisticsFrm.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

#include "app/StatisticsFrmModel.h"
#include "common/Settings.h"
#include "ui_StatisticsFrm.h"

namespace {

constexpr const char* kSection = "Windows";
constexpr int kUnset = -1;

}  // namespace

TStatisticsForm::TStatisticsForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Form(std::make_unique<Ui::TStatisticsForm>()),
      Model(new TStatisticsModel(this)) {
  Form->setupUi(this);
  Form->StatsTable->setModel(Model);
  Form->StatsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(Form->ResetButton, &QPushButton::clicked, this, &TStatisticsForm::ResetRequested);
  connect(Form->CopyButton, &QPushButton::clicked, this, &TStatisticsForm::copyTable);
  ShowStats(TSentenceStats(), 0);
  RestoreGeometry();
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

void TStatisticsForm::RestoreGeometry() {
  const int left = ReadSettingInt(kSection, "StatisticsLeft", kUnset);
  const int top = ReadSettingInt(kSection, "StatisticsTop", kUnset);
  const int width = ReadSettingInt(kSection, "StatisticsWidth", kUnset);
  const int height = ReadSettingInt(kSection, "StatisticsHeight", kUnset);
  if (width > 0 && height > 0) resize(width, height);
  // A place on a screen that is no longer attached is not restored.
  if (left != kUnset && top != kUnset &&
      QGuiApplication::screenAt(QRect(left, top, this->width(), this->height()).center())) {
    move(left, top);
  }
}

void TStatisticsForm::SaveGeometry() {
  try {
    WriteSettingInt(kSection, "StatisticsLeft", x());
    WriteSettingInt(kSection, "StatisticsTop", y());
    WriteSettingInt(kSection, "StatisticsWidth", width());
    WriteSettingInt(kSection, "StatisticsHeight", height());
  } catch (const ESettingsError&) {
  }
}

void TStatisticsForm::closeEvent(QCloseEvent* event) {
  SaveGeometry();
  QWidget::closeEvent(event);
}

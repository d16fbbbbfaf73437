#include "app/ChartsWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "app/AppSettings.h"
#include "app/ChartPanel.h"
#include "app/ChartTicks.h"
#include "app/FixQualityLook.h"
#include "ui_ChartsWindow.h"

namespace {

// A C/N0 plot of more lines than this reads better from its tool tips.
constexpr size_t kMostLegendLines = 12;
const QColor kInterference(220, 0, 0, 50);

// The receiver's jamming verdicts, by TChartData's band value (minus the state).
struct TJammingLook {
  TJammingState State;
  QColor Colour;
};
const TJammingLook kJammingLooks[] = {
    {TJammingState::Unknown, QColor(0xa0, 0xa0, 0xa0)},
    {TJammingState::Ok, QColor(0x2c, 0xa0, 0x2c)},
    {TJammingState::Warning, QColor(0xff, 0xa0, 0x00)},
    {TJammingState::Critical, QColor(0xd6, 0x00, 0x00)},
};

// A column a pixel wide or a little less, on powers of two so that a view
// following a growing history starts over only when its span has doubled.
double ColumnFor(double span, double pixels) {
  const double wanted = std::max(span, 1e-3) / std::max(pixels, 1.0);
  return std::exp2(std::ceil(std::log2(wanted)));
}

}  // namespace

TChartsWindow::TChartsWindow(const TAppSettings& settings, QWidget* parent)
    : TToolWindow(parent), Form(std::make_unique<Ui::TChartsWindow>()) {
  Form->setupUi(this);
  SetUpPanels();
  SetUpControls();
  Form->ShownLabel->setText(ShownText());
  KeepPlace(settings, "Charts");
}

TChartsWindow::~TChartsWindow() = default;

void TChartsWindow::SetUpPanels() {
  const std::pair<QString, QString> plots[kChartPlotCount] = {
      {"C/N0 (dB-Hz)", "dB-Hz"}, {"Satellites", ""}, {"Dilution", ""}, {"Altitude (m)", "m"}};
  const int stretches[kChartPlotCount] = {3, 2, 2, 2};
  for (size_t plot = 0; plot < Panels.size(); ++plot) {
    auto* panel = new TChartPanel(plots[plot].first, plots[plot].second, Form->Plots);
    panel->AddSpanKind(1, "Interference suspected", kInterference, false);
    Form->PlotsLayout->addWidget(panel, stretches[plot]);
    Panels[plot] = panel;
    if (plot == static_cast<size_t>(TChartPlot::CN0)) SetUpJammingStrip();
  }
  // The band is too low for Qt Charts' legend: its legend is a line below.
  Band = new TChartPanel("", "", Form->Plots);
  for (int quality = 0; quality < kFixQualityCount; ++quality) {
    const auto kind = static_cast<TFixQuality>(quality);
    Band->AddSpanKind(quality, FixQualityName(kind), FixQualityQColor(kind), false);
  }
  Band->SetFixedValues(0, 1);
  Band->SetTimeLabelsShown(true);
  Band->HideLegend();
  Band->setFixedHeight(3 * fontMetrics().height() + 8);
  Form->PlotsLayout->addWidget(Band);
  auto* legend = new QLabel(FixQualityLegendHtml(), Form->Plots);
  legend->setObjectName("QualityLegend");
  legend->setAlignment(Qt::AlignCenter);
  Form->PlotsLayout->addWidget(legend);
  for (TChartPanel* panel : Panels) {
    connect(panel, &TChartPanel::zoomed, this, &TChartsWindow::zoom);
    connect(panel, &TChartPanel::dragged, this, &TChartsWindow::pan);
  }
  for (TChartPanel* band : {Band, Strip}) {
    connect(band, &TChartPanel::zoomed, this, &TChartsWindow::zoom);
    connect(band, &TChartPanel::dragged, this, &TChartsWindow::pan);
  }
}

// A thin strip under the C/N0 plot, there only while some epoch carries
// the receiver's verdict: the receiver's own word beside the C/N0 it hears.
void TChartsWindow::SetUpJammingStrip() {
  Strip = new TChartPanel("", "", Form->Plots);
  Strip->setObjectName("JammingStrip");
  for (const TJammingLook& look : kJammingLooks)
    Strip->AddSpanKind(-static_cast<int>(look.State),
                       QString("Jamming %1").arg(JammingStateName(look.State)), look.Colour, false);
  Strip->SetFixedValues(0, 1);
  Strip->HideLegend();
  Strip->setMinimumHeight(0);
  Strip->setFixedHeight(fontMetrics().height() + 10);
  Strip->setToolTip(
      "Jamming as the receiver reports it (UBX MON-RF): green ok, amber warning, "
      "red critical, grey unknown");
  Strip->hide();
  Form->PlotsLayout->addWidget(Strip);
}

void TChartsWindow::SetUpControls() {
  connect(Form->FollowLiveButton, &QPushButton::clicked, this, &TChartsWindow::followLive);
  auto* home = new QShortcut(QKeySequence(Qt::Key_Home), this);
  home->setContext(Qt::WidgetWithChildrenShortcut);
  connect(home, &QShortcut::activated, this, &TChartsWindow::followLive);
  connect(Form->MeanCheck, &QCheckBox::toggled, this, &TChartsWindow::chooseMeans);
  connect(Form->CopyButton, &QPushButton::clicked, this, &TChartsWindow::copyImage);
  connect(Form->SaveButton, &QPushButton::clicked, this, &TChartsWindow::saveImage);
  FillPickLists();
}

void TChartsWindow::SetHistory(const THistory& history) {
  History = &history;
  Refresh();
}

// Live, everything from the first epoch to the newest, at least a minute;
// else the span the user chose.
TChartRange TChartsWindow::ViewRange(double plotWidth) const {
  if (!Live) return {ShownFrom, ShownTo, ColumnFor(ShownTo - ShownFrom, plotWidth)};
  const std::optional<double> first = Series.FirstTime();
  const std::optional<double> last = Series.LastTime();
  const double span = first && last ? std::max(*last - *first, kLiveSpan) : kLiveSpan;
  return {.Column = ColumnFor(span, plotWidth)};
}

void TChartsWindow::Refresh() {
  if (History == nullptr || !isVisible()) return;
  // A new source or replay starts on its own epochs, not on a span zoomed
  // into the last one's.
  if (History->Generation() != Generation) {
    Generation = History->Generation();
    Live = true;
  }
  const double width = Panels[0]->PlotWidth();
  const TChartRange before = ViewRange(width);
  bool changed = Series.Follow(*History, before, Choice);
  // The newest epochs may have widened the live span past its columns.
  const TChartRange range = ViewRange(width);
  if (Live && range != before) changed = Series.Follow(*History, range, Choice) || changed;
  if (changed) ShowSeries();
}

void TChartsWindow::ShowSeries() {
  if (Live) {
    const std::optional<double> first = Series.FirstTime();
    ShownFrom = first.value_or(0);
    ShownTo = std::max(Series.LastTime().value_or(0), ShownFrom + kLiveSpan);
  }
  const bool dated = Series.Dated();
  const std::vector<TChartSpan> interference = Series.Interference().Spans();
  for (size_t plot = 0; plot < Panels.size(); ++plot) {
    const auto& lines = Series.Lines(static_cast<TChartPlot>(plot));
    Panels[plot]->SetLegendShown(lines.size() <= kMostLegendLines);
    Panels[plot]->SetLines(lines, dated);
    Panels[plot]->SetSpans(interference);
    Panels[plot]->SetTimeRange(ShownFrom, ShownTo, dated);
  }
  const std::vector<TChartSpan> jamming = Series.Jamming().Spans();
  Strip->SetSpans(jamming);
  Strip->SetTimeRange(ShownFrom, ShownTo, dated);
  Strip->setVisible(!jamming.empty());
  Band->SetSpans(Series.Quality().Spans());
  Band->SetTimeRange(ShownFrom, ShownTo, dated);
  Form->FollowLiveButton->setChecked(Live);
  Form->ShownLabel->setText(ShownText());
  if (Series.SeenSignals().size() != PickedFrom) FillPickLists();
}

QString TChartsWindow::ShownText() const {
  const std::optional<double> first = Series.FirstTime();
  const std::optional<double> last = Series.LastTime();
  if (History == nullptr || !first || !last) return "No epochs yet";
  const bool dated = Series.Dated();
  QString text = QString("Epochs from %1 to %2 UTC (%L3)")
                     .arg(ChartTimeText(*first, dated), ChartTimeText(*last, dated))
                     .arg(History->Size());
  if (History->First() > 0) text += ": older ones have been let go";
  return text;
}

void TChartsWindow::followLive() {
  Live = true;
  Refresh();
  ShowSeries();
}

void TChartsWindow::zoom(double factor, double at) {
  const double span = std::max((ShownTo - ShownFrom) * factor, kShortestSpan);
  at = std::clamp(at, ShownFrom, ShownTo);
  const double share = ShownTo > ShownFrom ? (at - ShownFrom) / (ShownTo - ShownFrom) : 0.5;
  ShownFrom = at - span * share;
  ShownTo = ShownFrom + span;
  Live = false;
  ShowViewSoon();
}

void TChartsWindow::pan(double seconds) {
  ShownFrom += seconds;
  ShownTo += seconds;
  Live = false;
  ShowViewSoon();
}

// A drag or a spun wheel sends many steps in one turn of the event loop;
// the plots are reduced and drawn again once for all of them.
void TChartsWindow::ShowViewSoon() {
  if (ViewPending) return;
  ViewPending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        ViewPending = false;
        Refresh();
        ShowSeries();
      },
      Qt::QueuedConnection);
}

void TChartsWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void TChartsWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Refresh();
}

#include "app/SeekBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

#include "history/ReplayIndex.h"

namespace {

constexpr double kMinute = 60;

}  // namespace

TSeekBar::TSeekBar(QWidget* parent)
    : QWidget(parent),
      Slider(new QSlider(Qt::Horizontal, this)),
      Start(new QLabel(this)),
      Position(new QLabel(this)),
      End(new QLabel(this)) {
  setObjectName("SeekBar");
  Slider->setObjectName("SeekSlider");
  Position->setObjectName("SeekPosition");
  Start->setObjectName("SeekStart");
  End->setObjectName("SeekEnd");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(Position);
  layout->addWidget(Start);
  layout->addWidget(Slider, 1);
  layout->addWidget(End);
  Slider->setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(Slider);
  Slider->installEventFilter(this);
  connect(Slider, &QSlider::sliderMoved, this,
          [this](int value) { ShowPositionText(static_cast<size_t>(value)); });
  connect(Slider, &QSlider::sliderReleased, this,
          [this] { RequestJump(static_cast<size_t>(Slider->value())); });
  ShowIndexing(0);
}

void TSeekBar::ShowIndexing(int percent) {
  Positions = nullptr;
  Slider->setEnabled(false);
  Slider->setRange(0, 0);
  Start->clear();
  End->clear();
  Position->setText(QString("Indexing %1%").arg(percent));
}

void TSeekBar::SetIndex(const TReplayIndex* index) {
  Positions = index;
  const size_t size = index ? index->Size() : 0;
  WithDates = index && index->SpansDays();
  Slider->setRange(0, static_cast<int>(std::max<size_t>(size, 1) - 1));
  Slider->setPageStep(60);
  Slider->setEnabled(size > 0);
  Start->setText(size ? QString::fromStdString(index->PositionText(0, WithDates)) : QString());
  End->setText(size ? QString::fromStdString(index->PositionText(size - 1, WithDates)) : QString());
  ShowPositionText(0);
}

void TSeekBar::ShowEpoch(size_t epoch) {
  if (!Positions || Slider->isSliderDown()) return;
  Slider->setValue(static_cast<int>(epoch));
  ShowPositionText(epoch);
}

size_t TSeekBar::Epoch() const {
  return static_cast<size_t>(Slider->value());
}

void TSeekBar::ShowPositionText(size_t epoch) {
  if (!Positions) return;
  Position->setText(QString::fromStdString(Positions->PositionText(epoch, WithDates)));
}

void TSeekBar::RequestJump(size_t epoch) {
  if (!Positions || Positions->Size() == 0) return;
  epoch = std::min(epoch, Positions->Size() - 1);
  Slider->setValue(static_cast<int>(epoch));
  ShowPositionText(epoch);
  emit jumpRequested(epoch);
}

// A minute by the log's clock: the first epoch at least that far from here,
// or the last before its time goes the other way (midnight, a new session).
size_t TSeekBar::EpochAfter(size_t epoch, double seconds) const {
  const auto& epochs = Positions->Epochs();
  const double from = epochs[epoch].Seconds;
  const int step = seconds > 0 ? 1 : -1;
  size_t at = epoch;
  while (step > 0 ? at + 1 < epochs.size() : at > 0) {
    const size_t next = at + step;
    const double time = epochs[next].Seconds;
    const double gone = (time - from) * step;
    if (from < 0 || time < 0) return next;  // no clock to go by: one epoch
    if (gone < 0) return at == epoch ? next : at;
    at = next;
    if (gone >= seconds * step) break;
  }
  return at;
}

// The slider's own keys and clicks move it by its steps; here they jump.
bool TSeekBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Slider) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space) {
      emit pauseRequested();
      return true;
    }
    if (!Positions || Positions->Size() == 0) return false;
    const size_t here = Epoch();
    switch (key->key()) {
      case Qt::Key_Right:
        RequestJump(here + 1);
        return true;
      case Qt::Key_Left:
        RequestJump(here > 0 ? here - 1 : 0);
        return true;
      // Page Down goes on through the file, as it goes down a page of text.
      case Qt::Key_PageDown:
        RequestJump(EpochAfter(here, kMinute));
        return true;
      case Qt::Key_PageUp:
        RequestJump(EpochAfter(here, -kMinute));
        return true;
      default:
        return false;
    }
  }
  if (event->type() == QEvent::MouseButtonPress && Positions && Slider->isEnabled()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    QStyleOptionSlider option;
    option.initFrom(Slider);
    option.orientation = Qt::Horizontal;
    option.minimum = Slider->minimum();
    option.maximum = Slider->maximum();
    option.sliderPosition = Slider->sliderPosition();
    const QRect handle = Slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, Slider);
    // A press on the handle starts a drag; anywhere else it jumps there.
    if (handle.contains(mouse->position().toPoint())) return false;
    const int value = QStyle::sliderValueFromPosition(
        Slider->minimum(), Slider->maximum(), mouse->position().toPoint().x() - handle.width() / 2,
        Slider->width() - handle.width());
    Slider->setFocus(Qt::MouseFocusReason);
    RequestJump(static_cast<size_t>(value));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

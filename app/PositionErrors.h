#pragma once
// Under the scatter: each fix's horizontal and up error over the fixes,
// in metres from the reference.

#include <QChartView>
#include <vector>

#include "history/Accuracy.h"

class QLineSeries;
class QValueAxis;

class TPositionErrors : public QChartView {
  Q_OBJECT

 public:
  explicit TPositionErrors(QWidget* parent = nullptr);

  void Show(const std::vector<TLocalPoint>& points);

 private:
  QValueAxis* FixAxis;
  QValueAxis* MetreAxis;
  QLineSeries* Horizontal;
  QLineSeries* Up;
};

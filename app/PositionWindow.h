#pragma once
// The Position window: how good the fix is. A scatter of every fix the
// history holds around a reference (the mean, or one the user fixes), the
// error over time under it, and a table of the figures with what the
// receiver claims beside what was measured. Non-modal, beside the main
// window; its place is kept in section "Windows", the reference in section
// "Position".

#include <QElapsedTimer>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/PositionTable.h"
#include "history/AccuracyFollower.h"
#include "history/EpochHistory.h"
#include "history/ErrorLines.h"

#include "app/ToolWindow.h"

class QLabel;
class QLineEdit;
class QTableWidget;
class TChartPanel;
class TPositionScatter;

class TPositionWindow : public TToolWindow {
  Q_OBJECT

 public:
  explicit TPositionWindow(const TAppSettings& settings, QWidget* parent = nullptr);

  // Follows `history`, which outlives the window. Cheap while it has not
  // changed; the figures catch up once per turn of the event loop (or when
  // the window is shown), however many calls came in it.
  void ShowHistory(const THistory& history);
  // The reference station line under the figures ("Base 1005: ..."); none
  // when empty.
  void ShowStation(const std::string& line);
  // Works the figures out and draws them now.
  void Refresh() { Apply(); }

  // The fixed reference; none while the mean is the reference.
  const std::optional<TGeodetic>& Reference() const { return FixedReference; }
  const std::vector<TPositionRow>& Rows() const { return TableRows; }
  TPositionScatter* Scatter() const { return ScatterView; }

  // The typed reference taken; false (with the reason shown) when a field
  // does not read.
  bool applyTypedReference();
  // The current mean becomes the fixed reference.
  void takeMean();
  // Back to the mean as the reference.
  void useMean();
  void copyFigures();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* MakeReferenceBox();
  QWidget* MakeWarning();
  void ShowWarning();
  void SetReference(const std::optional<TGeodetic>& reference);
  void ShowReferenceFields();
  void Schedule();
  void Apply();
  void ShowRows();

  TAppSettings Settings;
  TPositionScatter* ScatterView;
  TChartPanel* ErrorsView;
  QTableWidget* Table;
  QLineEdit* LatitudeEdit = nullptr;
  QLineEdit* LongitudeEdit = nullptr;
  QLineEdit* AltitudeEdit = nullptr;
  QLabel* ReferenceStatus = nullptr;
  QWidget* Warning = nullptr;
  QLabel* WarningText = nullptr;
  QLabel* Station = nullptr;
  std::optional<TGeodetic> FixedReference;
  std::optional<TGeodetic> Mean;
  std::vector<TPositionRow> TableRows;
  TAccuracyFollower Figures;
  TErrorLinesFollower Errors;
  const THistory* History = nullptr;
  uint64_t Revision = 0;
  bool HaveRevision = false;
  bool ApplyPending = false;
  qint64 LastApplyMs = 0;  // what the last refresh took
  QElapsedTimer SinceApply;
};

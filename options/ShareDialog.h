#pragma once
// "Share received data...": the relay's options. OK hands them back through
// optionsChanged; Cancel leaves everything as it was.

#include <QDialog>
#include <memory>

#include "options/ShareOptions.h"

namespace Ui {
class TShareDialog;
}

class TShareDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TShareDialog(QWidget* parent = nullptr);
  ~TShareDialog() override;

  void SetOptions(const TShareOptions& options);
  TShareOptions Options() const;

 signals:
  void optionsChanged(const TShareOptions& options);

 private:
  void ShowEnabled();

  std::unique_ptr<Ui::TShareDialog> Form;
};

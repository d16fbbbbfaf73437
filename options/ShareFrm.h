#pragma once
// "Share received data...": the relay's options. OK hands them back through
// OptionsChanged; Cancel leaves everything as it was.

#include <QDialog>
#include <memory>

#include "options/ShareOptions.h"

namespace Ui {
class TShareForm;
}

class TShareForm : public QDialog {
  Q_OBJECT

 public:
  explicit TShareForm(QWidget* parent = nullptr);
  ~TShareForm() override;

  void SetOptions(const TShareOptions& options);
  TShareOptions Options() const;

 signals:
  void OptionsChanged(const TShareOptions& options);

 private:
  void ShowEnabled();

  std::unique_ptr<Ui::TShareForm> Form;
};

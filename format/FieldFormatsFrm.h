#pragma once
// Placeholder for the field formats dialog; replaced by the real form.

#include <QDialog>

class TFieldFormatsForm : public QDialog {
  Q_OBJECT

 public:
  explicit TFieldFormatsForm(QWidget* parent = nullptr);
};

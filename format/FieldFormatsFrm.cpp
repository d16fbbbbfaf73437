#include "format/FieldFormatsFrm.h"

TFieldFormatsForm::TFieldFormatsForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Specify Field Formats");
}

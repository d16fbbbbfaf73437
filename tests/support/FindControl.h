#pragma once
// A dialog's control by its object name, failing the test when it is missing.

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>

template <typename T>
T* Control(QWidget& form, const QString& name) {
  T* control = form.findChild<T*>(name);
  EXPECT_NE(control, nullptr) << name.toStdString();
  return control;
}

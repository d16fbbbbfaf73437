#pragma once
// How the main window and its helpers show a modal dialog: exec() in the
// program, an answer given in its place in tests.

#include <QDialog>
#include <functional>

using TModalRunner = std::function<int(QDialog& dialog)>;

inline int RunModal(const TModalRunner& runner, QDialog& dialog) {
  return runner ? runner(dialog) : dialog.exec();
}

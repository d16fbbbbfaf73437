#pragma once
// Help, "User guide": the README, built into the program, shown as Markdown
// in a window of its own.

#include <QString>
#include <QWidget>

#include "app/AppSettings.h"
#include "app/ToolWindow.h"

class QTextBrowser;

class TUserGuideWindow : public TToolWindow {
  Q_OBJECT

 public:
  TUserGuideWindow(const TAppSettings& settings, QWidget* parent = nullptr);

  // The guide built into the program: this README, whatever folder the
  // program runs from (a build tree, a package, an unpacked archive).
  static constexpr const char* kBuiltIn = ":/guide/README.md";

  // Reads the file afresh; an unreadable one says so in the window.
  void Load(const QString& path = kBuiltIn);
  const QTextBrowser& Browser() const { return *Text; }

 private:
  QTextBrowser* Text;
};

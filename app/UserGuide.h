#pragma once
// Help, "User guide": the README, found where the package installs it or
// beside the program, shown as Markdown in a window of its own.

#include <QString>
#include <QStringList>
#include <QWidget>

#include "app/AppSettings.h"

#include "app/ToolWindow.h"

class QTextBrowser;

// Where the README may be, in the order looked at, for a program in
// `programFolder`: the package's copy, one under the program's own prefix,
// then the one beside it (a build or an unpacked archive).
QStringList UserGuideCandidates(const QString& programFolder);
// The first candidate that exists; empty for none.
QString FindUserGuide(const QStringList& candidates);

class TUserGuideWindow : public TToolWindow {
  Q_OBJECT

 public:
  TUserGuideWindow(const TAppSettings& settings, QWidget* parent = nullptr);

  // Reads the file afresh; a missing or unreadable one says so in the window.
  void Load(const QString& path);
  const QTextBrowser& Browser() const { return *Text; }

 private:
  QTextBrowser* Text;
};

#pragma once
// A window beside the main one (Statistics, Satellites, Charts, Position, the
// user guide): made when first opened, it keeps its place between runs in
// section "Windows", opens beside the main window the first time rather than
// over it, and paints at most once a frame however often it is fed.

#include <QWidget>
#include <string>

#include "app/AppSettings.h"

class TKeptPlace;

class TToolWindow : public QWidget {
  Q_OBJECT

 public:
  // Shows the window, in front, with the focus.
  void Open();
  // Writes the window's position and size (as closing it does); a failed
  // write is not reported. Nothing is written for a window never shown.
  void SaveGeometry();

 protected:
  explicit TToolWindow(QWidget* parent);
  // Restores the place kept under `name`; called once the window has laid
  // out its controls, which would otherwise size it anew.
  void KeepPlace(const TAppSettings& settings, std::string name);

 private:
  TKeptPlace* Place = nullptr;
};

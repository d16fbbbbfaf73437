#pragma once
// Help, "About Tolvane": what a bug report needs to say about this copy.

#include <QString>

// The version, the license, the Qt version the program runs on and where
// its settings live, as rich text.
QString AboutText(const QString& version, const QString& qtVersion, const QString& settingsPath);

#pragma once
// The Log to disk and Replay from disk file dialogs: their name filters, and
// the folder and filter they come back to, kept between runs in the
// settings store so that the next log lands beside the last one.

#include <QStringList>
#include <string>

#include "app/AppSettings.h"
#include "app/ModalRunner.h"

class QFileDialog;

// "Text files (*.TXT)", "NMEA logs (*.log *.nmea *.txt *.TXT)" and
// "All files (*.*)".
QStringList LogFileFilters();
// "u-blox logs (*.ubx)", "Binary files (*.bin)" and "All files (*.*)": the
// raw log's; RawLogFilter gives the one of a suffix.
QStringList RawLogFilters();
QString RawLogFilter(const QString& suffix);

// Opens in the folder and with the filter last used, where there are such.
void RecallFilesPlace(QFileDialog& dialog, const TAppSettings& settings);
// Keeps the folder and filter of a dialog closed with a file chosen; a failed
// write is not reported: the dialog opens at its default folder next time.
void KeepFilesPlace(const QFileDialog& dialog, TAppSettings& settings);
// Runs the dialog; the file chosen, in the system's encoding, with the
// dialog's place kept; empty when none was chosen.
std::string ChosenFile(QFileDialog& dialog, const TModalRunner& runner, TAppSettings& settings);

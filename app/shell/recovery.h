#pragma once

#include <QString>

class MainWindow;

// Documents with unsaved changes when the program is ended by a signal (a
// logout, a kill) are kept in a folder of their own beside the settings, with
// an index naming what each one was; the next start offers them back.
namespace Recovery {

// The folder the copies are kept in, for a settings folder.
QString folderFor(const QString &settingsDir);

// Writes a copy of every modified document and the index, each file
// atomically. Returns how many documents were kept.
int keepModifiedDocuments(MainWindow &window, const QString &folder);

// When copies are waiting, asks whether to restore them; restored or
// declined, the copies are removed afterwards.
void offerKeptDocuments(MainWindow &window, const QString &folder);

} // namespace Recovery

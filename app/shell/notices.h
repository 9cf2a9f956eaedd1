#pragma once

#include <QString>

#include <dorvane/app_export.h>

class QWidget;

// Application notices: message boxes titled "Dorvane" with one OK button,
// parented to the main window.

// Shown only when no channel is open.
DORVANE_APP_EXPORT void noticeNoChannel();
// Names the window that runs the periodic sending.
DORVANE_APP_EXPORT void noticePeriodSendBusy();
DORVANE_APP_EXPORT void noticeGeneratorReset();
DORVANE_APP_EXPORT void noticeBuildFailed();

// "Unable to open file: <path>", parented to the given widget.
DORVANE_APP_EXPORT void warnOpenFailed(QWidget *parent, const QString &path);

// "Unable to save file: <path>" with the system's reason on the next line,
// parented to the given widget.
DORVANE_APP_EXPORT void warnSaveFailed(QWidget *parent, const QString &path, const QString &reason);

// A channel that failed to open or went away: a "Dorvane" warning that
// does not hold up the event loop, so the channel's own events keep flowing.
// A warning still on screen takes the new text instead of stacking another.
DORVANE_APP_EXPORT void warnChannelFailed(QWidget *parent, const QString &text);

// What kind of document the open-file dialog asks for; each kind remembers
// its own last-used directory.
enum OpenFileKind {
    OpenTransmitProtocol = 0,
    OpenProtocolSet = 1,
    OpenInstructSet = 3,
};

// The chosen path, empty when the dialog was cancelled.
DORVANE_APP_EXPORT QString askOpenFileName(QWidget *parent, int kind);

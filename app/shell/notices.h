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

// "Unable to open file: <path>", and the reason on a line of its own when
// one is known, parented to the given widget.
DORVANE_APP_EXPORT void warnOpenFailed(QWidget *parent, const QString &path,
                                       const QString &reason = QString());

// Lists the command-line arguments that were not opened, each with why.
DORVANE_APP_EXPORT void warnArgumentsIgnored(QWidget *parent, const QStringList &lines);

// "Unable to save file: <path>" and the reason on a line of its own (the
// likely one, read from the target's place, when none is given), parented to
// the given widget. For every document a window saves.
DORVANE_APP_EXPORT void warnSaveFailed(QWidget *parent, const QString &path,
                                       const QString &reason = QString());

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

#include "shell/notices.h"

#include "services/channeltracker.h"
#include "shell/application.h"
#include "shell/applicationoptions.h"
#include "shell/mainwindow.h"

#include <dorvane/Channel.h>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QWidget *noticeParent()
{
    Application *app = Application::instance();
    return app ? app->mainWindow() : nullptr;
}

void showNotice(QWidget *parent, QMessageBox::Icon icon, const QString &text)
{
    QMessageBox box(icon, QStringLiteral("Dorvane"), text, QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

void noticeNoChannel()
{
    Application *app = Application::instance();
    if (app && app->channelProxy() && app->channelProxy()->isOpen())
        return;
    showNotice(noticeParent(), QMessageBox::Critical,
               QObject::tr("There is no active channel, no protocol can be sent!"));
}

void noticePeriodSendBusy()
{
    Application *app = Application::instance();
    const QString description
        = app && app->channelTracker() ? app->channelTracker()->trackedDescription() : QString();
    showNotice(noticeParent(), QMessageBox::Warning,
               QObject::tr("Periodic sending has been turned on: %1").arg(description));
}

void noticeGeneratorReset()
{
    showNotice(noticeParent(), QMessageBox::Information, QObject::tr("Generator reset done!"));
}

void noticeBuildFailed()
{
    showNotice(noticeParent(), QMessageBox::Critical,
               QObject::tr("A problem occurred during build. Check data validity."));
}

void warnOpenFailed(QWidget *parent, const QString &path, const QString &reason)
{
    QString text = QObject::tr("Unable to open file") + QStringLiteral(": ") + QDir::toNativeSeparators(path);
    if (!reason.isEmpty())
        text += QLatin1Char('\n') + reason;
    showNotice(parent, QMessageBox::Warning, text);
}

void warnArgumentsIgnored(QWidget *parent, const QStringList &lines)
{
    showNotice(parent, QMessageBox::Warning,
               QObject::tr("These command-line arguments were not opened:") + QLatin1Char('\n')
                   + lines.join(QLatin1Char('\n')));
}

void warnSaveFailed(QWidget *parent, const QString &path, const QString &reason)
{
    QString why = reason;
    if (why.isEmpty()) {
        // Most writers report only success; the reason is read from the
        // place the file was to go.
        const QFileInfo file(path);
        const QFileInfo folder(file.absolutePath());
        if (!folder.exists())
            why = QObject::tr("The folder does not exist.");
        else if (!folder.isDir())
            why = QObject::tr("The folder is not a directory.");
        else if (file.exists() && !file.isFile())
            why = QObject::tr("A folder of that name is in the way.");
        else if (file.exists() && !file.isWritable())
            why = QObject::tr("The file is read-only.");
        else if (!folder.isWritable())
            why = QObject::tr("The folder is not writable.");
        else
            why = QObject::tr("The file could not be written; the disk may be full.");
    }
    showNotice(parent, QMessageBox::Warning,
               QObject::tr("Unable to save file") + QStringLiteral(": ") + QDir::toNativeSeparators(path)
                   + QLatin1Char('\n') + why);
}

void warnChannelFailed(QWidget *parent, const QString &text)
{
    QWidget *owner = parent ? parent->window() : noticeParent();
    const QString name = QStringLiteral("ChannelWarning");
    // A box already answered waits hidden for its deletion: only one still on
    // screen takes the new text.
    const QList<QMessageBox *> boxes
        = owner ? owner->findChildren<QMessageBox *>(name, Qt::FindDirectChildrenOnly)
                : QList<QMessageBox *>();
    for (QMessageBox *box : boxes) {
        if (box->isVisible()) {
            box->setText(text);
            box->raise();
            return;
        }
    }
    auto *box
        = new QMessageBox(QMessageBox::Warning, QStringLiteral("Dorvane"), text, QMessageBox::Ok, owner);
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

QString askOpenFileName(QWidget *parent, int kind)
{
    Application *app = Application::instance();
    ApplicationOptions *options = app ? app->options() : nullptr;

    QString caption;
    QString filter;
    QString *lastDir = nullptr;
    switch (kind) {
    case OpenTransmitProtocol:
        caption = QObject::tr("Open protocol");
        filter = QObject::tr("Dorvane tx-protocol (*.dvptc)");
        lastDir = options ? &options->lastProtocolDir : nullptr;
        break;
    case OpenProtocolSet:
        caption = QObject::tr("Open protocol set");
        filter = QObject::tr("Dorvane protocol set (*.dvpts)");
        lastDir = options ? &options->lastSolutionDir : nullptr;
        break;
    case OpenInstructSet:
        caption = QObject::tr("Open instruct set");
        filter = QObject::tr("Dorvane instruct set (*.dvits)");
        lastDir = options ? &options->lastInstructSetDir : nullptr;
        break;
    default:
        return QString();
    }

    const QString path
        = QFileDialog::getOpenFileName(parent, caption, lastDir ? *lastDir : QString(), filter);
    if (!path.isEmpty() && lastDir)
        *lastDir = QFileInfo(path).absolutePath();
    return path;
}

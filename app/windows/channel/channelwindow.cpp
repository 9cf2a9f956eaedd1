#include "windows/channel/channelwindow.h"

#include "shell/notices.h"
#include "shell/services.h"
#include "windows/channel/netchannelwidget.h"
#include "windows/channel/serialchannelwidget.h"
#include "windows/common/elidedlabel.h"

#include <dorvane/Channel.h>
#include <dorvane/WdxWidgets.h>

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QPixmap statusPixmap(bool open)
{
    const QString path = QStringLiteral(":/Resources/statusbar/%1.png")
                             .arg(open ? QStringLiteral("connect") : QStringLiteral("disconnect"));
    return QIcon(path).pixmap(QSize(16, 16));
}

} // namespace

ChannelWindow::ChannelWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_channel(services.channel)
{
    auto *workspace = new QWidget(this);
    workspace->setObjectName(QStringLiteral("Workspace"));
    workspace->setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QVBoxLayout(workspace);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);

    auto *frame = new QFrame(workspace);
    frame->setObjectName(QStringLiteral("ChannleFrame"));
    auto *serialButton
        = Wdx::createPushButton(tr("Serialport"), QStringLiteral("ComChannelButton"), true, true, frame);
    auto *netButton
        = Wdx::createPushButton(tr("Network"), QStringLiteral("NetChannelButton"), true, false, frame);
    auto *buttons = new QHBoxLayout(frame);
    buttons->setContentsMargins(0, 7, 0, 0);
    buttons->setSpacing(0);
    buttons->addStretch(1);
    buttons->addWidget(serialButton);
    buttons->addWidget(netButton);
    buttons->addStretch(1);
    m_pageButtons = Wdx::createButtonGroup(this, {serialButton, netButton}, true);
    layout->addWidget(frame);

    m_serialWidget = new SerialChannelWidget(services.options, services.channel);
    m_netWidget = new NetChannelWidget(services.options, services.channel);
    m_pages = new QStackedWidget(workspace);
    // Each page scrolls its own controls, its button always in view.
    m_pages->addWidget(m_serialWidget);
    m_pages->addWidget(m_netWidget);
    m_pages->setCurrentIndex(0);
    layout->addWidget(m_pages, 1);
    connect(serialButton, &QPushButton::clicked, this, [this] {
        m_pages->setCurrentIndex(0);
        clearChannelNotes();
    });
    connect(netButton, &QPushButton::clicked, this, [this] {
        m_pages->setCurrentIndex(1);
        clearChannelNotes();
    });

    setCentralWidget(workspace);

    m_statusWidget = new WdxInfoBar(this);
    m_statusWidget->setObjectName(QStringLiteral("ChannelStatus"));
    m_statusWidget->clearSpace(true, false);
    m_statusIcon = m_statusWidget->addIcon(QIcon(), QSize(16, 16));
    m_statusIcon->setPixmap(statusPixmap(false));
    // Long texts (a port's reason, a peer that closed) are cut to the room
    // the bar has, never widening the main window or pushing the counters out.
    m_statusText = new ElidedLabel(tr("No Active Channel"), m_statusWidget);
    m_statusWidget->addWidget(m_statusText);
    m_statusText->setObjectName(QStringLiteral("ChannelProfile"));
    m_statusError = new ElidedLabel(QString(), m_statusWidget);
    m_statusWidget->addWidget(m_statusError);
    m_statusError->setObjectName(QStringLiteral("ChannelError"));
    m_statusError->hide();
    m_statusNote = new ElidedLabel(QString(), m_statusWidget);
    m_statusWidget->addWidget(m_statusNote);
    m_statusNote->setObjectName(QStringLiteral("ChannelNote"));
    // The profile keeps its room; the note's tool tip holds all of it.
    m_statusNote->setMaximumWidth(340);
    m_statusNote->hide();

    // One channel, two pages: whichever page opened or closed it, both
    // show the truth, so neither offers to open what is already open.
    connect(m_serialWidget, &SerialChannelWidget::channelOpenStateChanged, this, [this](bool open) {
        if (open)
            m_netWidget->showOpened();
        else if (m_netWidget->hasOpenLook())
            m_netWidget->showClosed();
        updateChannelStatus(open);
    });
    connect(m_netWidget, &NetChannelWidget::channelOpenStateChanged, this, [this](bool open) {
        m_serialWidget->setOpenLook(open);
        updateChannelStatus(open);
    });
    connect(m_serialWidget, &SerialChannelWidget::channelFailed, this,
            [this](const QString &message) { showChannelError(message, false); });
    connect(m_netWidget, &NetChannelWidget::channelFailed, this,
            [this](const QString &message) { showChannelError(message, false); });
    // What was said about the last channel goes stale as soon as the user
    // changes what the next one will be.
    connect(m_serialWidget, &ChannelPage::parametersEdited, this, &ChannelWindow::clearChannelNotes);
    connect(m_netWidget, &ChannelPage::parametersEdited, this, &ChannelWindow::clearChannelNotes);
    connect(m_netWidget, &ChannelPage::channelEnded, this,
            [this](const QString &note) { m_statusText->setText(tr("No Active Channel (%1)").arg(note)); });
    // A channel that reconnects by itself says so in the status bar alone:
    // a box for every replug would be in the way.
    connect(&m_channel, &ChannelProxy::channelError, this, [this](const QString &message) {
        showChannelError(message, !m_channel.channelParams().autoReconnect);
    });
    connect(&m_channel, &ChannelProxy::serialLineUnavailable, this, &ChannelWindow::onLineUnavailable);
    connect(&m_channel, &ChannelProxy::baudRateMismatch, this, &ChannelWindow::onBaudRateMismatch);
    connect(&m_channel, &ChannelProxy::reconnectingChanged, this, &ChannelWindow::onReconnectingChanged);
}

ChannelWindow::~ChannelWindow() = default;

void ChannelWindow::updateChannelStatus(bool isOpen)
{
    m_statusIcon->setPixmap(statusPixmap(isOpen));
    if (isOpen) {
        m_statusText->setText(m_channel.channelProfile());
        // Why the connection was lost stays while it is being made again.
        if (!m_channel.isReconnecting())
            showChannelError(QString(), false);
    } else {
        m_statusText->setText(tr("No Active Channel"));
        clearLineNote();
    }
}

void ChannelWindow::onLineUnavailable(const QString &what, const QString &reason)
{
    // The counters belong to the link figures; here only what the user drives or watches.
    if (what == QLatin1String("Error counters"))
        return;
    const QPair<QString, QString> note(what, reason);
    if (!m_unavailable.contains(note))
        m_unavailable.append(note);
    showLineNote();
}

void ChannelWindow::onBaudRateMismatch(qint32 requested, qint32 actual)
{
    m_baudNote = tr("The driver set %1 baud instead of %2").arg(actual).arg(requested);
    showLineNote();
}

void ChannelWindow::onReconnectingChanged(bool reconnecting)
{
    if (reconnecting) {
        m_statusIcon->setPixmap(statusPixmap(false));
        m_statusText->setText(tr("Reconnecting …"));
        clearLineNote();
    } else if (m_channel.isOpen()) {
        updateChannelStatus(true);
    }
}

void ChannelWindow::showLineNote()
{
    QStringList parts;
    if (!m_baudNote.isEmpty())
        parts << m_baudNote;
    if (!m_unavailable.isEmpty()) {
        // One reason once, after all it holds back: "Modem lines, RTS, DTR
        // (Inappropriate ioctl for device)".
        QStringList reasons;
        QList<QStringList> whats;
        for (const auto &[what, reason] : qAsConst(m_unavailable)) {
            int index = reasons.indexOf(reason);
            if (index < 0) {
                reasons << reason;
                whats << QStringList();
                index = reasons.size() - 1;
            }
            if (!whats[index].contains(what))
                whats[index] << what;
        }
        QStringList groups;
        for (int i = 0; i < reasons.size(); ++i)
            groups << QStringLiteral("%1 (%2)").arg(whats.at(i).join(QStringLiteral(", ")), reasons.at(i));
        parts << tr("Not on this port: %1").arg(groups.join(QStringLiteral("; ")));
    }
    m_statusNote->setText(parts.join(QStringLiteral(" | ")));
    m_statusNote->setVisible(!parts.isEmpty());
}

void ChannelWindow::clearLineNote()
{
    m_unavailable.clear();
    m_baudNote.clear();
    showLineNote();
}

QString ChannelWindow::lineNote() const
{
    return m_statusNote->isVisible() ? m_statusNote->text() : QString();
}

void ChannelWindow::clearChannelNotes()
{
    showChannelError(QString(), false);
    if (!m_channel.isOpen())
        m_statusText->setText(tr("No Active Channel"));
}

QString ChannelWindow::statusText() const
{
    return m_statusText->text();
}

QString ChannelWindow::statusError() const
{
    return m_statusError->toolTip();
}

void ChannelWindow::showChannelError(const QString &message, bool warn)
{
    m_statusError->setText(message);
    m_statusError->setVisible(!message.isEmpty());
    if (warn && !message.isEmpty())
        warnChannelFailed(this, message);
}

#include "windows/protocoleditor/txprotocolbuildbar.h"

#include "services/periodsendcontroller.h"
#include "services/streamsender.h"
#include "shell/notices.h"
#include "shell/services.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QIcon>
#include <QSpinBox>
#include <QToolButton>

#include <algorithm>

TxProtocolBuildBar::TxProtocolBuildBar(const Services &services, QObject *owner, const QString &description,
                                       QWidget *parent)
    : WdxToolBar(tr("Build"), parent)
    , m_periodSend(&services.periodSend)
    , m_channel(services.channel)
    , m_sender(services.protocolEditorSender)
    , m_owner(owner)
    , m_description(description)
{
    setObjectName(QStringLiteral("ProtocolBuildToolBar"));
    setIconSize(QSize(16, 16));
    m_resetButton
        = addToolButton(tr("Reset Generator"), QIcon(QStringLiteral(":/Resources/protocol/reset.png")));
    m_resetButton->setObjectName(QStringLiteral("ResetGeneratorButton"));
    m_resetButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_resetButton->setToolTip(tr("Reset Generator"));
    addSeparator();
    m_periodButton = addToolButton(tr("Enable Period Send"),
                                   QIcon(QStringLiteral(":/Resources/explorer/psend.png")), true, false);
    m_periodButton->setObjectName(QStringLiteral("PeriodSendButton"));
    // The dock is narrow: pictures say what these two do, tips name them.
    m_periodButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_periodButton->setToolTip(tr("Enable Period Send"));
    m_intervalSpin = addSpinBox(1, 60000, 1000, 64, true, tr(" (ms)"));
    m_intervalSpin->setObjectName(QStringLiteral("IntervalSpin"));
    m_intervalSpin->setMinimumWidth(std::max(64, m_intervalSpin->sizeHint().width()));
    m_intervalSpin->setToolTip(tr("Period of the periodic sending"));
    addSeparator();
    m_sendButton = addToolButton(tr("Send"), QIcon(QStringLiteral(":/Resources/toolbar/send.png")));
    m_sendButton->setObjectName(QStringLiteral("SendButton"));
    connect(m_resetButton, &QToolButton::clicked, this, &TxProtocolBuildBar::resetGenerators);
    connect(m_sendButton, &QToolButton::clicked, this, &TxProtocolBuildBar::sendClicked);
    connect(m_periodSend, &PeriodSendController::stateChanged, this,
            &TxProtocolBuildBar::onPeriodSendStateChanged);
}

void TxProtocolBuildBar::setDocumentReady(bool ready)
{
    m_resetButton->setEnabled(ready);
    m_sendButton->setEnabled(ready);
}

bool TxProtocolBuildBar::send(const TxProtocol *protocol, int column, bool columnChanged)
{
    if (!m_channel.isOpen()) {
        noticeNoChannel();
        return false;
    }
    StreamSender *sender = &m_sender;
    const bool periodic = m_periodButton->isChecked();
    // Stopping our own periodic sending needs no build: a document that no
    // longer builds must not keep it running.
    if (periodic && m_periodSend->stop(m_owner))
        return false;

    bool built = false;
    if (protocol && (columnChanged || column != m_builtColumn)) {
        sender->clear();
        m_builtColumn = -1;
        if (column < 0 || !sender->addStream(protocol, column)) {
            noticeBuildFailed();
            return false;
        }
        m_builtColumn = column;
        built = true;
    }

    if (!periodic) {
        sender->selectAll();
        // A frame without bytes is a failed build too: nothing went out.
        if (!sender->sendNext()) {
            sender->clear();
            m_builtColumn = -1;
            noticeBuildFailed();
            return false;
        }
    } else if (m_periodSend->runs()) {
        noticePeriodSendBusy();
    } else {
        sender->selectAll();
        if (!m_periodSend->start(m_owner, m_description, sender, m_intervalSpin->value()))
            noticePeriodSendBusy();
    }
    return built;
}

void TxProtocolBuildBar::resetGenerators()
{
    m_sender.resetGenerators();
    // Resetting cannot fail: a note in the status line, no dialog to close.
    emit statusMessage(tr("Generator reset done!"));
}

void TxProtocolBuildBar::onPeriodSendStateChanged(QObject *sender, bool running)
{
    if (sender != m_owner)
        return;
    m_sendButton->setIcon(QIcon(running ? QStringLiteral(":/Resources/toolbar/stop.png")
                                        : QStringLiteral(":/Resources/toolbar/send.png")));
    m_sendButton->setText(running ? tr("Stop Send") : tr("Send"));
    m_periodButton->setEnabled(!running);
}

#pragma once

#include <dorvane/app_export.h>
#include <dorvane/wdxtoolbar.h>

struct Services;
class StreamSender;
class ChannelProxy;
class PeriodSendController;
class QSpinBox;
class QToolButton;
class TxProtocol;

// The protocol editor's "Build" tool bar: reset of the generators, periodic
// sending with its interval, and Send. It builds the current value column
// into the editor's stream sender and sends its frames, once per click or
// periodically; the channel tracker tells it when the periodic sending that
// its owner started stops.
class DORVANE_APP_EXPORT TxProtocolBuildBar : public WdxToolBar
{
    Q_OBJECT

public:
    // owner is the window the channel tracker records as the sender.
    TxProtocolBuildBar(const Services &services, QObject *owner, const QString &description,
                       QWidget *parent = nullptr);

    // Reset and Send are offered while the document has fields.
    void setDocumentReady(bool ready);

    // Sends the column's next frame, or starts or stops the periodic sending.
    // The column is built first when it changed since it was last built or
    // another column was. True when it was built afresh; a build failure is
    // reported to the user and nothing is sent.
    bool send(const TxProtocol *protocol, int column, bool columnChanged);
    // The stream held no longer matches any column.
    void forgetBuild() { m_builtColumn = -1; }

    QToolButton *resetButton() const { return m_resetButton; }
    QToolButton *periodButton() const { return m_periodButton; }
    QSpinBox *intervalSpin() const { return m_intervalSpin; }
    QToolButton *sendButton() const { return m_sendButton; }

signals:
    void sendClicked();
    // A passing note for the editor's status line, such as a reset.
    void statusMessage(const QString &text);

private:
    void resetGenerators();
    void onPeriodSendStateChanged(QObject *sender, bool running);

    PeriodSendController *m_periodSend;
    ChannelProxy &m_channel;
    StreamSender &m_sender;
    QObject *m_owner;
    QString m_description;
    // The column whose stream the sender holds; -1 for none.
    int m_builtColumn = -1;
    QToolButton *m_resetButton;
    QToolButton *m_periodButton;
    QSpinBox *m_intervalSpin;
    QToolButton *m_sendButton;
};

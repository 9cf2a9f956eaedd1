#include "windows/dialogue/dialoguewindow.h"

#include "shell/applicationoptions.h"
#include "windows/dialogue/dialoguecapture.h"
#include "windows/dialogue/echobreakwidget.h"
#include "windows/dialogue/echofindbar.h"
#include "windows/dialogue/echooptionwidget.h"
#include "windows/dialogue/echorulerwidget.h"
#include "windows/dialogue/echotextedit.h"

#include <dorvane/Channel.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon dialogueIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/Resources/dialogue/%1.png").arg(name));
}

QString onOff(bool on, const char *whenOn, const char *whenOff)
{
    return QLatin1String(on ? whenOn : whenOff);
}

// Asks where and how to capture: the file (its extension picks the
// format), append or new, and the rotation size.
class CaptureDialog : public QDialog
{
public:
    explicit CaptureDialog(QWidget *parent)
        : QDialog(parent)
    {
        setWindowTitle(DialogueWindow::tr("Log to File"));
        auto *form = new QFormLayout(this);
        auto *row = new QHBoxLayout;
        path = new QLineEdit(this);
        path->setObjectName(QStringLiteral("CapturePath"));
        path->setPlaceholderText(DialogueWindow::tr("capture.log, capture.bin or capture.pcapng"));
        auto *browse = new QPushButton(DialogueWindow::tr("Browse..."), this);
        row->addWidget(path, 1);
        row->addWidget(browse);
        form->addRow(DialogueWindow::tr("File:"), row);
        append = new QCheckBox(DialogueWindow::tr("Append to an existing file"), this);
        append->setObjectName(QStringLiteral("CaptureAppend"));
        form->addRow(QString(), append);
        rotate = new QSpinBox(this);
        rotate->setObjectName(QStringLiteral("CaptureRotate"));
        rotate->setRange(0, 1000000);
        rotate->setSuffix(DialogueWindow::tr(" MB"));
        rotate->setSpecialValueText(DialogueWindow::tr("Never"));
        form->addRow(DialogueWindow::tr("New file every:"), rotate);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(browse, &QPushButton::clicked, this, [this]() {
            const QString name = QFileDialog::getSaveFileName(
                this, DialogueWindow::tr("Log to File"), path->text(),
                DialogueWindow::tr("Text log (*.log);;Raw received bytes (*.bin);;Packet capture (*.pcapng)"),
                nullptr, QFileDialog::DontConfirmOverwrite);
            if (!name.isEmpty())
                path->setText(name);
        });
        resize(520, sizeHint().height());
    }

    QLineEdit *path = nullptr;
    QCheckBox *append = nullptr;
    QSpinBox *rotate = nullptr;
};

} // namespace

DialogueWindow::DialogueWindow(const ApplicationOptions &options, ChannelProxy *channel, QWidget *parent)
    : QMainWindow(parent)
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Workspace"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_edit = new EchoTextEdit(options.dialogueSettingsFile, central);
    m_edit->setObjectName(QStringLiteral("DialogueEdit"));
    m_edit->setFont(options.echoFont);
    // Echo is on and picking off at every start, whatever was stored.
    m_edit->setEchoRx(true);
    m_edit->setEchoTx(true);
    m_edit->setInterpretEnabled(0, false);
    m_edit->setInterpretEnabled(1, false);
    m_edit->setInterpretTrigger(0);

    m_ruler = new EchoRulerWidget(m_edit, central);
    m_ruler->setObjectName(QStringLiteral("EchoRuler"));
    m_ruler->hide();
    layout->addWidget(m_ruler);
    layout->addWidget(m_edit, 1);
    m_findBar = new EchoFindBar(m_edit, central);
    m_findBar->hide();
    layout->insertWidget(0, m_findBar);
    auto *find = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, this, &DialogueWindow::showFindBar);
    setCentralWidget(central);

    connect(m_ruler, &EchoRulerWidget::noniusCreated, m_edit, &EchoTextEdit::addNoniusLine);
    connect(m_ruler, &EchoRulerWidget::noniusDeleted, m_edit, &EchoTextEdit::removeNoniusLine);
    connect(m_ruler, &EchoRulerWidget::noniusMoved, m_edit, &EchoTextEdit::moveNoniusLine);
    connect(m_edit, &EchoTextEdit::fontChanged, this, &DialogueWindow::onEchoFontChanged);
    connect(m_edit, &EchoTextEdit::interpretDataChanged, this, &DialogueWindow::interpretDataChanged);

    if (channel) {
        // The steady µs stamp follows each chunk's echo.
        connect(channel, &ChannelProxy::chunkArrived, m_edit, [this](const ChannelChunk &chunk) {
            m_edit->stampLatest(EchoTextEdit::Received, chunk.time, chunk.bytes.size(), chunk.monotonicUs,
                                chunk.source);
        });
        connect(channel, &ChannelProxy::chunkWritten, m_edit, [this](const ChannelChunk &chunk) {
            m_edit->stampLatest(EchoTextEdit::Transmitted, chunk.time, chunk.bytes.size(), chunk.monotonicUs,
                                chunk.source);
        });
        // A TCP server's clients coming and going, between their chunks.
        connect(channel, &ChannelProxy::tcpClientConnected, m_edit,
                [this](const QString &client) { m_edit->echoNote(tr("Client %1 connected").arg(client)); });
        connect(channel, &ChannelProxy::tcpClientDisconnected, m_edit, [this](const QString &client) {
            m_edit->echoNote(tr("Client %1 disconnected").arg(client));
        });
        connect(channel, &ChannelProxy::tcpClientWaiting, m_edit, [this](const QString &client) {
            m_edit->echoNote(tr("Client %1 waiting: three clients are connected").arg(client));
        });
    }
    m_capture = new DialogueCapture(channel, this);
    connect(m_capture, &DialogueCapture::captureFailed, this, &DialogueWindow::onCaptureFailed);
    m_captureStatus = new QLabel(this);
    m_captureStatus->setObjectName(QStringLiteral("CaptureStatus"));
    statusBar()->addWidget(m_captureStatus, 1);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->hide();
    m_captureTimer = new QTimer(this);
    m_captureTimer->setInterval(500);
    connect(m_captureTimer, &QTimer::timeout, this, &DialogueWindow::updateCaptureStatus);

    createToolBar();
}

QAction *DialogueWindow::addToolAction(const QString &text, const char *icon, void (DialogueWindow::*slot)())
{
    QAction *action = m_toolBar->QToolBar::addAction(dialogueIcon(QLatin1String(icon)), text);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void DialogueWindow::createToolBar()
{
    m_toolBar = new WdxToolBar(tr("Standard"), this);
    m_toolBar->setObjectName(QStringLiteral("DialogueToolBar"));
    m_toolBar->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    m_echoModeAction = addToolAction(tr("Switch Echo Mode"), "mode-hex", &DialogueWindow::onSwitchEchoMode);
    m_echoModeAction->setToolTip(tr("Echo Mode: Hex"));
    m_toolBar->addSeparator();
    addToolAction(tr("Clear Dialogue"), "clear", &DialogueWindow::onClearEchoText);
    m_toolBar->addSeparator();
    m_echoRxAction = addToolAction(tr("Echo Rx Data"), "rx-enable", &DialogueWindow::onEchoRxData);
    m_echoTxAction = addToolAction(tr("Echo Tx Data"), "tx-enable", &DialogueWindow::onEchoTxData);
    m_toolBar->addSeparator();

    m_labelAction = m_toolBar->addWidgetAction(
        tr("Display Timestamp"), dialogueIcon(onOff(m_edit->displayLabel(), "echo-enable", "echo-disable")),
        new EchoOptionWidget(m_edit));
    if (auto *button = qobject_cast<QToolButton *>(m_labelAction->parent()))
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(m_labelAction, &QAction::triggered, this, &DialogueWindow::onDisplayLabel);
    m_newLineAction
        = addToolAction(tr("Show data on a new line"), m_edit->dataInNewLine() ? "newline-on" : "newline-off",
                        &DialogueWindow::onEchoDataInNewLine);
    m_toolBar->addSeparator();

    QAction *insertBreak
        = m_toolBar->addWidgetAction(tr("Insert Break"), QIcon(), new EchoBreakWidget(m_edit));
    if (auto *button = qobject_cast<QToolButton *>(insertBreak->parent())) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // Room for the drop-down arrow beside the text.
        button->setMinimumWidth(button->sizeHint().width() + 14);
    }
    connect(insertBreak, &QAction::triggered, this, &DialogueWindow::onInsertBreak);
    m_toolBar->addSeparator();

    m_wrapAction = addToolAction(tr("Auto Line Wrap"), "hscroll-show", &DialogueWindow::onAutoLineWrapMode);
    m_toolBar->addSeparator();
    m_rulerAction = addToolAction(tr("Ruler"), "ruler", &DialogueWindow::onShowRuler);
    addToolAction(tr("Ruler Clear"), "ruler-clear", &DialogueWindow::onClearRuler);
    // Pausing and capturing get a row of their own: the standard row fills
    // the dock's width at 1200 × 700.
    addToolBarBreak(Qt::TopToolBarArea);
    m_captureBar = new WdxToolBar(tr("Capture"), this);
    m_captureBar->setObjectName(QStringLiteral("DialogueCaptureBar"));
    m_captureBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(Qt::TopToolBarArea, m_captureBar);
    m_pauseAction = m_captureBar->QToolBar::addAction(tr("Pause View"));
    m_pauseAction->setObjectName(QStringLiteral("PauseViewAction"));
    m_pauseAction->setCheckable(true);
    connect(m_pauseAction, &QAction::toggled, m_edit, &EchoTextEdit::setPaused);
    auto *find = m_captureBar->QToolBar::addAction(tr("Find"));
    find->setToolTip(
        tr("Find (%1)").arg(QKeySequence(QKeySequence::Find).toString(QKeySequence::NativeText)));
    connect(find, &QAction::triggered, this, &DialogueWindow::showFindBar);
    m_captureAction = m_captureBar->QToolBar::addAction(tr("Log to File"));
    m_captureAction->setObjectName(QStringLiteral("LogToFileAction"));
    m_captureAction->setCheckable(true);
    connect(m_captureAction, &QAction::triggered, this, &DialogueWindow::onLogToFile);
}

bool DialogueWindow::startCapture(const QString &path, bool append, quint64 rotateBytes)
{
    const bool ok = m_capture->start(path, append, rotateBytes, m_edit->echoMode() == 0);
    m_captureAction->setChecked(ok);
    if (!ok) {
        QMessageBox::warning(this, tr("Log to File"),
                             tr("Unable to capture to %1: %2").arg(path, m_capture->error()));
        return false;
    }
    statusBar()->show();
    updateCaptureStatus();
    m_captureTimer->start();
    return true;
}

void DialogueWindow::stopCapture()
{
    m_capture->stop();
    m_captureTimer->stop();
    m_captureAction->setChecked(false);
    statusBar()->hide();
}

void DialogueWindow::onLogToFile()
{
    if (m_capture->isRunning()) {
        stopCapture();
        return;
    }
    m_captureAction->setChecked(false);
    CaptureDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted || dialog.path->text().trimmed().isEmpty())
        return;
    startCapture(dialog.path->text().trimmed(), dialog.append->isChecked(),
                 quint64(dialog.rotate->value()) * 1024u * 1024u);
}

void DialogueWindow::onCaptureFailed(const QString &reason)
{
    const QString path = m_capture->currentPath();
    stopCapture();
    emit captureFailed(reason);
    // Not modal: the failure arrives from the writer while traffic goes on.
    auto *box = new QMessageBox(
        QMessageBox::Warning, tr("Log to File"),
        tr("The capture to %1 stopped: %2\nWhat was written before is kept.").arg(path, reason),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("CaptureFailedNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void DialogueWindow::updateCaptureStatus()
{
    if (!m_capture->isRunning())
        return;
    m_captureStatus->setText(
        tr("Capturing to %1 (%2)")
            .arg(m_capture->currentPath(), QLocale().formattedDataSize(qint64(m_capture->fileSize()))));
}

void DialogueWindow::echoReceived(const QByteArray &data, const QDateTime &time)
{
    m_edit->echo(time, data, EchoTextEdit::Received);
}

void DialogueWindow::echoTransmitted(const QDateTime &time, const QByteArray &data)
{
    m_edit->echo(time, data, EchoTextEdit::Transmitted);
}

void DialogueWindow::setInterpretEnabled(int direction, bool on)
{
    m_edit->setInterpretEnabled(direction, on);
}

bool DialogueWindow::interpretEnabled(int direction) const
{
    return m_edit->interpretEnabled(direction);
}

void DialogueWindow::setInterpretTrigger(int mode)
{
    m_edit->setInterpretTrigger(mode);
}

void DialogueWindow::onSwitchEchoMode()
{
    // Chunks already queued are drawn in the mode they arrived in.
    m_edit->flushEcho();
    const bool text = m_edit->echoMode() == 0;
    m_edit->setEchoMode(text ? 1 : 0);
    m_echoModeAction->setToolTip(text ? tr("Echo Mode: Text") : tr("Echo Mode: Hex"));
    m_echoModeAction->setIcon(dialogueIcon(onOff(text, "mode-txt", "mode-hex")));
}

void DialogueWindow::onClearEchoText()
{
    m_edit->flushEcho();
    m_edit->clear();
}

void DialogueWindow::onEchoRxData()
{
    m_edit->setEchoRx(!m_edit->echoRx());
    m_echoRxAction->setIcon(dialogueIcon(onOff(m_edit->echoRx(), "rx-enable", "rx-disable")));
}

void DialogueWindow::onEchoTxData()
{
    m_edit->setEchoTx(!m_edit->echoTx());
    m_echoTxAction->setIcon(dialogueIcon(onOff(m_edit->echoTx(), "tx-enable", "tx-disable")));
}

void DialogueWindow::onDisplayLabel()
{
    m_edit->flushEcho();
    m_edit->setDisplayLabel(!m_edit->displayLabel());
    m_labelAction->setIcon(dialogueIcon(onOff(m_edit->displayLabel(), "echo-enable", "echo-disable")));
}

void DialogueWindow::onEchoDataInNewLine()
{
    m_edit->flushEcho();
    m_edit->setDataInNewLine(!m_edit->dataInNewLine());
    m_newLineAction->setIcon(dialogueIcon(onOff(m_edit->dataInNewLine(), "newline-on", "newline-off")));
}

void DialogueWindow::onInsertBreak()
{
    m_edit->insertBreak();
}

void DialogueWindow::onAutoLineWrapMode()
{
    const bool wrap = m_edit->lineWrapMode() == QPlainTextEdit::NoWrap;
    m_edit->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_edit->horizontalScrollBar()->setValue(0);
    m_wrapAction->setIcon(dialogueIcon(onOff(wrap, "hscroll-show", "hscroll-hide")));
}

void DialogueWindow::onShowRuler()
{
    m_ruler->setVisible(!m_ruler->isVisible());
}

void DialogueWindow::onClearRuler()
{
    m_ruler->clearNoniuses();
    m_edit->clearNoniusLines();
}

void DialogueWindow::showFindBar()
{
    m_edit->flushEcho();
    m_findBar->show();
    if (auto *text = m_findBar->findChild<QLineEdit *>(QStringLiteral("FindText"))) {
        text->setFocus();
        text->selectAll();
    }
    m_findBar->search();
}

void DialogueWindow::onEchoFontChanged()
{
    m_ruler->update();
}

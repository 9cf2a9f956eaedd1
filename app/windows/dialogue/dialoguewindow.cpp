#include "windows/dialogue/dialoguewindow.h"

#include "shell/applicationoptions.h"
#include "windows/dialogue/echobreakwidget.h"
#include "windows/dialogue/echooptionwidget.h"
#include "windows/dialogue/echorulerwidget.h"
#include "windows/dialogue/echotextedit.h"

#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QIcon>
#include <QScrollBar>
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

} // namespace

DialogueWindow::DialogueWindow(const ApplicationOptions &options, QWidget *parent)
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
    setCentralWidget(central);

    connect(m_ruler, &EchoRulerWidget::noniusCreated, m_edit, &EchoTextEdit::addNoniusLine);
    connect(m_ruler, &EchoRulerWidget::noniusDeleted, m_edit, &EchoTextEdit::removeNoniusLine);
    connect(m_ruler, &EchoRulerWidget::noniusMoved, m_edit, &EchoTextEdit::moveNoniusLine);
    connect(m_edit, &EchoTextEdit::fontChanged, this, &DialogueWindow::onEchoFontChanged);
    connect(m_edit, &EchoTextEdit::interpretDataChanged, this, &DialogueWindow::interpretDataChanged);

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

void DialogueWindow::onEchoFontChanged()
{
    m_ruler->update();
}

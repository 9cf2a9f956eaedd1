#include "windows/transmit/transmitwindow.h"

#include "model/checksum.h"
#include "model/transmittext.h"
#include "services/periodsendcontroller.h"
#include "services/streamsender.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/services.h"
#include "windows/transmit/transmittextedit.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QComboBox>
#include <QDoubleValidator>
#include <QIcon>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>

namespace {

const char *const kDescription = QT_TRANSLATE_NOOP("TransmitWindow", "Transmit Window");

QIcon resourceIcon(const char *path)
{
    return QIcon(QLatin1String(path));
}

QString sizeName(int size)
{
    switch (size) {
    case 1:
        return QStringLiteral("BYTE");
    case 2:
        return QStringLiteral("WORD");
    case 8:
        return QStringLiteral("QWORD");
    }
    return QStringLiteral("DWORD");
}

// Shows a byte-order action as little (1) or big (0) endian.
void showEndian(QAction *action, int endian)
{
    action->setText(endian ? QObject::tr("Little Endian") : QObject::tr("Big Endian"));
    action->setIcon(resourceIcon(endian ? ":/Resources/toolbar/endian-little.png"
                                        : ":/Resources/toolbar/endian-big.png"));
}

} // namespace

TransmitWindow::TransmitWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_transmitProtocol(std::make_unique<TxProtocol>())
    , m_periodSend(&services.periodSend)
    , m_channel(services.channel)
    , m_sender(services.transmitSender)
{
    // One "char" field whose Array value takes the converted text before
    // every build.
    TxField *field = m_transmitProtocol->AddField(0);
    field->SetTypeId(1);
    field->GetValueMetaInfo(0)->SetValueGeneratorType(Array);

    m_editor = new TransmitTextEdit(this);
    m_editor->setFont(services.options.echoFont);
    setCentralWidget(m_editor);
    connect(m_editor, &TransmitTextEdit::sendRequested, this, &TransmitWindow::sendTransmitText);

    createStandardBar();
    addToolBarBreak();
    createCalculatorBar();
    addToolBarBreak();
    createChecksumBar();
    m_calcBar->hide();
    m_crcBar->hide();

    connect(m_periodSend, &PeriodSendController::stateChanged, this, &TransmitWindow::showPeriodSendState);
}

TransmitWindow::~TransmitWindow() = default;

int TransmitWindow::inputMode() const
{
    return m_editor->inputMode();
}

void TransmitWindow::createStandardBar()
{
    m_standardBar = new WdxToolBar(tr("Standard"), this);
    m_standardBar->setObjectName(QStringLiteral("TransmitStandardBar"));
    m_standardBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_standardBar);

    m_modeAction = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/mode-hex.png"),
                                            tr("Switch Input Mode"));
    m_modeAction->setToolTip(tr("Input Mode: Hex"));
    connect(m_modeAction, &QAction::triggered, this, [this] { setInputMode(inputMode() == 0 ? 1 : 0); });
    m_standardBar->addSeparator();
    QAction *clear
        = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/clear.png"), tr("Clear Input"));
    connect(clear, &QAction::triggered, m_editor, &QPlainTextEdit::clear);
    m_standardBar->addSeparator();
    QAction *calc = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/decimal.png"),
                                             tr("Show/Hide Calc Tools"));
    connect(calc, &QAction::triggered, this, [this] { m_calcBar->setVisible(!m_calcBar->isVisible()); });
    QAction *crc
        = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/sum.png"), tr("Show/Hide CRC Tools"));
    connect(crc, &QAction::triggered, this, [this] { m_crcBar->setVisible(!m_crcBar->isVisible()); });
    m_standardBar->addSeparator();
    QAction *add
        = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/add.png"), tr("Add To Instruct Set"));
    connect(add, &QAction::triggered, this, &TransmitWindow::addToInstructSet);
    m_standardBar->addSeparator();
    m_periodButton = m_standardBar->addToolButton(
        tr("Enable Period Send"), resourceIcon(":/Resources/explorer/psend.png"), true, false);
    m_periodButton->setToolTip(m_periodButton->text());
    m_periodButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_interval = m_standardBar->addSpinBox(1, 60000, 1000, 64, true, QStringLiteral(" (ms)"));
    // Wide enough for the longest interval with its suffix.
    const int digits = m_interval->fontMetrics().horizontalAdvance(QStringLiteral("60000 (ms)"));
    m_interval->setMinimumWidth(qMax(64, digits + 36));
    m_standardBar->addSeparator();
    m_sendButton = m_standardBar->addToolButton(tr("Send"), resourceIcon(":/Resources/toolbar/send.png"));
    connect(m_sendButton, &QToolButton::clicked, this, &TransmitWindow::sendTransmitText);
}

void TransmitWindow::createCalculatorBar()
{
    m_calcBar = new WdxToolBar(tr("Calculator"), this);
    m_calcBar->setObjectName(QStringLiteral("TransmitCalculatorBar"));
    m_calcBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_calcBar);

    m_calcBar->addLabel(tr("Decimal input"));
    m_decimalInput = m_calcBar->addLineEdit(-1, 140);
    m_decimalInput->setObjectName(QStringLiteral("DecimalInput"));
    auto *validator = new QDoubleValidator(m_decimalInput);
    validator->setNotation(QDoubleValidator::ScientificNotation);
    validator->setLocale(QLocale::c());
    m_decimalInput->setValidator(validator);
    m_calcBar->addLabel(tr("Hex out"));
    m_hexOut = m_calcBar->addLineEdit();
    m_hexOut->setObjectName(QStringLiteral("HexOut"));
    m_hexOut->setReadOnly(true);
    m_hexOut->setFixedWidth(180);
    m_calcBar->addSeparator();
    // The bars share the dock's width with the editor: their actions show
    // icons, and name themselves in their tool tips.
    m_calcEndianAction = m_calcBar->QToolBar::addAction(QString());
    showEndian(m_calcEndianAction, m_calcEndian);
    m_calcBar->addSeparator();
    m_sizeButton = m_calcBar->addToolButton(sizeName(m_numberSize),
                                            resourceIcon(":/Resources/dialogue/word-size.png"));
    // Wide enough for "QWORD" beside the icon.
    m_sizeButton->setFixedWidth(
        qMax(64, m_sizeButton->fontMetrics().horizontalAdvance(QStringLiteral("QWORD")) + 36));
    m_calcBar->addSeparator();
    QAction *insert
        = m_calcBar->QToolBar::addAction(resourceIcon(":/Resources/dialogue/insert.png"), tr("Insert"));

    connect(m_decimalInput, &QLineEdit::textChanged, this, [this](const QString &input) {
        const bool point = input.trimmed().contains(QLatin1Char('.'));
        if ((point && m_numberSize != 4 && m_numberSize != 8) || (!point && m_numberSize == 8)) {
            m_numberSize = 4;
            m_sizeButton->setText(sizeName(m_numberSize));
        }
        refreshHexOut();
    });
    connect(m_calcEndianAction, &QAction::triggered, this, [this] {
        m_calcEndian = m_calcEndian ? 0 : 1;
        showEndian(m_calcEndianAction, m_calcEndian);
        refreshHexOut();
    });
    connect(m_sizeButton, &QToolButton::clicked, this, [this] {
        if (m_decimalInput->text().contains(QLatin1Char('.')))
            m_numberSize = m_numberSize == 4 ? 8 : 4;
        else
            m_numberSize = m_numberSize >= 8 ? 1 : m_numberSize * 2;
        m_sizeButton->setText(sizeName(m_numberSize));
        refreshHexOut();
    });
    connect(insert, &QAction::triggered, this, [this] { insertAtCursor(m_hexOut->text().trimmed()); });
}

void TransmitWindow::createChecksumBar()
{
    m_crcBar = new WdxToolBar(tr("CRC"), this);
    m_crcBar->setObjectName(QStringLiteral("TransmitChecksumBar"));
    m_crcBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_crcBar);

    m_crcBar->addLabel(tr("CRC param model"));
    m_crcModel = m_crcBar->addComboBox();
    m_crcModel->setObjectName(QStringLiteral("CrcModel"));
    m_crcModel->addItems(crcModelNames());
    // Wide enough for the longest name with the theme's padding.
    m_crcModel->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_crcModel->ensurePolished();
    m_crcModel->setFixedWidth(qMax(140, m_crcModel->sizeHint().width()));
    m_crcModel->setCurrentIndex(Crc16Xmodem);
    m_crcBar->addLabel(tr("Check sum"));
    m_checksum = m_crcBar->addLineEdit();
    m_checksum->setObjectName(QStringLiteral("CheckSum"));
    m_checksum->setReadOnly(true);
    m_checksum->setFixedWidth(90);
    m_crcBar->addSeparator();
    m_crcEndianAction = m_crcBar->QToolBar::addAction(QString());
    showEndian(m_crcEndianAction, m_crcEndian);
    m_crcBar->addSeparator();
    QAction *calculate
        = m_crcBar->QToolBar::addAction(resourceIcon(":/Resources/dialogue/calc-crc.png"), tr("Calculate"));
    m_crcBar->addSeparator();
    QAction *insert
        = m_crcBar->QToolBar::addAction(resourceIcon(":/Resources/dialogue/insert.png"), tr("Insert"));

    // The byte order decides what is shown and inserted, so a changed order
    // shows the checksum again.
    connect(m_crcEndianAction, &QAction::triggered, this, [this] {
        m_crcEndian = m_crcEndian ? 0 : 1;
        showEndian(m_crcEndianAction, m_crcEndian);
        if (!m_checksum->text().isEmpty())
            computeChecksum();
    });
    connect(calculate, &QAction::triggered, this, &TransmitWindow::computeChecksum);
    connect(insert, &QAction::triggered, this, [this] { insertAtCursor(m_checksum->text()); });
}

void TransmitWindow::refreshHexOut()
{
    const QString input = m_decimalInput->text().trimmed();
    if (input.isEmpty())
        return;
    m_hexOut->setText(numberToHex(input, m_numberSize, m_calcEndian != 0));
}

void TransmitWindow::computeChecksum()
{
    const QString input = m_editor->checksumInput();
    if (input.isEmpty())
        return;
    const QByteArray bytes = QByteArray::fromHex(input.toLatin1());
    const int model = m_crcModel->currentIndex();
    m_checksum->setText(checksumText(computeCrc(model, bytes), crcModelWidth(model), m_crcEndian != 0));
}

void TransmitWindow::insertAtCursor(const QString &text)
{
    if (text.isEmpty())
        return;
    QTextCursor cursor = m_editor->textCursor();
    // Hex bytes glued to a digit before them would pair up wrongly.
    const QString before = m_editor->document()->characterAt(cursor.selectionStart() - 1);
    const bool glued = !cursor.hasSelection() && cursor.position() > 0 && !before.trimmed().isEmpty();
    cursor.insertText(glued && inputMode() == HexTextMode ? QLatin1Char(' ') + text : text);
    m_editor->setTextCursor(cursor);
    m_editor->setFocus();
}

void TransmitWindow::setInputMode(int mode)
{
    m_editor->setInputMode(mode);
    const bool text = mode == PlainTextMode;
    m_modeAction->setToolTip(text ? tr("Input Mode: Text") : tr("Input Mode: Hex"));
    m_modeAction->setIcon(
        resourceIcon(text ? ":/Resources/dialogue/mode-txt.png" : ":/Resources/dialogue/mode-hex.png"));
}

int TransmitWindow::interval() const
{
    return m_interval->value();
}

void TransmitWindow::setInterval(int ms)
{
    m_interval->setValue(ms);
}

void TransmitWindow::setTransmitText(const QString &text, int mode)
{
    if (text.isEmpty())
        return;
    if (mode == HexTextMode || mode == PlainTextMode)
        setInputMode(mode);
    m_editor->clear();
    m_editor->setPlainText(text);
    // New text is never the frame built last time.
    m_editor->document()->setModified(true);
}

void TransmitWindow::addToInstructSet()
{
    const QString text = m_editor->toPlainText().trimmed();
    if (text.isEmpty())
        return;
    emit addToInstructSetRequested(text, inputMode());
}

void TransmitWindow::sendTransmitText()
{
    StreamSender *sender = &m_sender;
    if (!m_channel.isOpen()) {
        noticeNoChannel();
        return;
    }

    const bool periodic = m_periodButton->isChecked();
    // Stopping needs no build, and a refusal must leave the text unbuilt and
    // out of the history: it was never sent.
    if (periodic && m_periodSend->stop(this))
        return;
    if (periodic && m_periodSend->runs()) {
        noticePeriodSendBusy();
        return;
    }

    bool built = false;
    if (m_editor->document()->isModified()) {
        const QString param = m_editor->dataText();
        if (param.isEmpty())
            return;
        m_transmitProtocol->GetField(0)->GetValueMetaInfo(0)->SetParamList(param.toLocal8Bit().toStdString());
        sender->clear();
        if (!sender->addStream(m_transmitProtocol.get(), 0)) {
            // Nothing was built: say so, and build again on the next Send.
            noticeBuildFailed();
            return;
        }
        m_editor->document()->setModified(false);
        built = true;
    }

    sender->selectAll();
    if (!periodic) {
        sender->sendNext();
    } else if (!m_periodSend->start(this, tr(kDescription), sender, m_interval->value())) {
        // The next Send builds again and records the text when it goes out.
        m_editor->document()->setModified(true);
        noticePeriodSendBusy();
        return;
    }
    if (built)
        emit textSent(m_editor->toPlainText(), inputMode());
}

void TransmitWindow::showPeriodSendState(QObject *sender, bool isRun)
{
    if (sender != this)
        return;
    m_sendButton->setIcon(
        resourceIcon(isRun ? ":/Resources/toolbar/stop.png" : ":/Resources/toolbar/send.png"));
    m_sendButton->setText(isRun ? tr("Stop Send") : tr("Send"));
    m_periodButton->setEnabled(!isRun);
}

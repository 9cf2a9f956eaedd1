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
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
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

const char *const kPacingSection = "Transmit";

const char *const kLineEndings[] = {"", "\r", "\n", "\r\n"};

int readInt(const YAML::Node &node, const char *key, int fallback, int min, int max)
{
    try {
        if (node && node.IsMap() && node[key])
            return qBound(min, node[key].as<int>(), max);
    } catch (const YAML::Exception &) {
    }
    return fallback;
}

} // namespace

TransmitWindow::TransmitWindow(const Services &services, QWidget *parent)
    : QMainWindow(parent)
    , m_transmitProtocol(std::make_unique<TxProtocol>())
    , m_periodSend(&services.periodSend)
    , m_channel(services.channel)
    , m_sender(services.transmitSender)
    , m_options(services.options)
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
    addToolBarBreak();
    createPacingBar();
    addToolBarBreak();
    createFileBar();
    m_calcBar->hide();
    m_crcBar->hide();
    restorePacing();
    // Pacing in force shows itself: a hidden line ending would surprise.
    const bool paced = lineEnding() != 0 || m_charDelay->value() > 0 || m_lineDelay->value() > 0;
    m_pacingBar->setVisible(paced);
    m_fileBar->setVisible(paced);
    statusBar()->setObjectName(QStringLiteral("TransmitStatusBar"));
    statusBar()->setSizeGripEnabled(false);

    connect(&m_channel, &ChannelProxy::sendProgress, this, [this](quint64 id, qint64 sent, qint64 total) {
        if (id != m_fileSendId || total <= 0)
            return;
        // Per mille keeps the bar's range in an int whatever the file's size.
        m_fileProgress->setValue(int(sent * 1000 / total));
    });
    connect(&m_channel, &ChannelProxy::sendFinished, this, &TransmitWindow::showFileSendFinished);

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
    QAction *pacing = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/pacing.png"),
                                               tr("Show/Hide Pacing and File Tools"));
    connect(pacing, &QAction::triggered, this, [this] {
        const bool show = !m_pacingBar->isVisible();
        m_pacingBar->setVisible(show);
        m_fileBar->setVisible(show);
    });
    m_standardBar->addSeparator();
    QAction *add
        = m_standardBar->addAction(resourceIcon(":/Resources/dialogue/add.png"), tr("Add To Instruct Set"));
    connect(add, &QAction::triggered, this, &TransmitWindow::addToInstructSet);
    m_standardBar->addSeparator();
    m_periodButton = m_standardBar->addToolButton(
        tr("Enable Period Send"), resourceIcon(":/Resources/explorer/psend.png"), true, false);
    m_periodButton->setToolTip(m_periodButton->text());
    m_periodButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_interval = m_standardBar->addSpinBox(1, 60000, 1000, 64, true, tr(" (ms)"));
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

void TransmitWindow::createPacingBar()
{
    m_pacingBar = new WdxToolBar(tr("Text Pacing"), this);
    m_pacingBar->setObjectName(QStringLiteral("TransmitPacingBar"));
    m_pacingBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_pacingBar);

    m_pacingBar->addLabel(tr("Line end"));
    m_lineEnding = m_pacingBar->addComboBox();
    m_lineEnding->setObjectName(QStringLiteral("LineEnding"));
    m_lineEnding->addItems({tr("None"), QStringLiteral("CR"), QStringLiteral("LF"), QStringLiteral("CR LF")});
    m_lineEnding->setToolTip(tr("Appended to each send in text mode"));
    m_pacingBar->addLabel(tr("Char delay"));
    m_charDelay = m_pacingBar->addSpinBox(0, 10000, 0, 64, true, QStringLiteral(" ms"));
    m_charDelay->setObjectName(QStringLiteral("CharDelay"));
    m_charDelay->setToolTip(tr("Pause after each character in text mode"));
    m_pacingBar->addLabel(tr("Line delay"));
    m_lineDelay = m_pacingBar->addSpinBox(0, 60000, 0, 64, true, QStringLiteral(" ms"));
    m_lineDelay->setObjectName(QStringLiteral("LineDelay"));
    m_lineDelay->setToolTip(tr("Pause after each line in text mode"));

    // A new line ending is a new frame.
    connect(m_lineEnding, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this] {
        m_editor->document()->setModified(true);
        storePacing();
    });
    connect(m_charDelay, QOverload<int>::of(&QSpinBox::valueChanged), this, &TransmitWindow::storePacing);
    connect(m_lineDelay, QOverload<int>::of(&QSpinBox::valueChanged), this, &TransmitWindow::storePacing);
}

void TransmitWindow::createFileBar()
{
    m_fileBar = new WdxToolBar(tr("Send File"), this);
    m_fileBar->setObjectName(QStringLiteral("TransmitFileBar"));
    m_fileBar->setMovable(false);
    addToolBar(Qt::TopToolBarArea, m_fileBar);

    QToolButton *sendFileButton
        = m_fileBar->addToolButton(tr("Send File"), resourceIcon(":/Resources/dialogue/send-file.png"));
    sendFileButton->setObjectName(QStringLiteral("SendFileButton"));
    sendFileButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    sendFileButton->setToolTip(tr("Send File"));
    m_fileBar->addLabel(tr("Chunk"));
    m_chunkSize = m_fileBar->addSpinBox(1, 1024 * 1024, 4096, 64, true, QStringLiteral(" B"));
    m_chunkSize->setObjectName(QStringLiteral("ChunkSize"));
    m_fileBar->addLabel(tr("Delay"));
    m_chunkDelay = m_fileBar->addSpinBox(0, 60000, 0, 64, true, QStringLiteral(" ms"));
    m_chunkDelay->setObjectName(QStringLiteral("ChunkDelay"));
    m_fileProgress = new QProgressBar(m_fileBar);
    m_fileProgress->setObjectName(QStringLiteral("FileProgress"));
    m_fileProgress->setRange(0, 1000);
    m_fileProgress->setValue(0);
    m_fileProgress->setFixedWidth(90);
    m_fileBar->addWidget(m_fileProgress);
    m_cancelFile = m_fileBar->addToolButton(tr("Cancel"), resourceIcon(":/Resources/toolbar/stop.png"));
    m_cancelFile->setObjectName(QStringLiteral("CancelFileSend"));
    m_cancelFile->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_cancelFile->setToolTip(tr("Cancel"));
    m_cancelFile->setEnabled(false);

    connect(sendFileButton, &QToolButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, tr("Send File"));
        if (!path.isEmpty())
            sendFile(path);
    });
    connect(m_cancelFile, &QToolButton::clicked, this, &TransmitWindow::cancelFileSend);
    connect(m_chunkSize, QOverload<int>::of(&QSpinBox::valueChanged), this, &TransmitWindow::storePacing);
    connect(m_chunkDelay, QOverload<int>::of(&QSpinBox::valueChanged), this, &TransmitWindow::storePacing);
}

void TransmitWindow::restorePacing()
{
    const YAML::Node node = m_options.section(kPacingSection);
    const QSignalBlocker b1(m_lineEnding), b2(m_charDelay), b3(m_lineDelay), b4(m_chunkSize),
        b5(m_chunkDelay);
    m_lineEnding->setCurrentIndex(readInt(node, "LineEnding", 0, 0, 3));
    m_charDelay->setValue(readInt(node, "CharDelay", 0, 0, 10000));
    m_lineDelay->setValue(readInt(node, "LineDelay", 0, 0, 60000));
    m_chunkSize->setValue(readInt(node, "FileChunkSize", 4096, 1, 1024 * 1024));
    m_chunkDelay->setValue(readInt(node, "FileChunkDelay", 0, 0, 60000));
}

void TransmitWindow::storePacing()
{
    YAML::Node node = m_options.section(kPacingSection);
    if (!node || !node.IsMap())
        node = YAML::Node(YAML::NodeType::Map);
    node["LineEnding"] = m_lineEnding->currentIndex();
    node["CharDelay"] = m_charDelay->value();
    node["LineDelay"] = m_lineDelay->value();
    node["FileChunkSize"] = m_chunkSize->value();
    node["FileChunkDelay"] = m_chunkDelay->value();
    m_options.setSection(kPacingSection, node, false);
}

int TransmitWindow::lineEnding() const
{
    return m_lineEnding->currentIndex();
}

QByteArray TransmitWindow::plainTextBytes() const
{
    QByteArray bytes = m_editor->toPlainText().trimmed().toLocal8Bit();
    if (!bytes.isEmpty())
        bytes += kLineEndings[qBound(0, lineEnding(), 3)];
    return bytes;
}

void TransmitWindow::sendFile(const QString &path)
{
    if (m_fileSendId) {
        statusBar()->showMessage(tr("A file is being sent already"));
        return;
    }
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        statusBar()->showMessage(tr("Unable to open file: %1").arg(path));
        return;
    }
    if (!m_channel.isOpen()) {
        statusBar()->showMessage(tr("There is no active channel, no protocol can be sent!"));
        return;
    }
    m_fileSendId = m_channel.sendFile(path, m_chunkSize->value(), m_chunkDelay->value());
    if (!m_fileSendId) {
        statusBar()->showMessage(tr("There is no active channel, no protocol can be sent!"));
        return;
    }
    m_fileProgress->setValue(0);
    m_cancelFile->setEnabled(true);
    statusBar()->showMessage(tr("Sending %1").arg(info.fileName()));
}

void TransmitWindow::cancelFileSend()
{
    if (m_fileSendId)
        m_channel.cancelSend(m_fileSendId);
}

void TransmitWindow::showFileSendFinished(quint64 id, bool completed, const QString &message)
{
    if (id == 0 || id != m_fileSendId)
        return;
    m_fileSendId = 0;
    m_cancelFile->setEnabled(false);
    if (completed) {
        m_fileProgress->setValue(m_fileProgress->maximum());
        statusBar()->showMessage(tr("File sent"));
    } else {
        statusBar()->showMessage(message.isEmpty() ? tr("The file send stopped") : message);
    }
}

void TransmitWindow::refreshHexOut()
{
    const QString input = m_decimalInput->text().trimmed();
    if (input.isEmpty())
        return;
    // A number cut to the size would be a different number: say so instead.
    if (!numberFits(input, m_numberSize)) {
        m_hexOut->clear();
        statusBar()->showMessage(tr("%1 does not fit in a %2").arg(input, sizeName(m_numberSize)));
        return;
    }
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

    const bool text = inputMode() == PlainTextMode;
    if (!text) {
        const QString wrong = m_editor->invalidHexCharacters();
        if (!wrong.isEmpty()) {
            statusBar()->showMessage(tr("Not sent: not hex digits: %1").arg(wrong));
            return;
        }
    }
    // Paced text goes out from the channel's worker, a character or a line
    // at a time; the GUI never waits for it.
    if (text && !periodic && (m_charDelay->value() > 0 || m_lineDelay->value() > 0)) {
        const QByteArray bytes = plainTextBytes();
        if (bytes.isEmpty())
            return;
        if (!m_channel.writePaced(bytes, m_charDelay->value(), m_lineDelay->value())) {
            noticeNoChannel();
            return;
        }
        if (m_editor->document()->isModified())
            emit textSent(m_editor->toPlainText(), inputMode());
        return;
    }

    bool built = false;
    if (m_editor->document()->isModified()) {
        QString param = m_editor->dataText();
        if (param.isEmpty())
            return;
        // A line ending makes the text's bytes an array of bytes.
        if (text && lineEnding() != 0)
            param = convertTransmitText(QString::fromLatin1(plainTextBytes().toHex(' ')), HexTextMode);
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
        // A frame without bytes went nowhere: that is a failed build too.
        if (!sender->sendNext()) {
            m_editor->document()->setModified(true);
            noticeBuildFailed();
            return;
        }
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

#include "windows/interpret/interpretwindow.h"

#include "windows/interpret/datagroupwidget.h"

#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QScrollArea>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

enum Row {
    BinaryRow = 0,
    FloatRow = 11,
    DoubleRow = 12,
    SystemTimeRow = 13,
    GuidRow = 14,
    Latin1Row = 15,
    Utf8Row = 16,
    Utf16Row = 17,
    Ucs4Row = 18,
    RowCount = 19,
};

struct IntegerRow
{
    int row;
    int size;
    bool isSigned;
};

// "char:" to "unsigned int64:".
const IntegerRow kIntegerRows[] = {
    {1, 1, true},  {2, 1, false}, {3, 2, true},  {4, 2, false}, {5, 4, true},
    {6, 4, false}, {7, 4, true},  {8, 4, false}, {9, 8, true},  {10, 8, false},
};

// The first size bytes as an unsigned number in the chosen byte order.
quint64 readUnsigned(const QByteArray &data, int offset, int size, bool bigEndian)
{
    quint64 value = 0;
    for (int i = 0; i < size; ++i) {
        const int index = bigEndian ? offset + i : offset + size - 1 - i;
        value = (value << 8) | quint8(data.at(index));
    }
    return value;
}

qint64 signExtend(quint64 value, int size)
{
    if (size >= 8)
        return qint64(value);
    const quint64 sign = quint64(1) << (size * 8 - 1);
    return qint64((value ^ sign) - sign);
}

QString hexNumber(quint64 value, int size)
{
    return QStringLiteral("0x")
           + QString::number(value, 16).toUpper().rightJustified(size * 2, QLatin1Char('0'));
}

QString systemTimeText(const QByteArray &data, bool bigEndian)
{
    quint16 field[8];
    for (int i = 0; i < 8; ++i)
        field[i] = quint16(readUnsigned(data, i * 2, 2, bigEndian));
    const int year = field[0], month = field[1], day = field[3];
    const int hour = field[4], minute = field[5], second = field[6], ms = field[7];
    if (year >= 10000 || month < 1 || month > 12 || day < 1 || day > 31 || hour >= 24 || minute >= 60
        || second >= 60 || ms >= 1000)
        return QCoreApplication::translate("InterpretWindow", "N/A");
    // A day the month does not have (the 31st of April) is no time either.
    const QDate date(year, month, day);
    if (!date.isValid())
        return QCoreApplication::translate("InterpretWindow", "N/A");
    return QStringLiteral("%1-%2-%3 %4:%5:%6.%7")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(second, 2, 10, QLatin1Char('0'))
        .arg(ms, 3, 10, QLatin1Char('0'));
}

QString guidText(const QByteArray &data, bool bigEndian)
{
    QString text = QString::asprintf("{%08x-%04x-%04x-", quint32(readUnsigned(data, 0, 4, bigEndian)),
                                     quint32(readUnsigned(data, 4, 2, bigEndian)),
                                     quint32(readUnsigned(data, 6, 2, bigEndian)));
    for (int i = 8; i < 16; ++i) {
        if (i == 10)
            text += QLatin1Char('-');
        text += QString::asprintf("%02x", quint8(data.at(i)));
    }
    return text + QLatin1Char('}');
}

// Code units of width bytes, in the machine's order unless the data starts
// with a byte-order mark, up to the first zero unit and never past the data.
QVector<quint32> codeUnits(const QByteArray &data, int width)
{
    const QByteArray littleMark = width == 2 ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFF\xFE\0\0", 4);
    const QByteArray bigMark = width == 2 ? QByteArray("\xFE\xFF", 2) : QByteArray("\0\0\xFE\xFF", 4);
    bool bigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;
    int offset = 0;
    if (data.startsWith(bigMark)) {
        bigEndian = true;
        offset = width;
    } else if (data.startsWith(littleMark)) {
        bigEndian = false;
        offset = width;
    }
    QVector<quint32> units;
    for (; offset + width <= data.size(); offset += width) {
        const quint32 unit = quint32(readUnsigned(data, offset, width, bigEndian));
        if (unit == 0)
            break;
        units.append(unit);
    }
    return units;
}

QString decodeText(const QByteArray &data, int row)
{
    const QByteArray bytes = data.left(int(qstrnlen(data.constData(), uint(data.size()))));
    switch (row) {
    case Latin1Row:
        return QString::fromLatin1(bytes);
    case Utf8Row:
        return QString::fromUtf8(bytes);
    case Utf16Row: {
        const QVector<quint32> units = codeUnits(data, 2);
        QVector<ushort> utf16(units.size());
        for (int i = 0; i < units.size(); ++i)
            utf16[i] = ushort(units.at(i));
        return QString::fromUtf16(utf16.constData(), utf16.size());
    }
    case Ucs4Row: {
        QVector<quint32> units = codeUnits(data, 4);
        // Qt would turn a value beyond Unicode into stray surrogates.
        for (quint32 &unit : units) {
            if (unit > 0x10FFFF || (unit >= 0xD800 && unit <= 0xDFFF))
                unit = QChar::ReplacementCharacter;
        }
        return QString::fromUcs4(units.constData(), units.size());
    }
    default:
        return QString();
    }
}

// One line of text: line breaks and other control characters become
// spaces.
QString singleLine(QString text)
{
    for (QChar &ch : text) {
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator
            || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    }
    return text;
}

} // namespace

InterpretWindow::InterpretWindow(QWidget *parent)
    : QMainWindow(parent)
{
    struct Group
    {
        const char *title;
        QStringList names;
    };
    const Group groups[] = {
        {QT_TR_NOOP("Integral"),
         {tr("binary:"), tr("char:"), tr("unsigned char:"), tr("short:"), tr("unsigned short:"), tr("int:"),
          tr("unsigned int:"), tr("long:"), tr("unsigned long:"), tr("int64:"), tr("unsigned int64:")}},
        {QT_TR_NOOP("Floating-point"), {tr("float:"), tr("double:")}},
        {QT_TR_NOOP("Time"), {tr("Window SYSTIEM:")}},
        {QT_TR_NOOP("Misc"), {tr("GUID:")}},
        {QT_TR_NOOP("Text"), {tr("Latin1:"), tr("Utf8:"), tr("Utf16:"), tr("Ucs4:")}},
    };

    auto *content = new QWidget;
    content->setObjectName(QStringLiteral("InterpretContent"));
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    for (const Group &group : groups) {
        auto *rollup = new WdxRoolupWidget(tr(group.title), content);
        rollup->setIconVisible(false);
        auto *values = new DataGroupWidget(group.names, rollup);
        rollup->addWidget(values);
        m_values += values->valueLabels();
        layout->addWidget(rollup);
    }
    layout->addStretch(1);

    auto *area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("InterpretArea"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(content);
    setCentralWidget(area);

    createToolBars();
}

void InterpretWindow::createToolBars()
{
    auto *standard = new WdxToolBar(tr("Standard"), this);
    standard->setObjectName(QStringLiteral("InterpretToolBar"));
    standard->setIconSize(QSize(16, 16));
    standard->setMovable(false);
    addToolBar(Qt::TopToolBarArea, standard);
    QLabel *mouseLabel = standard->addLabel(tr("Mouse Mode"));
    mouseLabel->setFixedWidth(mouseLabel->fontMetrics().horizontalAdvance(mouseLabel->text()) + 6);
    standard->setContentsMargins(0, 0, 0, 0);
    standard->layout()->setSpacing(1);
    m_mouseMode = standard->addComboBox();
    m_mouseMode->setObjectName(QStringLiteral("cbxMouseMode"));
    m_mouseMode->addItems({tr("Click"), tr("Point")});
    connect(m_mouseMode, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { emit interpretTriggerChanged(index); });
    m_inspectTextButton = standard->addToolButton(
        tr("Inspect text"), QIcon(QStringLiteral(":/Resources/dialogue/mode-txt.png")), true);
    m_inspectTextButton->setObjectName(QStringLiteral("btnInspectText"));
    connect(m_inspectTextButton, &QToolButton::clicked, this, [this] {
        m_inspectText = !m_inspectText;
        m_inspectTextButton->setChecked(m_inspectText);
        for (int row = Latin1Row; row <= Ucs4Row; ++row)
            m_values.at(row)->clear();
        refreshText();
    });
    m_inspectRx = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/dialogue/rx-disable.png")),
                                                tr("Inspect Rx Data"));
    m_inspectTx = standard->QToolBar::addAction(QIcon(QStringLiteral(":/Resources/dialogue/tx-disable.png")),
                                                tr("Inspect Tx Data"));
    connect(m_inspectRx, &QAction::triggered, this, [this] { toggleInspect(0, m_inspectRx); });
    connect(m_inspectTx, &QAction::triggered, this, [this] { toggleInspect(1, m_inspectTx); });

    addToolBarBreak();
    auto *options = new WdxToolBar(tr("Options"), this);
    options->setObjectName(QStringLiteral("InterpretOptionsBar"));
    options->setIconSize(QSize(16, 16));
    options->setMovable(false);
    addToolBar(Qt::TopToolBarArea, options);
    m_hexButton = options->addToolButton(tr("Hex numbers"),
                                         QIcon(QStringLiteral(":/Resources/inspect/hexnum.png")), true);
    m_hexButton->setObjectName(QStringLiteral("btnHexNumbers"));
    m_bigEndianButton = options->addToolButton(
        tr("Big-endian"), QIcon(QStringLiteral(":/Resources/toolbar/endian-big.png")), true);
    m_bigEndianButton->setObjectName(QStringLiteral("btnBigEndian"));
    // The dock is narrow: the buttons show their icons, their names are in
    // the tool tips.
    for (QWidget *button : {static_cast<QWidget *>(m_inspectTextButton),
                            standard->widgetForAction(m_inspectRx), standard->widgetForAction(m_inspectTx),
                            static_cast<QWidget *>(m_hexButton), static_cast<QWidget *>(m_bigEndianButton)}) {
        if (auto *tool = qobject_cast<QToolButton *>(button)) {
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
            if (tool->toolTip().isEmpty())
                tool->setToolTip(tool->text());
        }
    }
    standard->layout()->invalidate();
    options->layout()->invalidate();
    // Every picking control stays in view: the window is never narrower than
    // its tool bar.
    setMinimumWidth(standard->sizeHint().width() + 30);
    connect(m_hexButton, &QToolButton::toggled, this, [this](bool on) {
        m_hexNumbers = on;
        refresh();
    });
    connect(m_bigEndianButton, &QToolButton::toggled, this, [this](bool on) {
        m_bigEndian = on;
        refresh();
    });
}

void InterpretWindow::toggleInspect(int direction, QAction *action)
{
    const bool on = !m_interpretOn[direction];
    m_interpretOn[direction] = on;
    emit interpretToggled(direction, on);
    const QString path = direction == 0 ? QStringLiteral(":/Resources/dialogue/rx-enable.png")
                                        : QStringLiteral(":/Resources/dialogue/tx-enable.png");
    action->setIcon(
        QIcon(on ? path : QString(path).replace(QLatin1String("enable"), QLatin1String("disable"))));
}

void InterpretWindow::setData(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    m_data = bytes;
    refresh();
}

QString InterpretWindow::valueText(int row) const
{
    return row >= 0 && row < m_values.size() ? m_values.at(row)->text() : QString();
}

void InterpretWindow::refresh()
{
    for (QLabel *label : qAsConst(m_values))
        label->setText(QStringLiteral("0"));
    const QByteArray &data = m_data;
    const int size = data.size();
    if (size == 0)
        return;

    m_values.at(BinaryRow)->setText(
        QString::number(quint8(data.at(0)), 2).rightJustified(8, QLatin1Char('0')));
    for (const IntegerRow &integer : kIntegerRows) {
        if (integer.size > size)
            continue;
        const quint64 value = readUnsigned(data, 0, integer.size, m_bigEndian);
        QString text;
        if (m_hexNumbers)
            text = hexNumber(value, integer.size);
        else if (integer.isSigned)
            text = QString::number(signExtend(value, integer.size));
        else
            text = QString::number(value);
        m_values.at(integer.row)->setText(text);
    }
    if (size >= 4) {
        const quint32 bits = quint32(readUnsigned(data, 0, 4, m_bigEndian));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        m_values.at(FloatRow)->setText(m_hexNumbers ? hexNumber(bits, 4)
                                                    : QString::number(double(value), 'f', 7));
    }
    if (size >= 8) {
        const quint64 bits = readUnsigned(data, 0, 8, m_bigEndian);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        m_values.at(DoubleRow)->setText(m_hexNumbers ? hexNumber(bits, 8) : QString::number(value, 'g', 15));
        m_values.at(SystemTimeRow)->setText(tr("N/A"));
        m_values.at(GuidRow)->setText(tr("N/A"));
    }
    if (size >= 16) {
        m_values.at(SystemTimeRow)->setText(systemTimeText(data, m_bigEndian));
        m_values.at(GuidRow)->setText(guidText(data, m_bigEndian));
    }
    // A narrow dock cuts long values; the whole value is in the tool tip.
    for (int row = BinaryRow; row < Latin1Row; ++row)
        m_values.at(row)->setToolTip(m_values.at(row)->text());
    refreshText();
}

void InterpretWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    refreshText();
}

void InterpretWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    refreshText();
}

void InterpretWindow::refreshText()
{
    if (!m_inspectText || m_data.isEmpty())
        return;
    for (int row = Latin1Row; row <= Ucs4Row; ++row) {
        QLabel *label = m_values.at(row);
        const QString text = singleLine(decodeText(m_data, row));
        // Elided to the label's room once it has any; a hidden window keeps
        // the whole text until it is shown.
        const int width = label->width() - 32;
        label->setText(label->isVisible() && width > 0
                           ? label->fontMetrics().elidedText(text, Qt::ElideRight, width)
                           : text);
        label->setToolTip(text.left(1000));
    }
}

#include "windows/instructs/instructitemeditor.h"

#include "model/instructset.h"
#include "windows/common/itemrows.h"

#include <dorvane/WdxWidgets.h>

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextDocument>

namespace {

QPushButton *iconButton(const char *icon, const char *objectName, const QString &toolTip, QWidget *parent)
{
    auto *button = Wdx::createPushButton(QIcon(QLatin1String(icon)), parent);
    button->setObjectName(QLatin1String(objectName));
    button->setToolTip(toolTip);
    return button;
}

} // namespace

InstructItemEditor::InstructItemEditor(InstructItem *item, ChannelProxy *channel, const QFont &editorFont,
                                       QWidget *parent)
    : QWidget(parent)
    , m_item(item)
    , m_sender(std::make_unique<TransmitTextSender>(channel))
{
    setFocusPolicy(Qt::StrongFocus);
    const ItemRowParts parts
        = createItemRowParts(this, editorFont, item->textMode, item->content, QStringLiteral("InstructEdit"));
    m_numberLabel = parts.number;
    m_textModeLabel = parts.textMode;
    m_instructEdit = parts.editor;
    m_titleEdit = Wdx::createLineEdit(this);
    m_titleEdit->setObjectName(QStringLiteral("TitleEdit"));
    m_titleEdit->setMaximumWidth(160);
    m_titleEdit->setMinimumWidth(64);
    m_titleEdit->setPlaceholderText(tr("Title"));
    m_titleEdit->setText(item->title);

    m_editButton
        = iconButton(":/Resources/explorer/edit.png", "EditButton", tr("Edit in the transmit window"), this);
    m_deleteButton = iconButton(":/Resources/editor/delete.png", "DeleteButton", tr("Delete"), this);
    m_moveUpButton = iconButton(":/Resources/editor/move-up.png", "MoveUpButton", tr("Move up"), this);
    m_moveDownButton
        = iconButton(":/Resources/editor/move-down.png", "MoveDownButton", tr("Move down"), this);
    // Without arrows: a narrow dock needs the room for the title and the
    // instruct; the value is typed or turned with the wheel.
    m_intervalSpin = Wdx::createSpinBox(InstructSet::MinInterval, InstructSet::MaxInterval, 1000, -1, false,
                                        tr(" (ms)"), this);
    m_intervalSpin->setObjectName(QStringLiteral("IntervalSpinBox"));
    // The row shows the delay the set keeps, which is the one the batch waits.
    m_intervalSpin->setValue(item->interval);
    auto *sendButton = Wdx::createPushButton(tr("Send"), QStringLiteral("SendButton"), false, false, this);

    connect(m_titleEdit, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_item->title = text.trimmed();
        emit edited();
    });
    connect(m_instructEdit, &QPlainTextEdit::textChanged, this, [this] {
        m_item->content = m_instructEdit->toPlainText().trimmed();
        emit edited();
    });
    connect(m_intervalSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        m_item->interval = value;
        emit edited();
    });
    connect(m_editButton, &QPushButton::clicked, this,
            [this] { emit transmitTextRequested(m_item->content, m_item->textMode); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { emit deleteRequested(this); });
    connect(m_moveUpButton, &QPushButton::clicked, this, [this] { emit moveRequested(this, -1); });
    connect(m_moveDownButton, &QPushButton::clicked, this, [this] { emit moveRequested(this, 1); });
    connect(sendButton, &QPushButton::clicked, this, [this] { emit sendRequested(this); });

    setUpRow(this, m_instructEdit, sendButton);
    Wdx::layoutWidgets(Qt::Horizontal, this,
                       {m_numberLabel, m_titleEdit, m_textModeLabel, m_instructEdit, m_editButton,
                        m_deleteButton, m_moveUpButton, m_moveDownButton, m_intervalSpin, sendButton},
                       0, 4);
}

InstructItemEditor::~InstructItemEditor() = default;

void InstructItemEditor::setNumber(const QString &text)
{
    m_numberLabel->setText(text);
}

void InstructItemEditor::setTitleVisible(bool visible)
{
    m_titleEdit->setVisible(visible);
}

void InstructItemEditor::setIntervalVisible(bool visible)
{
    m_intervalSpin->setVisible(visible);
}

void InstructItemEditor::setEditVisible(bool visible)
{
    m_editButton->setVisible(visible);
}

void InstructItemEditor::setMoveVisible(bool visible)
{
    m_moveUpButton->setVisible(visible);
    m_moveDownButton->setVisible(visible);
}

void InstructItemEditor::setDeleteVisible(bool visible)
{
    m_deleteButton->setVisible(visible);
}

int InstructItemEditor::buildCount() const
{
    return m_sender->buildCount();
}

TransmitTextSender::Result InstructItemEditor::send()
{
    QTextDocument *document = m_instructEdit->document();
    const TransmitTextSender::Result result
        = m_sender->send(m_item->content, m_item->textMode, document->isModified());
    if (result == TransmitTextSender::Sent || result == TransmitTextSender::BuildFailed)
        document->setModified(false);
    return result;
}

#include "windows/history/historyitemeditor.h"

#include "model/historylist.h"
#include "services/transmittextsender.h"
#include "windows/common/itemrows.h"

#include <dorvane/WdxWidgets.h>

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

HistoryItemEditor::HistoryItemEditor(HistoryRecord *record, ChannelProxy *channel, const QFont &editorFont,
                                     QWidget *parent)
    : QWidget(parent)
    , m_record(record)
    , m_sender(std::make_unique<TransmitTextSender>(channel))
{
    const ItemRowParts parts = createItemRowParts(this, editorFont, record->textMode, record->content,
                                                  QStringLiteral("ContentEdit"));
    m_numberLabel = parts.number;
    m_textModeLabel = parts.textMode;
    m_contentEdit = parts.editor;
    m_contentEdit->setReadOnly(true);
    m_timeLabel = Wdx::createLabel(record->fireTime, QStringLiteral("TimeLabel"),
                                   Qt::AlignLeft | Qt::AlignVCenter, this);
    // In a narrow dock the time goes under the date and leaves the room to
    // the content.
    m_timeLabel->setWordWrap(true);

    auto *copyButton = Wdx::createPushButton(QIcon(QStringLiteral(":/Resources/history/copy.png")), this);
    copyButton->setObjectName(QStringLiteral("CopyButton"));
    copyButton->setToolTip(tr("Copy"));
    m_deleteButton = Wdx::createPushButton(QIcon(QStringLiteral(":/Resources/editor/delete.png")), this);
    m_deleteButton->setObjectName(QStringLiteral("DeleteButton"));
    m_deleteButton->setToolTip(tr("Delete"));
    m_deleteButton->setVisible(false);
    auto *sendButton = Wdx::createPushButton(tr("Send"), QStringLiteral("SendButton"), false, false, this);

    connect(copyButton, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(m_record->content); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { emit deleteRequested(this); });
    connect(sendButton, &QPushButton::clicked, this, &HistoryItemEditor::send);

    setUpRow(this, m_contentEdit, sendButton);
    Wdx::layoutWidgets(
        Qt::Horizontal, this,
        {m_numberLabel, m_timeLabel, m_textModeLabel, m_contentEdit, copyButton, m_deleteButton, sendButton},
        0, 4);
}

HistoryItemEditor::~HistoryItemEditor() = default;

void HistoryItemEditor::setNumber(const QString &text)
{
    m_numberLabel->setText(text);
}

void HistoryItemEditor::refreshFireTime()
{
    m_timeLabel->setText(m_record->fireTime);
}

void HistoryItemEditor::setDeleteVisible(bool visible)
{
    m_deleteButton->setVisible(visible);
}

int HistoryItemEditor::buildCount() const
{
    return m_sender->buildCount();
}

void HistoryItemEditor::send()
{
    // The record's text never changes, so the frame built first is kept.
    noticeSendResult(m_sender->send(m_record->content, m_record->textMode, false));
}

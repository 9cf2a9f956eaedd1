#include "windows/transmit/transmittextedit.h"

#include "model/transmittext.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

TransmitTextEdit::TransmitTextEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("DialogueEdit"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setCursorWidth(2);
}

QString TransmitTextEdit::dataText() const
{
    const QString text = toPlainText().trimmed();
    if (text.isEmpty())
        return text;
    return convertTransmitText(text, m_inputMode);
}

QString TransmitTextEdit::checksumInput() const
{
    if (m_inputMode != HexTextMode)
        return QString();
    const QTextCursor cursor = textCursor();
    QString text;
    if (cursor.hasSelection()) {
        text = cursor.selectedText();
    } else {
        QTextCursor before(document());
        before.setPosition(cursor.position(), QTextCursor::KeepAnchor);
        text = before.selectedText();
    }
    // A selection separates its lines with the paragraph separator.
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return hexTransmitBytes(text);
}

bool TransmitTextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void TransmitTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        textCursor().insertText(source->text());
}

void TransmitTextEdit::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        emit sendRequested();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

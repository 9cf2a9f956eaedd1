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
    connect(this, &QPlainTextEdit::textChanged, this, &TransmitTextEdit::markInvalidHex);
}

void TransmitTextEdit::setInputMode(int mode)
{
    m_inputMode = mode;
    markInvalidHex();
}

namespace {

bool isHex(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
           || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
           || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Positions of the characters of a hex text that are neither hex digits nor
// spaces; "//" to the end of its line is a comment.
QVector<int> invalidHexPositions(const QString &text)
{
    QVector<int> positions;
    bool comment = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
            comment = false;
            continue;
        }
        if (comment || c.isSpace() || isHex(c))
            continue;
        if (c == QLatin1Char('/') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('/')) {
            comment = true;
            continue;
        }
        positions.append(i);
    }
    return positions;
}

} // namespace

QString TransmitTextEdit::invalidHexCharacters() const
{
    if (m_inputMode != HexTextMode)
        return QString();
    const QString text = toPlainText();
    QString wrong;
    for (int position : invalidHexPositions(text)) {
        if (!wrong.contains(text.at(position)))
            wrong += text.at(position);
    }
    return wrong;
}

void TransmitTextEdit::markInvalidHex()
{
    QList<QTextEdit::ExtraSelection> marks;
    if (m_inputMode == HexTextMode) {
        QTextCharFormat format;
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        format.setUnderlineColor(Qt::red);
        format.setForeground(Qt::red);
        const QVector<int> positions = invalidHexPositions(toPlainText());
        // Neighbouring faults are one mark: adjacent marks would not all be
        // drawn. A huge paste marks its first thousand runs; the send names them all.
        for (int i = 0; i < positions.size() && marks.size() < 1000;) {
            int end = i + 1;
            while (end < positions.size() && positions.at(end) == positions.at(end - 1) + 1)
                ++end;
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(document());
            mark.cursor.setPosition(positions.at(i));
            mark.cursor.setPosition(positions.at(end - 1) + 1, QTextCursor::KeepAnchor);
            mark.format = format;
            marks.append(mark);
            i = end;
        }
    }
    setExtraSelections(marks);
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

#include "windows/dialogue/echofindbar.h"

#include "windows/dialogue/echotextedit.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>

EchoFindBar::EchoFindBar(EchoTextEdit *edit, QWidget *parent)
    : QWidget(parent)
    , m_edit(edit)
{
    setObjectName(QStringLiteral("EchoFindBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("FindText"));
    m_text->setPlaceholderText(tr("Find"));
    m_text->setClearButtonEnabled(true);
    m_text->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 14);
    m_hex = new QCheckBox(tr("Hex"), this);
    m_hex->setObjectName(QStringLiteral("FindHex"));
    m_case = new QCheckBox(tr("Match Case"), this);
    m_case->setObjectName(QStringLiteral("FindMatchCase"));
    m_all = new QCheckBox(tr("Highlight All"), this);
    m_all->setObjectName(QStringLiteral("FindHighlightAll"));
    m_all->setChecked(true);
    auto *previous = new QToolButton(this);
    previous->setObjectName(QStringLiteral("FindPrevious"));
    previous->setText(tr("Previous"));
    auto *next = new QToolButton(this);
    next->setObjectName(QStringLiteral("FindNext"));
    next->setText(tr("Next"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("FindCount"));
    m_count->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000 of 00000")));
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("FindClose"));
    close->setText(QStringLiteral("\u2715"));
    close->setToolTip(tr("Close"));
    layout->addWidget(m_text, 1);
    layout->addWidget(m_hex);
    layout->addWidget(m_case);
    layout->addWidget(m_all);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_count);
    layout->addWidget(close);

    connect(m_text, &QLineEdit::textChanged, this, &EchoFindBar::search);
    connect(m_text, &QLineEdit::returnPressed, this, &EchoFindBar::findNext);
    connect(m_hex, &QCheckBox::toggled, this, &EchoFindBar::search);
    connect(m_case, &QCheckBox::toggled, this, &EchoFindBar::search);
    connect(m_all, &QCheckBox::toggled, this, &EchoFindBar::showCurrent);
    connect(next, &QToolButton::clicked, this, &EchoFindBar::findNext);
    connect(previous, &QToolButton::clicked, this, &EchoFindBar::findPrevious);
    connect(close, &QToolButton::clicked, this, &QWidget::hide);
    auto *escape
        = new QShortcut(QKeySequence(Qt::Key_Escape), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::hide);
    auto *shiftReturn = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Return), m_text, nullptr, nullptr,
                                      Qt::WidgetShortcut);
    connect(shiftReturn, &QShortcut::activated, this, &EchoFindBar::findPrevious);
}

QString EchoFindBar::hexPattern(const QString &text)
{
    QString digits;
    for (QChar ch : text) {
        if (ch.isSpace())
            continue;
        if (!isxdigit(ch.toLatin1()) || ch.unicode() > 0x7F)
            return QString();
        digits += ch.toUpper();
    }
    if (digits.isEmpty() || digits.size() % 2 != 0)
        return QString();
    QString pattern;
    pattern.reserve(digits.size() / 2 * 3);
    for (int i = 0; i < digits.size(); i += 2) {
        if (i > 0)
            pattern += QLatin1Char(' ');
        pattern += digits.midRef(i, 2);
    }
    return pattern;
}

QVector<EchoFindBar::Match> EchoFindBar::findAll(const EchoTextEdit *edit, const QString &pattern, bool hex,
                                                 bool matchCase)
{
    QVector<Match> matches;
    const QString needle = hex ? hexPattern(pattern) : pattern;
    if (needle.isEmpty())
        return matches;
    // Hex pairs are upper case in the view, whatever the user typed.
    const Qt::CaseSensitivity sensitivity = hex || matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int lines = edit->logLineCount();
    for (int line = 0; line < lines; ++line) {
        const QString &text = edit->logLineText(line);
        int from = 0;
        while ((from = text.indexOf(needle, from, sensitivity)) >= 0) {
            // A hex match starts and ends on whole pairs.
            if (hex && ((from > 0 && text.at(from - 1) != QLatin1Char(' ')))) {
                ++from;
                continue;
            }
            matches.push_back({line, from, needle.size()});
            from += needle.size();
        }
    }
    return matches;
}

void EchoFindBar::search()
{
    m_matches = findAll(m_edit, m_text->text(), m_hex->isChecked(), m_case->isChecked());
    m_current = -1;
    if (!m_matches.isEmpty()) {
        // The first match in the document's part of the log, at or after
        // the view's cursor, so a search starts where the user is looking.
        const int firstShown = m_edit->logLineCount() - m_edit->document()->blockCount();
        const int atLine = firstShown + m_edit->textCursor().blockNumber();
        m_current = 0;
        for (int i = 0; i < m_matches.size(); ++i) {
            if (m_matches.at(i).line >= atLine) {
                m_current = i;
                break;
            }
        }
    }
    showCurrent();
}

void EchoFindBar::findNext()
{
    if (m_matches.isEmpty())
        return;
    m_current = (m_current + 1) % m_matches.size();
    showCurrent();
}

void EchoFindBar::findPrevious()
{
    if (m_matches.isEmpty())
        return;
    m_current = (m_current - 1 + m_matches.size()) % m_matches.size();
    showCurrent();
}

void EchoFindBar::showCurrent()
{
    const bool bad = !m_text->text().isEmpty() && m_matches.isEmpty();
    m_text->setStyleSheet(bad ? QStringLiteral("QLineEdit { background: #f8d0d0; }") : QString());
    if (m_text->text().isEmpty())
        m_count->clear();
    else
        m_count->setText(tr("%1 of %2").arg(m_current + 1).arg(m_matches.size()));

    QList<QTextEdit::ExtraSelection> selections;
    if (m_current >= 0) {
        const Match &match = m_matches.at(m_current);
        // First the current one: revealing it may page older lines in.
        const QTextCursor cursor = m_edit->revealLogRange(match.line, match.offset, match.length);
        const int firstShown = m_edit->logLineCount() - m_edit->document()->blockCount();
        QTextEdit::ExtraSelection all;
        all.format.setBackground(QColor(255, 240, 120));
        if (m_all->isChecked()) {
            const int first = qMax(0, m_current - kMaxHighlights / 2);
            const int last = qMin(m_matches.size(), first + kMaxHighlights);
            for (int i = first; i < last; ++i) {
                const Match &other = m_matches.at(i);
                if (other.line < firstShown)
                    continue;
                const QTextBlock block = m_edit->document()->findBlockByNumber(other.line - firstShown);
                all.cursor = QTextCursor(block);
                all.cursor.setPosition(block.position() + other.offset);
                all.cursor.setPosition(block.position() + other.offset + other.length,
                                       QTextCursor::KeepAnchor);
                selections << all;
            }
        }
        QTextEdit::ExtraSelection current;
        current.format.setBackground(QColor(255, 150, 50));
        current.cursor = cursor;
        selections << current;
        m_edit->setTextCursor(cursor);
        m_edit->ensureCursorVisible();
    }
    m_edit->setFindSelections(selections);
}

void EchoFindBar::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_matches.clear();
    m_current = -1;
    m_edit->setFindSelections({});
    m_edit->setFocus();
}

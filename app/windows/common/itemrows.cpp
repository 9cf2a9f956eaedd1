#include "windows/common/itemrows.h"

#include "model/itemdocument.h"

#include "shell/application.h"
#include "shell/applicationoptions.h"

#include <dorvane/wdx.h>

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// A row's editor shows at most this many lines before it scrolls.
const int kMaxEditorLines = 12;

// Fits the editor again whenever its width changes its wrapped lines.
class EditorHeightKeeper : public QObject
{
public:
    explicit EditorHeightKeeper(QPlainTextEdit *editor)
        : QObject(editor)
        , m_editor(editor)
    {
        editor->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        // The editor lays its text out to the new width after this event.
        if (event->type() == QEvent::Resize)
            QMetaObject::invokeMethod(
                this, [this] { fitEditorHeight(m_editor); }, Qt::QueuedConnection);
        return false;
    }

private:
    QPlainTextEdit *m_editor;
};

int digitCount(int value)
{
    return QString::number(qMax(value, 1)).size();
}

} // namespace

QString rowNumberText(int row, int rowCount)
{
    return QStringLiteral("%1").arg(row + 1, digitCount(rowCount));
}

bool rowDigitsChanged(int rowCount, int previousCount)
{
    return digitCount(rowCount) != digitCount(previousCount);
}

void fitEditorHeight(QPlainTextEdit *editor)
{
    // Wrapped lines count; laying out the first few blocks is enough.
    QTextDocument *document = editor->document();
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    int shown = 0;
    for (QTextBlock block = document->begin(); block.isValid() && shown < kMaxEditorLines;
         block = block.next()) {
        layout->blockBoundingRect(block);
        shown += qMax(1, block.lineCount());
    }
    // A scroll bar only while the text is longer than the editor may grow;
    // one that comes and goes would change the wrapping it depends on.
    editor->setVerticalScrollBarPolicy(shown >= kMaxEditorLines ? Qt::ScrollBarAsNeeded
                                                                : Qt::ScrollBarAlwaysOff);
    const int lines = qMin(shown, kMaxEditorLines) + 1;
    const int height = lines * editor->fontMetrics().lineSpacing();
    // Fixed rather than only capped: the row must make room for the lines.
    if (editor->maximumHeight() != height || editor->minimumHeight() != height)
        editor->setFixedHeight(height);
}

ItemRowParts createItemRowParts(QWidget *row, int textMode, const QString &text, const QString &editorName)
{
    const QFont editorFont = dvApp && dvApp->options() ? dvApp->options()->editorFont : row->font();
    ItemRowParts parts;
    parts.number
        = Wdx::createLabel(QString(), QStringLiteral("NumberLabel"), Qt::AlignRight | Qt::AlignVCenter, row);
    parts.number->setFont(editorFont);
    parts.textMode = Wdx::createLabel(textModeName(textMode), QStringLiteral("TextModeLabel"),
                                      Qt::AlignLeft | Qt::AlignVCenter, row);
    parts.textMode->setMinimumWidth(40);
    parts.editor = new QPlainTextEdit(row);
    parts.editor->setObjectName(editorName);
    parts.editor->setFont(editorFont);
    parts.editor->setPlainText(text);
    return parts;
}

void setUpRow(QWidget *row, QPlainTextEdit *editor, QPushButton *sendButton)
{
    row->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    editor->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    editor->setMinimumWidth(60);
    fitEditorHeight(editor);
    QObject::connect(editor->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged,
                     editor, [editor] { fitEditorHeight(editor); });
    new EditorHeightKeeper(editor);
    // Picture buttons take no more room than their picture.
    for (QPushButton *button : row->findChildren<QPushButton *>()) {
        if (button->text().isEmpty())
            button->setFixedSize(28, 24);
    }
    sendButton->setMinimumWidth(sendButton->fontMetrics().horizontalAdvance(sendButton->text()) + 24);
    sendButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

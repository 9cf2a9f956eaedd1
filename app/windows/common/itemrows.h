#pragma once

#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Pieces the history and instruct-set windows share: their rows. Their
// documents are read and written by model/itemdocument.

// A row number right-aligned to the digit count of the row count.
QString rowNumberText(int row, int rowCount);
// Whether inserting or removing a row changed the digit count, so every row
// needs its number again.
bool rowDigitsChanged(int rowCount, int previousCount);

// Lets a row's text editor grow with its text, one line of room to spare,
// up to a handful of lines; a longer text scrolls inside the editor. Lines
// wrapped in a narrow editor count as lines, so the editor follows its
// width as well.
void fitEditorHeight(QPlainTextEdit *editor);

// The pieces every item row has, in the editor font: its number label
// ("NumberLabel"), its text-mode label ("TextModeLabel") and the editor of
// its text, named as given.
struct ItemRowParts
{
    QLabel *number;
    QLabel *textMode;
    QPlainTextEdit *editor;
};
ItemRowParts createItemRowParts(QWidget *row, int textMode, const QString &text, const QString &editorName);

// Gives a row the height of its controls (its editor grows with its text)
// and lets it share a narrow dock: the Send button needs no more than its
// text.
void setUpRow(QWidget *row, QPlainTextEdit *editor, QPushButton *sendButton);

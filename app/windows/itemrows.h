#pragma once

#include <QString>

#include <yaml-cpp/yaml.h>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Pieces the history and instruct-set windows share: their rows, the text
// modes their files name, and reading their documents.

// "Hex" for mode 0, "Text" for mode 1, "Hex" for anything else.
QString textModeName(int textMode);
// The mode a file names: 1 for "Text", 0 for "Hex", anything else or nothing.
int textModeFromNode(const YAML::Node &item, const char *key);

// The text of a scalar entry, in the local 8-bit encoding; false when the
// entry is missing or not a scalar.
bool readItemText(const YAML::Node &item, const char *key, QString *text);

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
struct ItemRowParts {
    QLabel *number;
    QLabel *textMode;
    QPlainTextEdit *editor;
};
ItemRowParts createItemRowParts(QWidget *row, int textMode, const QString &text, const QString &editorName);

// Gives a row the height of its controls (its editor grows with its text)
// and lets it share a narrow dock: the Send button needs no more than its
// text.
void setUpRow(QWidget *row, QPlainTextEdit *editor, QPushButton *sendButton);

// Reads a document that holds one list of items under listKey, behind the
// header with the given format title. False, leaving items alone, for a path
// that is not a regular file (directories and pipes are never opened), a file
// too large to be one of ours, text that is not YAML or a foreign header.
// An empty (null) list is an empty sequence.
bool readItemDocument(const QString &path, const char *title, const char *listKey, YAML::Node &items);

// Writes a document made of the header and the item list; false with the
// reason when the file could not be replaced (the old file stays whole).
bool writeItemDocument(const QString &path, const char *title, const char *listKey, const YAML::Node &items,
                       QString *reason);

#pragma once

#include <QString>

#include <yaml-cpp/yaml.h>

#include <map>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// Pieces the history and instruct-set windows share: their rows, the text
// modes their files name, and reading their documents.

// "Hex" for mode 0, "Text" for mode 1, "Hex" for anything else.
QString textModeName(int textMode);

// One entry of an item list as read from a document: the scalar values of a
// map entry by key. An entry that is not a map has none; a value that is not
// a scalar (null, a list, a map, an alias) is missing.
struct ItemEntry
{
    bool isMap = false;
    std::map<std::string, std::string> values;

    // The value in the local 8-bit encoding; false when it is missing.
    bool text(const char *key, QString *text) const;
    // 1 for "Text", 0 for "Hex", anything else or nothing.
    int textMode(const char *key) const;
    // The value as a number brought into [minimum, maximum]; the fallback
    // when it is missing or not a number.
    int boundedInt(const char *key, int minimum, int maximum, int fallback) const;
};

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

// Reads a document that holds one list of items under listKey, behind the
// header with the given format title, keeping its first maxEntries entries;
// *moreEntries tells whether the list goes on beyond them. Reading stops
// there, so a huge list costs no more than its first entries (the header
// must come before the list, as every document we write has it). False,
// leaving entries alone, for a path that is not a regular file (directories
// and pipes are never opened), a file too large to be one of ours, text that
// is not YAML or a foreign header. An empty (null) list has no entries.
bool readItemDocument(const QString &path, const char *title, const char *listKey, int maxEntries,
                      std::vector<ItemEntry> &entries, bool *moreEntries);

// Writes a document made of the header and the item list; false with the
// reason when the file could not be replaced (the old file stays whole).
bool writeItemDocument(const QString &path, const char *title, const char *listKey, const YAML::Node &items,
                       QString *reason);

#pragma once

#include <QString>

#include <yaml-cpp/yaml.h>

#include <map>
#include <string>
#include <vector>

// The documents of the history and instruct-set windows: a header and one
// list of items, each a map of scalars.

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

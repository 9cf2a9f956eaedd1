#pragma once

#include <QString>

#include <yaml-cpp/yaml.h>

#include <string>

// Every YAML document of the application opens with the same header:
// "fileFormat" (the title that tells one kind of document from another) and
// "fileVersion". A document is taken only when both are there and its title
// is the one expected, so another kind of file is never read as this one.
struct DocumentHeader
{
    bool hasFormat = false;
    bool formatIsScalar = false;
    bool hasVersion = false;
    std::string format;

    // The header of a parsed root; nothing found when the root is no map.
    static DocumentHeader of(const YAML::Node &root);
    bool isOf(const char *title) const;
};

// Whether a parsed root is a map that carries the header with this title.
bool hasDocumentHeader(const YAML::Node &root, const char *title);
// A map holding only the header, for a document about to be filled.
YAML::Node newYamlDocument(const char *title, const char *version = "1.0");

// Writes a YAML document whole and atomically; false when the file cannot be
// written, with the system's reason when one is asked for. Every writer of
// the application's YAML files goes through it.
bool writeYamlDocument(const QString &path, const YAML::Node &document, QString *reason = nullptr);

#pragma once

// What the transmit- and receive-protocol documents share: the document header, the field
// attributes, the generator of a value and writing the emitted text to disk.

#include <string>

class Context;
class Field;
class ValueMetaInfo;

namespace YAML {
class Emitter;
class Node;
} // namespace YAML

namespace ProtocolDocument {

// Reads the whole file as one YAML document with the header of `title` (see HasHeader). False
// when it is not a readable regular file or the header is not that one; throws a YAML exception
// for text that is not YAML.
bool LoadDocument(const std::string &path, const char *title, YAML::Node &root);

// True when the key exists in the mapping and does not hold a null. Throws a YAML exception
// when `map` is a scalar.
bool HasEntry(const YAML::Node &map, const char *key);

// The four top-level keys exist, none is null and "fileFormat" is `title` exactly.
bool HasHeader(const YAML::Node &root, const char *title);

// Writes "fileFormat" and "fileVersion" into an open root mapping.
void EmitHeader(YAML::Emitter &out, const char *title);

// Writes a text scalar so that loading gives back exactly its bytes, whether or not they are
// UTF-8 (text arrives in the local 8-bit encoding).
void EmitText(YAML::Emitter &out, const std::string &text);

// Writes "name", "tid", "endian" and "enable" into an open field mapping.
void EmitFieldAttributes(YAML::Emitter &out, const Field &field);

// Reads the four attributes of a field mapping; false when one is missing or null. Throws a
// YAML exception for a value of the wrong kind.
bool ReadFieldAttributes(const YAML::Node &node, Field &field);

// Writes "generator" and "params" into an open value mapping.
void EmitValue(YAML::Emitter &out, const Context &ctx, const ValueMetaInfo &value);

// Reads "generator" and "params" of a value mapping; false when one is missing or null. Throws
// a YAML exception for a value of the wrong kind.
bool ReadValue(const YAML::Node &node, const Context &ctx, ValueMetaInfo &value);

// Replaces the file with the emitted document (whose texts went through EmitText); false when
// the emitter failed or the file could not be written completely.
bool WriteDocument(const std::string &path, const YAML::Emitter &out);

} // namespace ProtocolDocument

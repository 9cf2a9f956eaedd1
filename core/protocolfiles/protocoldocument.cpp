#include "protocolfiles/protocoldocument.h"

#include "protocolfiles/atomicwrite.h"

#include <dorvane/field.h>

#include <yaml-cpp/yaml.h>

namespace ProtocolDocument {

bool HasEntry(const YAML::Node &map, const char *key)
{
    // Subscripting a const node never inserts; a missing key gives an undefined node.
    const YAML::Node entry = map[key];
    return entry.IsDefined() && !entry.IsNull();
}

bool HasHeader(const YAML::Node &root, const char *title)
{
    if (!root.IsMap()) {
        return false;
    }
    for (const char *key : {"fileFormat", "fileVersion", "protocol", "fields"}) {
        if (!HasEntry(root, key)) {
            return false;
        }
    }
    return root["fileFormat"].as<std::string>() == title;
}

void EmitHeader(YAML::Emitter &out, const char *title)
{
    out << YAML::Key << "fileFormat" << YAML::Value << title;
    out << YAML::Key << "fileVersion" << YAML::Value << "1.0";
}

void EmitFieldAttributes(YAML::Emitter &out, const Field &field)
{
    out << YAML::Key << "name" << YAML::Value << field.GetName();
    out << YAML::Key << "tid" << YAML::Value << field.GetTypeId();
    out << YAML::Key << "endian" << YAML::Value << static_cast<int>(field.GetEndian());
    out << YAML::Key << "enable" << YAML::Value << field.IsEnabled();
}

bool ReadFieldAttributes(const YAML::Node &node, Field &field)
{
    for (const char *key : {"name", "tid", "endian", "enable"}) {
        if (!HasEntry(node, key)) {
            return false;
        }
    }
    field.SetName(node["name"].as<std::string>());
    field.SetTypeId(node["tid"].as<int>());
    field.SetEndian(static_cast<Endianness>(node["endian"].as<int>()));
    field.SetEnabled(node["enable"].as<bool>());
    return true;
}

bool WriteDocument(const std::string &path, const YAML::Emitter &out)
{
    if (!out.good()) {
        return false;
    }
    std::string text(out.c_str(), out.size());
    text += '\n';
    return WriteFileAtomically(path, text);
}

} // namespace ProtocolDocument

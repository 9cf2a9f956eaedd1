// Reading and writing receive-protocol documents.
#include <dorvane/context.h>
#include <dorvane/framerolecheck.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>

#include "protocolfiles/protocoldocument.h"

#include <yaml-cpp/yaml.h>

#include <memory>
#include <stdexcept>

namespace {

const char kTitle[] = "dorvane rx-protocol file";

// The roles follow the field list as one extra top-level map, which readers
// that do not know it pass over.
void EmitRoles(YAML::Emitter &out, const RxFrameRoles &roles)
{
    if (!roles.hasChecksum && roles.sequenceField < 0) {
        return;
    }
    out << YAML::Key << "roles" << YAML::Value << YAML::BeginMap;
    if (roles.hasChecksum) {
        const FrameChecksum &c = roles.checksum;
        out << YAML::Key << "checksum" << YAML::Value << YAML::BeginMap;
        out << YAML::Key << "model" << YAML::Value;
        ProtocolDocument::EmitText(out, c.model.name);
        out << YAML::Key << "width" << YAML::Value << c.model.width;
        out << YAML::Key << "poly" << YAML::Value << YAML::Hex << c.model.poly;
        out << YAML::Key << "init" << YAML::Value << YAML::Hex << c.model.init;
        out << YAML::Key << "refin" << YAML::Value << c.model.refin;
        out << YAML::Key << "refout" << YAML::Value << c.model.refout;
        out << YAML::Key << "xorout" << YAML::Value << YAML::Hex << c.model.xorout;
        out << YAML::Key << "field" << YAML::Value << YAML::Dec << c.field;
        out << YAML::Key << "firstCoveredField" << YAML::Value << c.firstCoveredField;
        out << YAML::EndMap;
    }
    if (roles.sequenceField >= 0) {
        out << YAML::Key << "sequenceField" << YAML::Value << roles.sequenceField;
    }
    out << YAML::EndMap;
}

// Any fault in the roles map costs the roles, never the fields.
RxFrameRoles ReadRoles(const YAML::Node &root, std::string &warning)
{
    RxFrameRoles roles;
    if (!root.IsMap() || !root["roles"]) {
        return roles;
    }
    try {
        const YAML::Node node = root["roles"];
        if (!node.IsMap()) {
            warning = "The field roles were dropped: \"roles\" is not a map.";
            return roles;
        }
        if (node["checksum"]) {
            const YAML::Node c = node["checksum"];
            for (const char *key : {"model", "width", "poly", "init", "refin", "refout", "xorout", "field",
                                    "firstCoveredField"}) {
                if (!ProtocolDocument::HasEntry(c, key)) {
                    throw std::runtime_error(std::string("the checksum has no \"") + key + "\"");
                }
            }
            roles.checksum.model.name = c["model"].as<std::string>();
            roles.checksum.model.width = c["width"].as<int>();
            roles.checksum.model.poly = c["poly"].as<std::uint32_t>();
            roles.checksum.model.init = c["init"].as<std::uint32_t>();
            roles.checksum.model.refin = c["refin"].as<bool>();
            roles.checksum.model.refout = c["refout"].as<bool>();
            roles.checksum.model.xorout = c["xorout"].as<std::uint32_t>();
            roles.checksum.field = c["field"].as<int>();
            roles.checksum.firstCoveredField = c["firstCoveredField"].as<int>();
            roles.hasChecksum = true;
        }
        if (node["sequenceField"]) {
            roles.sequenceField = node["sequenceField"].as<int>();
        }
    } catch (const std::exception &e) {
        warning = std::string("The field roles were dropped: ") + e.what() + ".";
        return RxFrameRoles();
    }
    return roles;
}

} // namespace

bool RxProtocol::Save(const std::string &path, Context *ctx)
{
    if (!ctx) {
        return false;
    }
    YAML::Emitter out;
    out << YAML::BeginMap;
    ProtocolDocument::EmitHeader(out, kTitle);
    out << YAML::Key << "protocol" << YAML::Value << YAML::BeginMap;
    out << YAML::Key << "fields" << YAML::Value << static_cast<int>(m_fields.size());
    out << YAML::EndMap;

    out << YAML::Key << "fields" << YAML::Value << YAML::BeginSeq;
    for (const RxField *field : m_fields) {
        const RxValueMetaInfo *value = field->GetValueMetaInfo();
        out << YAML::BeginMap;
        ProtocolDocument::EmitFieldAttributes(out, *field);
        out << YAML::Key << "meta" << YAML::Value << YAML::BeginSeq;
        out << YAML::BeginMap;
        ProtocolDocument::EmitValue(out, *ctx, *value);
        out << YAML::Key << "graph" << YAML::Value << value->GetGraphId();
        out << YAML::Key << "form" << YAML::Value << value->GetFormId();
        out << YAML::Key << "flag" << YAML::Value << static_cast<int>(value->GetFlag());
        out << YAML::EndMap;
        out << YAML::EndSeq;
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;
    EmitRoles(out, m_roles);
    out << YAML::EndMap;
    return ProtocolDocument::WriteDocument(path, out);
}

bool RxProtocol::Load(const std::string &path, Context *ctx)
{
    if (!ctx) {
        return false;
    }
    try {
        YAML::Node loaded;
        // Only const access from here on: subscripting a non-const node may change it.
        const YAML::Node &root = loaded;
        if (!ProtocolDocument::LoadDocument(path, kTitle, loaded)) {
            return false;
        }
        DeleteAllFields();
        m_roles = RxFrameRoles();
        m_loadWarning.clear();

        // The header holds only the field count, which the field list itself gives.
        const YAML::Node fields = root["fields"];
        if (!fields.IsSequence()) {
            return true;
        }
        for (const YAML::Node &entry : fields) {
            // Owned here until complete, so a faulty entry is discarded, also on a throw.
            auto field = std::make_unique<RxField>();
            if (!ProtocolDocument::ReadFieldAttributes(entry, *field)
                || !ProtocolDocument::HasEntry(entry, "meta")) {
                return false;
            }
            const YAML::Node meta = entry["meta"];
            if (meta.IsSequence()) {
                // A field has one value; a later entry overwrites an earlier one.
                for (const YAML::Node &item : meta) {
                    RxValueMetaInfo *value = field->GetValueMetaInfo();
                    if (!ProtocolDocument::ReadValue(item, *ctx, *value)) {
                        return false;
                    }
                    for (const char *key : {"graph", "form", "flag"}) {
                        if (!ProtocolDocument::HasEntry(item, key)) {
                            return false;
                        }
                    }
                    value->SetGraphId(item["graph"].as<int>());
                    value->SetFormId(item["form"].as<int>());
                    value->SetFlag(static_cast<RxValueMetaInfo::FieldFlag>(item["flag"].as<int>()));
                }
            }
            m_fields.push_back(field.release());
        }
        // Roles are checked against the fields they name; a bad one is dropped.
        RxFrameRoles roles = ReadRoles(root, m_loadWarning);
        std::string message;
        ValidateFrameRoles(*this, roles, message);
        if (!message.empty()) {
            m_loadWarning += (m_loadWarning.empty() ? "" : "\n") + message;
        }
        m_roles = roles;
        return true;
    } catch (...) {
        // Unreadable files, syntax errors, wrong node kinds and failed conversions alike.
        return false;
    }
}

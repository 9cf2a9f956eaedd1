// Reading and writing receive-protocol documents.
#include <dorvane/context.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>

#include "protocolfiles/protocoldocument.h"

#include <yaml-cpp/yaml.h>

#include <memory>

namespace {

const char kTitle[] = "dorvane rx-protocol file";

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
        return true;
    } catch (...) {
        // Unreadable files, syntax errors, wrong node kinds and failed conversions alike.
        return false;
    }
}

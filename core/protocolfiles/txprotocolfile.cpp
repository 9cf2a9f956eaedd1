// Reading and writing transmit-protocol documents.
#include <dorvane/context.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>

#include "protocolfiles/protocoldocument.h"

#include <yaml-cpp/yaml.h>

#include <memory>

namespace {

const char kTitle[] = "dorvane protocol file";

} // namespace

bool TxProtocol::Save(const std::string &path, Context *ctx)
{
    if (!ctx) {
        return false;
    }
    YAML::Emitter out;
    out << YAML::BeginMap;
    ProtocolDocument::EmitHeader(out, kTitle);
    out << YAML::Key << "protocol" << YAML::Value << YAML::BeginMap;
    out << YAML::Key << "fields" << YAML::Value << static_cast<int>(m_fields.size());
    out << YAML::Key << "values" << YAML::Value << m_valueCountPerField;
    out << YAML::EndMap;

    out << YAML::Key << "fields" << YAML::Value << YAML::BeginSeq;
    for (const TxField *field : m_fields) {
        out << YAML::BeginMap;
        ProtocolDocument::EmitFieldAttributes(out, *field);
        out << YAML::Key << "meta" << YAML::Value << YAML::BeginSeq;
        for (int column = 0; column < field->GetValueMetaInfoCount(); ++column) {
            const ValueMetaInfo *value = field->GetValueMetaInfo(column);
            if (!value) {
                continue;
            }
            out << YAML::BeginMap;
            ProtocolDocument::EmitValue(out, *ctx, *value);
            out << YAML::EndMap;
        }
        out << YAML::EndSeq;
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;
    out << YAML::EndMap;
    return ProtocolDocument::WriteDocument(path, out);
}

bool TxProtocol::Load(const std::string &path, Context *ctx)
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

        const YAML::Node header = root["protocol"];
        if (!ProtocolDocument::HasEntry(header, "fields") || !ProtocolDocument::HasEntry(header, "values")) {
            return false;
        }
        header["fields"].as<int>();
        const int values = header["values"].as<int>();
        // Every field must be able to hold its columns: a count that Save can never write
        // would leave the protocol without columns or with more than the editor allows.
        if (values < 1 || values > m_maxValueCountPerField) {
            return false;
        }
        m_valueCountPerField = values;

        const YAML::Node fields = root["fields"];
        if (!fields.IsSequence()) {
            return true;
        }
        for (const YAML::Node &entry : fields) {
            // Owned here until complete, so a faulty entry is discarded, also on a throw.
            auto field = std::make_unique<TxField>();
            if (!ProtocolDocument::ReadFieldAttributes(entry, *field)
                || !ProtocolDocument::HasEntry(entry, "meta")) {
                return false;
            }
            const YAML::Node meta = entry["meta"];
            if (meta.IsSequence()) {
                for (const YAML::Node &item : meta) {
                    if (!ProtocolDocument::ReadValue(item, *ctx, *field->NewValueMetaInfo())) {
                        return false;
                    }
                }
            }
            // Column k of the protocol is entry k of every field: a field written with fewer
            // entries gets default ones, entries past the column count cannot be reached.
            while (field->GetValueMetaInfoCount() < values) {
                field->NewValueMetaInfo();
            }
            while (field->GetValueMetaInfoCount() > values) {
                field->DeleteValueMetaInfo(field->GetValueMetaInfoCount() - 1);
            }
            m_fields.push_back(field.release());
        }
        return true;
    } catch (...) {
        // Unreadable files, syntax errors, wrong node kinds and failed conversions alike.
        return false;
    }
}

#include "protocolfiles/protocoldocument.h"

#include "protocolfiles/atomicwrite.h"

#include <dorvane/context.h>
#include <dorvane/field.h>
#include <dorvane/valuemetainfo.h>

#include <yaml-cpp/yaml.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

// The emitter replaces every byte that is not part of a well-formed UTF-8 sequence with U+FFFD
// when it quotes a string, which would corrupt text in an 8-bit encoding such as Latin-1. Such
// bytes therefore pass through the emitter as private-use code points U+10FE00 + byte and are
// put back as raw bytes in the emitted text; the reader keeps raw bytes as they are, quoted or
// not. The marker code points never reach the emitter otherwise: where a text holds one, its
// bytes are carried as markers themselves.
constexpr unsigned kMarkerBase = 0x10FE00;

void AppendMarker(std::string &out, unsigned char byte)
{
    const unsigned code = kMarkerBase + byte;
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
}

// The length of the sequence at `at` if the emitter writes it unchanged (a shortest-form code
// point that is neither a surrogate nor a noncharacter ending in FFFE/FFFF, and not a marker),
// else 0.
std::size_t SafeSequenceLength(const std::string &text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length;
    unsigned code;
    unsigned minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) || (code & 0xFFFE) == 0xFFFE
        || (code >= kMarkerBase && code <= kMarkerBase + 0xFF)) {
        return 0;
    }
    return length;
}

std::string Protect(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SafeSequenceLength(text, at);
        if (length == 0) {
            AppendMarker(out, static_cast<unsigned char>(text[at]));
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

std::string Restore(const char *text, std::size_t size)
{
    std::string out;
    out.reserve(size);
    for (std::size_t at = 0; at < size;) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        if (size - at >= 4 && byte(at) == 0xF4 && byte(at + 1) == 0x8F && byte(at + 2) >= 0xB8
            && byte(at + 2) <= 0xBB && (byte(at + 3) & 0xC0) == 0x80) {
            out += static_cast<char>(((byte(at + 2) - 0xB8) << 6) | (byte(at + 3) & 0x3F));
            at += 4;
        } else {
            out += text[at];
            ++at;
        }
    }
    return out;
}

} // namespace

namespace ProtocolDocument {

bool LoadDocument(const std::string &path, const char *title, YAML::Node &root)
{
    // Read here rather than by yaml-cpp, which takes a directory for an empty file (and leaks
    // its read buffer doing so).
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    root = YAML::Load(text.str());
    return HasHeader(root, title);
}

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

void EmitText(YAML::Emitter &out, const std::string &text)
{
    out << Protect(text);
}

void EmitFieldAttributes(YAML::Emitter &out, const Field &field)
{
    out << YAML::Key << "name" << YAML::Value;
    EmitText(out, field.GetName());
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

void EmitValue(YAML::Emitter &out, const Context &ctx, const ValueMetaInfo &value)
{
    out << YAML::Key << "generator" << YAML::Value
        << ctx.GetValueGeneratorName(value.GetValueGeneratorType());
    out << YAML::Key << "params" << YAML::Value;
    EmitText(out, value.GetParamList());
}

bool ReadValue(const YAML::Node &node, const Context &ctx, ValueMetaInfo &value)
{
    if (!HasEntry(node, "generator") || !HasEntry(node, "params")) {
        return false;
    }
    value.SetValueGeneratorType(ctx.GetValueGenerator(node["generator"].as<std::string>()));
    value.SetParamList(node["params"].as<std::string>());
    return true;
}

bool WriteDocument(const std::string &path, const YAML::Emitter &out)
{
    if (!out.good()) {
        return false;
    }
    std::string text = Restore(out.c_str(), out.size());
    text += '\n';
    return WriteFileAtomically(path, text);
}

} // namespace ProtocolDocument

#include <dorvane/cheadergenerator.h>

#include "export/framelayout.h"
#include "export/sourcetext.h"

#include <sstream>

namespace {

// Keywords of C (up to C23) and of C++, so the header also builds inside extern "C".
const std::vector<std::string> kReservedNames = {
    "auto",      "bool",      "break",   "case",     "catch",     "char",          "class",       "const",
    "constexpr", "continue",  "default", "delete",   "do",        "double",        "else",        "enum",
    "explicit",  "extern",    "false",   "float",    "for",       "friend",        "goto",        "if",
    "inline",    "int",       "long",    "mutable",  "namespace", "new",           "nullptr",     "operator",
    "private",   "protected", "public",  "register", "restrict",  "return",        "short",       "signed",
    "sizeof",    "static",    "struct",  "switch",   "template",  "this",          "throw",       "true",
    "try",       "typedef",   "typeid",  "typename", "union",     "unsigned",      "using",       "virtual",
    "void",      "volatile",  "while",   "alignas",  "alignof",   "static_assert", "thread_local"};

const char *CType(int typeId)
{
    switch (typeId) {
    case 1:
        return "int8_t";
    case 2:
        return "int16_t";
    case 3:
        return "int32_t";
    case 10:
        return "uint8_t";
    case 11:
        return "uint16_t";
    case 12:
        return "uint32_t";
    case 20:
        return "float";
    case 21:
        return "double";
    }
    return "uint8_t";
}

std::string Upper(std::string text)
{
    for (char &c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::string RoleText(const LayoutItem &item)
{
    switch (item.role) {
    case LayoutItem::HeadFlag:
        return "head flag";
    case LayoutItem::TailFlag:
        return "tail flag";
    case LayoutItem::Bytes:
        return "block";
    case LayoutItem::Elements:
        return "elements";
    default:
        return "value";
    }
}

// The statements that read one element at pointer b into a value of the field's C type.
std::string ReadBody(const std::string &p, const LayoutItem &item, const std::string &b)
{
    const std::string order = item.endian == LittleEndian ? "le" : "be";
    const std::string type = CType(item.typeId);
    if (item.width == 1) {
        return "    return (" + type + ")" + b + "[0];\n";
    }
    const std::string bits = std::to_string(item.width * 8);
    const std::string load = p + "_load_" + order + bits + "(" + b + ")";
    if (IsFloatType(item.typeId)) {
        return "    uint" + bits + "_t u = " + load + ";\n    " + type + " v;\n"
               + "    memcpy(&v, &u, sizeof v);\n    return v;\n";
    }
    return "    return (" + type + ")" + load + ";\n";
}

std::string WriteBody(const std::string &p, const LayoutItem &item, const std::string &b)
{
    const std::string order = item.endian == LittleEndian ? "le" : "be";
    if (item.width == 1) {
        return "    " + b + "[0] = (uint8_t)v;\n";
    }
    const std::string bits = std::to_string(item.width * 8);
    const std::string store = p + "_store_" + order + bits + "(" + b + ", ";
    if (IsFloatType(item.typeId)) {
        return "    uint" + bits + "_t u;\n    memcpy(&u, &v, sizeof u);\n    " + store + "u);\n";
    }
    return "    " + store + "(uint" + bits + "_t)v);\n";
}

void WriteByteOrderHelpers(std::ostream &out, const std::string &p)
{
    for (const int bits : {16, 32, 64}) {
        const std::string t = "uint" + std::to_string(bits) + "_t";
        const int n = bits / 8;
        out << "static inline " << t << " " << p << "_load_le" << bits << "(const uint8_t *b)\n{\n"
            << "    " << t << " v = 0;\n"
            << "    for (int i = " << n - 1 << "; i >= 0; --i)\n        v = (" << t << ")((v << 8) | b[i]);\n"
            << "    return v;\n}\n\n";
        out << "static inline " << t << " " << p << "_load_be" << bits << "(const uint8_t *b)\n{\n"
            << "    " << t << " v = 0;\n"
            << "    for (int i = 0; i < " << n << "; ++i)\n        v = (" << t << ")((v << 8) | b[i]);\n"
            << "    return v;\n}\n\n";
        out << "static inline void " << p << "_store_le" << bits << "(uint8_t *b, " << t << " v)\n{\n"
            << "    for (int i = 0; i < " << n << "; ++i)\n        b[i] = (uint8_t)(v >> (8 * i));\n}\n\n";
        out << "static inline void " << p << "_store_be" << bits << "(uint8_t *b, " << t << " v)\n{\n"
            << "    for (int i = 0; i < " << n << "; ++i)\n        b[" << n - 1
            << " - i] = (uint8_t)(v >> (8 * i));\n}\n\n";
    }
}

void WriteCrc(std::ostream &out, const std::string &p, const std::string &P, const FrameLayout &layout,
              const std::string &checksumMember, const LayoutItem &checksumItem)
{
    const CrcParameters &model = layout.crc;
    const int bits = model.width;
    const int digits = bits / 4;
    const unsigned long long mask = bits == 32 ? 0xFFFFFFFFull : (1ull << bits) - 1;
    auto reflect = [bits](unsigned long long value) {
        unsigned long long r = 0;
        for (int i = 0; i < bits; ++i) {
            r = (r << 1) | (value & 1);
            value >>= 1;
        }
        return r;
    };
    const std::string hexMask = HexNumber(mask, digits) + "u";
    out << "/* Checksum " << CommentText(model.name) << ": width " << bits << ", poly "
        << HexNumber(model.poly & mask, digits) << ", init " << HexNumber(model.init & mask, digits)
        << ", refin " << (model.refin ? "true" : "false") << ", refout " << (model.refout ? "true" : "false")
        << ", xorout " << HexNumber(model.xorout & mask, digits) << ".\n"
        << " * Check value (the CRC of the ASCII text \"123456789\"): "
        << HexNumber(CrcCheckValue(model), digits) << ". */\n";
    out << "#define " << P << "_CRC_CHECK " << HexNumber(CrcCheckValue(model), digits) << "u\n\n";
    out << "static inline uint32_t " << p << "_crc(const uint8_t *data, size_t len)\n{\n";
    if (model.refin) {
        out << "    uint32_t c = " << HexNumber(reflect(model.init & mask), digits) << "u;\n"
            << "    for (size_t i = 0; i < len; ++i) {\n"
            << "        c ^= data[i];\n"
            << "        for (int k = 0; k < 8; ++k)\n"
            << "            c = (c & 1u) ? (c >> 1) ^ " << HexNumber(reflect(model.poly & mask), digits)
            << "u : c >> 1;\n"
            << "    }\n";
        if (!model.refout) {
            out << "    uint32_t r = 0;\n"
                << "    for (int k = 0; k < " << bits << "; ++k) {\n"
                << "        r = (r << 1) | (c & 1u);\n"
                << "        c >>= 1;\n"
                << "    }\n"
                << "    c = r;\n";
        }
    } else {
        out << "    uint32_t c = " << HexNumber(model.init & mask, digits) << "u;\n"
            << "    for (size_t i = 0; i < len; ++i) {\n"
            << "        c ^= (uint32_t)data[i] << " << bits - 8 << ";\n"
            << "        for (int k = 0; k < 8; ++k)\n"
            << "            c = ((c & " << HexNumber(1ull << (bits - 1), digits) << "u) ? (c << 1) ^ "
            << HexNumber(model.poly & mask, digits) << "u : c << 1) & " << hexMask << ";\n"
            << "    }\n";
        if (model.refout) {
            out << "    uint32_t r = 0;\n"
                << "    for (int k = 0; k < " << bits << "; ++k) {\n"
                << "        r = (r << 1) | (c & 1u);\n"
                << "        c >>= 1;\n"
                << "    }\n"
                << "    c = r;\n";
        }
    }
    out << "    return (c ^ " << HexNumber(model.xorout & mask, digits) << "u) & " << hexMask << ";\n}\n\n";

    out << "/* 1 when the routine gives the model's check value, 0 otherwise. */\n"
        << "static inline int " << p << "_crc_check(void)\n{\n"
        << "    static const uint8_t text[9] = {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39};\n"
        << "    return " << p << "_crc(text, sizeof text) == " << P << "_CRC_CHECK;\n}\n\n";

    const std::string type = CType(checksumItem.typeId);
    out << "/* The checksum over bytes " << layout.crcBegin << " to " << layout.crcEnd - 1
        << " of the frame. */\n"
        << "static inline uint32_t " << p << "_compute_checksum(const struct " << p << "_frame *f)\n{\n"
        << "    return " << p << "_crc((const uint8_t *)f + " << layout.crcBegin << ", "
        << layout.crcEnd - layout.crcBegin << ");\n}\n\n";
    out << "static inline void " << p << "_update_checksum(struct " << p << "_frame *f)\n{\n"
        << "    " << p << "_set_" << checksumMember << "(f, (" << type << ")" << p
        << "_compute_checksum(f));\n}\n\n";
    out << "static inline int " << p << "_checksum_ok(const struct " << p << "_frame *f)\n{\n"
        << "    return ((uint32_t)" << p << "_get_" << checksumMember << "(f) & " << hexMask << ") == " << p
        << "_compute_checksum(f);\n}\n\n";
}

} // namespace

CHeaderGenerator::CHeaderGenerator()
    : m_column(0)
    , m_hasChecksum(false)
{
}

void CHeaderGenerator::SetName(const std::string &name)
{
    m_name = name;
}

void CHeaderGenerator::SetValueColumn(int column)
{
    m_column = column;
}

void CHeaderGenerator::SetChecksum(const FrameChecksum &checksum)
{
    m_checksum = checksum;
    m_hasChecksum = true;
}

void CHeaderGenerator::ClearChecksum()
{
    m_hasChecksum = false;
}

bool CHeaderGenerator::Generate(const TxProtocol *protocol, std::string &source)
{
    return GenerateFrom(protocol, source);
}

bool CHeaderGenerator::Generate(const RxProtocol *protocol, std::string &source)
{
    return GenerateFrom(protocol, source);
}

template<typename Protocol>
bool CHeaderGenerator::GenerateFrom(const Protocol *protocol, std::string &source)
{
    m_error.clear();
    FrameLayout layout;
    if (!PrepareLayout(protocol, m_column, m_hasChecksum ? &m_checksum : nullptr, layout, m_error)) {
        return false;
    }
    std::string p = SanitizeIdentifier(m_name, true);
    if (p.empty()) {
        p = "dorvane";
    }
    const std::string P = Upper(p);

    IdentifierSet members(kReservedNames);
    std::vector<std::string> member(layout.items.size());
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        member[i] = members.Take(layout.items[i].name,
                                 "field" + std::to_string(layout.items[i].fieldIndex + 1), true);
    }

    std::ostringstream out;
    out << "/* C header for the frames of " << CommentText(m_name.empty() ? p : m_name)
        << ", written by Dorvane.\n"
        << " * A frame is " << layout.size << " bytes. The struct holds every field as bytes in wire order;\n"
        << " * the functions below read and write them in the field's byte order on any host. */\n";
    out << "#ifndef " << P << "_FRAME_H\n#define " << P << "_FRAME_H\n\n"
        << "#include <stddef.h>\n#include <stdint.h>\n#include <string.h>\n\n"
        << "#ifdef __cplusplus\nextern \"C\" {\n#endif\n\n";
    out << "#define " << P << "_FRAME_SIZE " << layout.size << "u\n";
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const LayoutItem &item = layout.items[i];
        const std::string M = Upper(member[i]);
        if (item.role == LayoutItem::Bytes) {
            out << "#define " << P << "_" << M << "_BYTES " << item.size << "u\n";
        } else if (item.role == LayoutItem::Elements || item.count > 1) {
            out << "#define " << P << "_" << M << "_COUNT " << item.count << "u\n";
        }
        if (item.IsFlag()) {
            out << "#define " << P << "_" << M << "_PATTERN " << COctalLiteral(item.pattern) << "\n";
        }
    }
    out << "\n#pragma pack(push, 1)\nstruct " << p << "_frame\n{\n";
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const LayoutItem &item = layout.items[i];
        out << "    uint8_t " << member[i] << "[" << item.size << "]; /* field " << item.fieldIndex + 1;
        if (!item.name.empty()) {
            out << " \"" << CommentText(item.name) << "\"";
        }
        out << ": " << (item.count > 1 ? std::to_string(item.count) + " x " : "") << TypeName(item.typeId)
            << ", " << (item.endian == LittleEndian ? "little" : "big") << " endian, " << RoleText(item)
            << (static_cast<int>(i) == layout.checksumItem ? ", checksum" : "") << ", offset " << item.offset
            << " */\n";
    }
    out << "};\n#pragma pack(pop)\n\n"
        << "#ifndef __cplusplus\n_Static_assert(sizeof(struct " << p << "_frame) == " << P
        << "_FRAME_SIZE, \"the frame struct has no padding\");\n#endif\n\n";

    WriteByteOrderHelpers(out, p);

    bool hasFlags = false;
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const LayoutItem &item = layout.items[i];
        hasFlags = hasFlags || item.IsFlag();
        if (item.role == LayoutItem::Bytes) {
            continue;
        }
        const std::string type = CType(item.typeId);
        const std::string frame = "struct " + p + "_frame *f";
        if (item.role == LayoutItem::Elements || item.count > 1) {
            const std::string at = "f->" + member[i] + " + i * " + std::to_string(item.width);
            out << "/* Element i, below " << P << "_" << Upper(member[i]) << "_COUNT. */\n"
                << "static inline " << type << " " << p << "_get_" << member[i] << "(const " << frame
                << ", size_t i)\n{\n    const uint8_t *b = " << at << ";\n"
                << ReadBody(p, item, "b") << "}\n\n";
            out << "static inline void " << p << "_set_" << member[i] << "(" << frame << ", size_t i, "
                << type << " v)\n{\n    uint8_t *b = " << at << ";\n"
                << WriteBody(p, item, "b") << "}\n\n";
        } else {
            out << "static inline " << type << " " << p << "_get_" << member[i] << "(const " << frame
                << ")\n{\n"
                << ReadBody(p, item, "f->" + member[i]) << "}\n\n";
            out << "static inline void " << p << "_set_" << member[i] << "(" << frame << ", " << type
                << " v)\n{\n"
                << WriteBody(p, item, "f->" + member[i]) << "}\n\n";
        }
    }

    out << "/* A frame of zeros" << (hasFlags ? " with its flags in place" : "") << ". */\n"
        << "static inline void " << p << "_frame_init(struct " << p << "_frame *f)\n{\n"
        << "    memset(f, 0, sizeof *f);\n";
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        if (layout.items[i].IsFlag()) {
            out << "    memcpy(f->" << member[i] << ", " << P << "_" << Upper(member[i]) << "_PATTERN, "
                << layout.items[i].size << ");\n";
        }
    }
    out << "}\n\n";

    if (layout.checksumItem >= 0) {
        WriteCrc(out, p, P, layout, member[layout.checksumItem], layout.items[layout.checksumItem]);
    }

    out << "#ifdef __cplusplus\n}\n#endif\n\n#endif\n";
    source = out.str();
    return true;
}

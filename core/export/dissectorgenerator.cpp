#include <dorvane/dissectorgenerator.h>

#include "export/framelayout.h"
#include "export/sourcetext.h"

#include <sstream>

namespace {

// Names the script itself gives to fields of its own; a protocol field never gets them.
const char *const kSkippedField = "skipped";
const char *const kChecksumStatusField = "checksum_status";
const char *const kFlagExpert = "flag_mismatch";
const char *const kChecksumExpert = "checksum_bad";
const char *const kTruncatedExpert = "truncated";

const char *ProtoFieldKind(int typeId)
{
    switch (typeId) {
    case 1:
        return "int8";
    case 2:
        return "int16";
    case 3:
        return "int32";
    case 10:
        return "uint8";
    case 11:
        return "uint16";
    case 12:
        return "uint32";
    case 20:
        return "float";
    case 21:
        return "double";
    }
    return "bytes";
}

const char *UnsignedKind(int typeId)
{
    switch (typeId) {
    case 1:
        return "uint8";
    case 2:
        return "uint16";
    case 3:
        return "uint32";
    }
    return ProtoFieldKind(typeId);
}

// The TvbRange method that reads one element as a Lua number.
std::string Reader(const LayoutItem &item)
{
    const char *kind = IsFloatType(item.typeId) ? "float" : (IsSignedType(item.typeId) ? "int" : "uint");
    return std::string(item.endian == LittleEndian && item.width > 1 ? "le_" : "") + kind;
}

std::string AddCall(const LayoutItem &item)
{
    return item.endian == LittleEndian && item.width > 1 ? "add_le" : "add";
}

std::string Label(const LayoutItem &item, bool checksum)
{
    std::string label = item.name.empty() ? "Field " + std::to_string(item.fieldIndex + 1) : item.name;
    switch (item.role) {
    case LayoutItem::HeadFlag:
        label += " [head flag]";
        break;
    case LayoutItem::TailFlag:
        label += " [tail flag]";
        break;
    case LayoutItem::Bytes:
        label += " [block]";
        break;
    default:
        break;
    }
    if (checksum) {
        label += " [checksum]";
    }
    return label;
}

std::string Range(int offset, int size)
{
    return "tvb(off + " + std::to_string(offset) + ", " + std::to_string(size) + ")";
}

// CRC over a Lua string, with bit32 (Lua 5.2) or Wireshark's own bit library; results are
// brought back to unsigned, as the older library returns signed 32-bit numbers.
void WriteCrc(std::ostream &out, const CrcParameters &model)
{
    const int bits = model.width;
    const unsigned long long mask = bits == 32 ? 0xFFFFFFFFull : (1ull << bits) - 1;
    auto reflect = [bits](unsigned long long value) {
        unsigned long long r = 0;
        for (int i = 0; i < bits; ++i) {
            r = (r << 1) | (value & 1);
            value >>= 1;
        }
        return r;
    };
    const int digits = bits / 4;
    out << "-- Checksum " << CommentText(model.name) << ": width " << bits << ", poly "
        << HexNumber(model.poly & mask, digits) << ", init " << HexNumber(model.init & mask, digits)
        << ", refin " << (model.refin ? "true" : "false") << ", refout " << (model.refout ? "true" : "false")
        << ", xorout " << HexNumber(model.xorout & mask, digits) << "; check value "
        << HexNumber(CrcCheckValue(model), digits) << " over \"123456789\".\n";
    out << "local bits = bit32 or bit\n"
           "local band, bxor, lshift, rshift = bits.band, bits.bxor, bits.lshift, bits.rshift\n"
           "local function u32(x) return x % 4294967296 end\n";
    out << "local CRC_MASK = " << HexNumber(mask, digits) << "\n";
    out << "local function reflect(v, n)\n"
           "    local r = 0\n"
           "    for _ = 1, n do r = r * 2 + v % 2; v = math.floor(v / 2) end\n"
           "    return r\n"
           "end\n";
    out << "local function crc_of(s)\n";
    if (model.refin) {
        out << "    local poly = " << HexNumber(reflect(model.poly & mask), digits) << "\n";
        out << "    local c = " << HexNumber(reflect(model.init & mask), digits) << "\n";
        out << "    for i = 1, #s do\n"
               "        c = u32(bxor(c, s:byte(i)))\n"
               "        for _ = 1, 8 do\n"
               "            if c % 2 == 1 then c = u32(bxor(rshift(c, 1), poly)) else c = u32(rshift(c, 1)) "
               "end\n"
               "        end\n"
               "    end\n";
        if (!model.refout) {
            out << "    c = reflect(c, " << bits << ")\n";
        }
    } else {
        out << "    local poly = " << HexNumber(model.poly & mask, digits) << "\n";
        out << "    local c = " << HexNumber(model.init & mask, digits) << "\n";
        out << "    local top = " << HexNumber(1ull << (bits - 1), digits) << "\n";
        out << "    for i = 1, #s do\n"
               "        c = u32(bxor(c, lshift(s:byte(i), "
            << bits - 8
            << ")))\n"
               "        for _ = 1, 8 do\n"
               "            if band(c, top) ~= 0 then c = u32(band(bxor(lshift(c, 1), poly), CRC_MASK))\n"
               "            else c = u32(band(lshift(c, 1), CRC_MASK)) end\n"
               "        end\n"
               "    end\n";
        if (model.refout) {
            out << "    c = reflect(c, " << bits << ")\n";
        }
    }
    out << "    return u32(band(bxor(c, " << HexNumber(model.xorout & mask, digits) << "), CRC_MASK))\n"
        << "end\n\n";
}

} // namespace

DissectorGenerator::DissectorGenerator()
    : m_column(0)
    , m_transport(NoTransport)
    , m_port(0)
    , m_heuristic(true)
    , m_hasChecksum(false)
{
}

void DissectorGenerator::SetName(const std::string &name)
{
    m_name = name;
}

void DissectorGenerator::SetTitle(const std::string &title)
{
    m_title = title;
}

void DissectorGenerator::SetValueColumn(int column)
{
    m_column = column;
}

void DissectorGenerator::SetPort(Transport transport, int port)
{
    m_transport = transport;
    m_port = port;
}

void DissectorGenerator::SetHeuristic(bool enabled)
{
    m_heuristic = enabled;
}

void DissectorGenerator::SetChecksum(const FrameChecksum &checksum)
{
    m_checksum = checksum;
    m_hasChecksum = true;
}

void DissectorGenerator::ClearChecksum()
{
    m_hasChecksum = false;
}

bool DissectorGenerator::Generate(const TxProtocol *protocol, std::string &source)
{
    return GenerateFrom(protocol, source);
}

bool DissectorGenerator::Generate(const RxProtocol *protocol, std::string &source)
{
    return GenerateFrom(protocol, source);
}

template<typename Protocol>
bool DissectorGenerator::GenerateFrom(const Protocol *protocol, std::string &source)
{
    m_error.clear();
    FrameLayout layout;
    if (!PrepareLayout(protocol, m_column, m_hasChecksum ? &m_checksum : nullptr, layout, m_error)) {
        return false;
    }
    if (m_transport != NoTransport && (m_port < 1 || m_port > 65535)) {
        m_error = "The port " + std::to_string(m_port) + " is not a port number from 1 to 65535.";
        return false;
    }

    std::string name = SanitizeIdentifier(m_name, true);
    if (name.empty()) {
        name = "dorvane";
    }
    const std::string title = m_title.empty() ? name : m_title;
    IdentifierSet abbrevs(
        {kSkippedField, kChecksumStatusField, kFlagExpert, kChecksumExpert, kTruncatedExpert});
    const bool hasHead = !layout.head.empty();

    std::ostringstream out;
    out << "-- Wireshark dissector for " << CommentText(title) << ", written by Dorvane.\n"
        << "-- Self-contained Lua 5.2; load it with: wireshark -X lua_script:<this file>\n"
        << "-- Frames of " << layout.size << " bytes"
        << (hasHead ? ", found by their head pattern." : ", one after the other.") << "\n\n";
    out << "local proto = Proto(" << LuaStringLiteral(name) << ", " << LuaStringLiteral(title) << ")\n";
    out << "local FRAME_SIZE = " << layout.size << "\n";
    out << "local HEAD = " << LuaBytesLiteral(layout.head) << "\n\n";

    // Fields live in a table, not in locals: Lua allows 200 locals per function and a protocol
    // may have a thousand fields.
    out << "local F = {}\n";
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const LayoutItem &item = layout.items[i];
        const std::string abbrev
            = name + "." + abbrevs.Take(item.name, "field" + std::to_string(item.fieldIndex + 1), true);
        const bool checksum = static_cast<int>(i) == layout.checksumItem;
        const std::string label = LuaStringLiteral(Label(item, checksum));
        out << "F[" << i + 1 << "] = ProtoField.";
        if (item.role == LayoutItem::Bytes) {
            out << "bytes(" << LuaStringLiteral(abbrev) << ", " << label << ")";
        } else if (IsFloatType(item.typeId)) {
            out << ProtoFieldKind(item.typeId) << "(" << LuaStringLiteral(abbrev) << ", " << label << ")";
        } else if (item.IsFlag() || checksum) {
            // Flags and checksums are bit patterns, shown in hex; Wireshark has hex only for
            // unsigned fields, so a signed one is shown as the unsigned type of its width.
            out << UnsignedKind(item.typeId) << "(" << LuaStringLiteral(abbrev) << ", " << label
                << ", base.HEX)";
        } else {
            out << ProtoFieldKind(item.typeId) << "(" << LuaStringLiteral(abbrev) << ", " << label
                << ", base.DEC)";
        }
        out << " -- " << TypeName(item.typeId) << ", "
            << (item.endian == LittleEndian ? "little endian" : "big endian") << "\n";
    }
    out << "local f_skipped = ProtoField.bytes(" << LuaStringLiteral(name + "." + kSkippedField)
        << ", \"Bytes outside a frame\")\n";
    out << "F[#F + 1] = f_skipped\n";
    if (layout.checksumItem >= 0) {
        out << "local f_checksum_status = ProtoField.string("
            << LuaStringLiteral(name + "." + kChecksumStatusField) << ", \"Checksum status\")\n";
        out << "F[#F + 1] = f_checksum_status\n";
    }
    out << "proto.fields = F\n\n";

    out << "local e_flag = ProtoExpert.new(" << LuaStringLiteral(name + "." + kFlagExpert)
        << ", \"Flag does not match its constants\", expert.group.MALFORMED, expert.severity.ERROR)\n";
    out << "local e_checksum = ProtoExpert.new(" << LuaStringLiteral(name + "." + kChecksumExpert)
        << ", \"Checksum is wrong\", expert.group.CHECKSUM, expert.severity.ERROR)\n";
    out << "local e_truncated = ProtoExpert.new(" << LuaStringLiteral(name + "." + kTruncatedExpert)
        << ", \"Frame cut short\", expert.group.MALFORMED, expert.severity.WARN)\n";
    out << "proto.experts = { e_flag, e_checksum, e_truncated }\n\n";

    if (layout.checksumItem >= 0) {
        WriteCrc(out, layout.crc);
    }

    out << "local function dissect_frame(tvb, off, tree)\n"
        << "    local t = tree:add(proto, tvb(off, FRAME_SIZE))\n"
        << "    local item\n";
    for (std::size_t i = 0; i < layout.items.size(); ++i) {
        const LayoutItem &item = layout.items[i];
        const std::string field = "F[" + std::to_string(i + 1) + "]";
        const bool inHead = static_cast<int>(i) < layout.headItems;
        if (item.role == LayoutItem::Bytes) {
            out << "    t:add(" << field << ", " << Range(item.offset, item.size) << ")\n";
            continue;
        }
        if (item.role == LayoutItem::Elements || item.count > 1) {
            out << "    item = t:add(" << Range(item.offset, item.size) << ", "
                << LuaStringLiteral(Label(item, false) + " (" + std::to_string(item.count) + " elements)")
                << ")\n";
            out << "    for i = 0, " << item.count - 1 << " do item:" << AddCall(item) << "(" << field
                << ", tvb(off + " << item.offset << " + i * " << item.width << ", " << item.width
                << ")) end\n";
        } else {
            out << "    item = t:" << AddCall(item) << "(" << field << ", " << Range(item.offset, item.size)
                << ")\n";
        }
        // The head run was matched when the frame was found; every other flag is checked here.
        if (item.IsFlag() && !(inHead && hasHead)) {
            out << "    if tvb:raw(off + " << item.offset << ", " << item.size
                << ") ~= " << LuaBytesLiteral(item.pattern)
                << " then item:add_proto_expert_info(e_flag) end\n";
        }
        if (item.role == LayoutItem::Value && item.coefficient != 1.0f) {
            out << "    item:append_text(string.format(\" [x %.7g = %.7g]\", " << LuaNumber(item.coefficient)
                << ", " << Range(item.offset, item.size) << ":" << Reader(item) << "() * "
                << LuaNumber(item.coefficient) << "))\n";
        }
        if (static_cast<int>(i) == layout.checksumItem) {
            const std::string reader = item.endian == LittleEndian && item.width > 1 ? "le_uint" : "uint";
            out << "    do\n"
                << "        local want = crc_of(tvb:raw(off + " << layout.crcBegin << ", "
                << layout.crcEnd - layout.crcBegin << "))\n"
                << "        if " << Range(item.offset, item.size) << ":" << reader << "() == want then\n"
                << "            item:append_text(\" [correct]\")\n"
                << "            t:add(f_checksum_status, " << Range(item.offset, item.size) << ", \"Good\")\n"
                << "        else\n"
                << "            item:append_text(string.format(\" [incorrect, should be 0x%0"
                << item.width * 2 << "x]\", want))\n"
                << "            item:add_proto_expert_info(e_checksum)\n"
                << "            t:add(f_checksum_status, " << Range(item.offset, item.size) << ", \"Bad\")\n"
                << "        end\n"
                << "    end\n";
        }
    }
    out << "    return t\n"
        << "end\n\n";

    // The buffer's bytes are taken out once per call: a reassembled TCP buffer may hold
    // thousands of frames, and copying its rest for every frame would be quadratic.
    out << "-- The first offset from 'from' on where a frame starts, nil when none does.\n"
        << "local function find_frame(data, from)\n"
        << "    if #HEAD == 0 then return from end\n"
        << "    local i = string.find(data, HEAD, from + 1, true)\n"
        << "    if i == nil then return nil end\n"
        << "    return i - 1\n"
        << "end\n\n";
    out << "-- Where the buffer ends in the beginning of a head pattern, nil when it does not.\n"
        << "local function partial_head(data, from)\n"
        << "    local len = #data\n"
        << "    for s = math.max(from, len - #HEAD + 1), len - 1 do\n"
        << "        if data:sub(s + 1) == HEAD:sub(1, len - s) then return s end\n"
        << "    end\n"
        << "    return nil\n"
        << "end\n\n";
    out << "-- Dissects every frame of the buffer; on a stream the rest of a frame cut short is asked\n"
        << "-- for from the next segments.\n"
        << "local function dissect_stream(tvb, pinfo, tree)\n"
        << "    local len = tvb:len()\n"
        << "    local data = tvb:raw(0, len)\n"
        << "    local stream = pinfo.can_desegment > 0\n"
        << "    local off = 0\n"
        << "    local frames = 0\n"
        << "    while off < len do\n"
        << "        local start = find_frame(data, off)\n"
        << "        if start == nil then\n"
        << "            local rest = stream and partial_head(data, off) or nil\n"
        << "            if rest ~= nil then\n"
        << "                if rest > off then tree:add(f_skipped, tvb(off, rest - off)) end\n"
        << "                pinfo.desegment_offset = rest\n"
        << "                pinfo.desegment_len = DESEGMENT_ONE_MORE_SEGMENT\n"
        << "                break\n"
        << "            end\n"
        << "            tree:add(f_skipped, tvb(off, len - off))\n"
        << "            break\n"
        << "        end\n"
        << "        if start > off then tree:add(f_skipped, tvb(off, start - off)) end\n"
        << "        if len - start < FRAME_SIZE then\n"
        << "            if stream then\n"
        << "                pinfo.desegment_offset = start\n"
        << "                pinfo.desegment_len = FRAME_SIZE - (len - start)\n"
        << "            else\n"
        << "                local item = tree:add(f_skipped, tvb(start, len - start))\n"
        << "                item:add_proto_expert_info(e_truncated)\n"
        << "            end\n"
        << "            break\n"
        << "        end\n"
        << "        dissect_frame(tvb, start, tree)\n"
        << "        frames = frames + 1\n"
        << "        off = start + FRAME_SIZE\n"
        << "    end\n"
        << "    if frames > 0 then\n"
        << "        pinfo.cols.protocol = proto.name\n"
        << "        pinfo.cols.info = frames .. (frames == 1 and \" frame\" or \" frames\")\n"
        << "    end\n"
        << "    return len\n"
        << "end\n\n";
    out << "function proto.dissector(tvb, pinfo, tree)\n"
        << "    return dissect_stream(tvb, pinfo, tree)\n"
        << "end\n\n";

    out << "-- Captures of link type 147: the table is keyed by the encapsulation, not the link type.\n"
        << "DissectorTable.get(\"wtap_encap\"):add(wtap_encaps.USER0, proto)\n";
    if (m_transport == Udp) {
        out << "DissectorTable.get(\"udp.port\"):add(" << m_port << ", proto)\n";
    } else if (m_transport == Tcp) {
        out << "DissectorTable.get(\"tcp.port\"):add(" << m_port << ", proto)\n";
    }
    if (m_heuristic && hasHead) {
        out << "\n-- Any UDP datagram or TCP stream that begins with the head pattern; a TCP stream stays\n"
            << "-- with this dissector once it was recognised.\n"
            << "local function heuristic(tvb, pinfo, tree)\n"
            << "    if tvb:len() < #HEAD or tvb:raw(0, #HEAD) ~= HEAD then return false end\n"
            << "    pinfo.conversation = proto\n"
            << "    dissect_stream(tvb, pinfo, tree)\n"
            << "    return true\n"
            << "end\n"
            << "proto:register_heuristic(\"udp\", heuristic)\n"
            << "proto:register_heuristic(\"tcp\", heuristic)\n";
    }
    source = out.str();
    return true;
}

#include "captureencoder.h"

#include <cstdio>
#include <ctime>
#include <utility>

namespace {

// pcapng block types and option codes.
constexpr std::uint32_t SectionHeaderBlock = 0x0A0D0D0A;
constexpr std::uint32_t InterfaceDescriptionBlock = 0x00000001;
constexpr std::uint32_t EnhancedPacketBlock = 0x00000006;
constexpr std::uint32_t InterfaceStatisticsBlock = 0x00000005;
constexpr std::uint32_t ByteOrderMagic = 0x1A2B3C4D;
constexpr std::uint16_t LinkTypeUser0 = 147;
constexpr std::uint16_t OptEnd = 0;
constexpr std::uint16_t OptComment = 1;
constexpr std::uint16_t ShbUserApplication = 4;
constexpr std::uint16_t IfName = 2;
constexpr std::uint16_t IfDescription = 3;
constexpr std::uint16_t IfTsResol = 9;
constexpr std::uint16_t EpbFlags = 2;
constexpr std::uint16_t EpbDropCount = 4;
constexpr std::uint16_t IsbIfDrop = 5;
// epb_flags bits 0-1: the direction.
constexpr std::uint32_t FlagInbound = 1;
constexpr std::uint32_t FlagOutbound = 2;

// Blocks are written in the host's byte order; the byte-order magic of the
// section header tells readers which one that is.
template<typename T>
void Put(std::string &out, T value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

void Pad4(std::string &out, std::size_t from)
{
    while ((out.size() - from) % 4 != 0)
        out.push_back('\0');
}

void PutOption(std::string &out, std::uint16_t code, const std::string &value)
{
    if (value.empty())
        return;
    // An option's length field is 16 bits; longer texts are cut.
    const std::size_t length = value.size() < 0xFFFC ? value.size() : 0xFFFC;
    Put<std::uint16_t>(out, code);
    Put<std::uint16_t>(out, std::uint16_t(length));
    const std::size_t start = out.size();
    out.append(value, 0, length);
    Pad4(out, start);
}

template<typename T>
void PutOptionValue(std::string &out, std::uint16_t code, T value)
{
    Put<std::uint16_t>(out, code);
    Put<std::uint16_t>(out, std::uint16_t(sizeof value));
    const std::size_t start = out.size();
    Put<T>(out, value);
    Pad4(out, start);
}

// Opens a block whose length is filled in by CloseBlock.
std::size_t OpenBlock(std::string &out, std::uint32_t type)
{
    const std::size_t start = out.size();
    Put<std::uint32_t>(out, type);
    Put<std::uint32_t>(out, 0);
    return start;
}

void CloseBlock(std::string &out, std::size_t start)
{
    const std::uint32_t length = std::uint32_t(out.size() - start + 4);
    Put<std::uint32_t>(out, length);
    out.replace(start + 4, 4, reinterpret_cast<const char *>(&length), 4);
}

// Length of the UTF-8 sequence starting at bytes[i], 0 when it is not a
// valid one (overlong forms, surrogates and values past U+10FFFF included).
std::size_t Utf8SequenceLength(const std::string &bytes, std::size_t i)
{
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xBF)
            return 0;
    }
    return length;
}

void AppendHexPairs(const std::string &bytes, std::string &out)
{
    static const char digits[] = "0123456789ABCDEF";
    out.reserve(out.size() + bytes.size() * 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out.push_back(' ');
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(digits[byte >> 4]);
        out.push_back(digits[byte & 0xF]);
    }
}

std::string LostLine(std::uint64_t lostChunks, std::uint64_t lostBytes)
{
    return "-- " + std::to_string(lostChunks) + " chunks (" + std::to_string(lostBytes)
           + " bytes) lost: the capture file fell behind --\n";
}

} // namespace

CaptureEncoder::CaptureEncoder(CaptureFormat format, bool textAsHex, std::string interfaceName,
                               std::string interfaceDescription)
    : m_format(format)
    , m_textAsHex(textAsHex)
    , m_interfaceName(std::move(interfaceName))
    , m_interfaceDescription(std::move(interfaceDescription))
{
}

std::string CaptureEncoder::FileHeader() const
{
    std::string out;
    if (m_format != CaptureFormat::Pcapng)
        return out;

    std::size_t block = OpenBlock(out, SectionHeaderBlock);
    Put<std::uint32_t>(out, ByteOrderMagic);
    Put<std::uint16_t>(out, 1); // major version
    Put<std::uint16_t>(out, 0); // minor version
    Put<std::int64_t>(out, -1); // section length not given: the file grows while it is written
    PutOption(out, ShbUserApplication, "Dorvane");
    Put<std::uint32_t>(out, OptEnd);
    CloseBlock(out, block);

    block = OpenBlock(out, InterfaceDescriptionBlock);
    Put<std::uint16_t>(out, LinkTypeUser0);
    Put<std::uint16_t>(out, 0); // reserved
    Put<std::uint32_t>(out, 0); // snap length: no limit
    PutOption(out, IfName, m_interfaceName);
    PutOption(out, IfDescription, m_interfaceDescription);
    PutOptionValue<std::uint8_t>(out, IfTsResol, 6); // microseconds
    Put<std::uint32_t>(out, OptEnd);
    CloseBlock(out, block);
    return out;
}

void CaptureEncoder::Encode(const CaptureChunk &chunk, std::uint64_t lostChunks, std::uint64_t lostBytes,
                            std::string &out) const
{
    switch (m_format) {
    case CaptureFormat::Pcapng:
        EncodePacket(chunk, lostChunks, out);
        break;
    case CaptureFormat::Raw:
        // The raw file is the received stream; there is nowhere to mark a loss.
        if (chunk.direction == CaptureDirection::Received)
            out += chunk.bytes;
        break;
    default:
        EncodeText(chunk, lostChunks, lostBytes, out);
        break;
    }
}

std::string CaptureEncoder::Trailer(std::uint64_t lostChunks, std::uint64_t lostBytes) const
{
    std::string out;
    if (lostChunks == 0)
        return out;
    if (m_format == CaptureFormat::Pcapng) {
        const std::size_t block = OpenBlock(out, InterfaceStatisticsBlock);
        Put<std::uint32_t>(out, 0); // interface id
        Put<std::uint32_t>(out, 0); // time stamp: not given
        Put<std::uint32_t>(out, 0);
        PutOptionValue<std::uint64_t>(out, IsbIfDrop, lostChunks);
        Put<std::uint32_t>(out, OptEnd);
        CloseBlock(out, block);
    } else if (m_format != CaptureFormat::Raw) {
        out = LostLine(lostChunks, lostBytes);
    }
    return out;
}

void CaptureEncoder::EncodeText(const CaptureChunk &chunk, std::uint64_t lostChunks, std::uint64_t lostBytes,
                                std::string &out) const
{
    if (lostChunks > 0)
        out += LostLine(lostChunks, lostBytes);

    // Floor division keeps stamps before 1970 on the right second.
    std::int64_t seconds = chunk.wallUs / 1000000;
    std::int64_t micros = chunk.wallUs % 1000000;
    if (micros < 0) {
        micros += 1000000;
        --seconds;
    }
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "[%04d-%02d-%02d %02d:%02d:%02d.%06d] ", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, int(micros));
    out += stamp;
    out += chunk.direction == CaptureDirection::Received ? "RX " : "TX ";
    if (!chunk.source.empty()) {
        out += chunk.source;
        out += ' ';
    }
    out += '(';
    out += std::to_string(chunk.bytes.size());
    out += "): ";
    if (m_textAsHex)
        AppendHexPairs(chunk.bytes, out);
    else
        out += VisibleText(chunk.bytes);
    out += '\n';
}

void CaptureEncoder::EncodePacket(const CaptureChunk &chunk, std::uint64_t lostChunks, std::string &out) const
{
    // A chunk beyond what a 32-bit block length holds is cut; channels
    // deliver far smaller reads.
    constexpr std::size_t maxPacket = 0x7FFFFFF0u - 256u;
    const std::size_t length = chunk.bytes.size() < maxPacket ? chunk.bytes.size() : maxPacket;
    const std::uint64_t stamp = static_cast<std::uint64_t>(chunk.wallUs);

    const std::size_t block = OpenBlock(out, EnhancedPacketBlock);
    Put<std::uint32_t>(out, 0); // interface id
    Put<std::uint32_t>(out, std::uint32_t(stamp >> 32));
    Put<std::uint32_t>(out, std::uint32_t(stamp & 0xFFFFFFFFu));
    Put<std::uint32_t>(out, std::uint32_t(length)); // captured
    Put<std::uint32_t>(out, std::uint32_t(length)); // original
    const std::size_t data = out.size();
    out.append(chunk.bytes, 0, length);
    Pad4(out, data);
    PutOptionValue<std::uint32_t>(out, EpbFlags,
                                  chunk.direction == CaptureDirection::Received ? FlagInbound : FlagOutbound);
    if (lostChunks > 0)
        PutOptionValue<std::uint64_t>(out, EpbDropCount, lostChunks);
    PutOption(out, OptComment, chunk.source);
    Put<std::uint32_t>(out, OptEnd);
    CloseBlock(out, block);
}

std::string CaptureEncoder::VisibleText(const std::string &bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    static const char digits[] = "0123456789ABCDEF";
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x20 || byte == 0x7F) {
            // U+2400 + byte, U+2421 for DEL, in UTF-8.
            const unsigned int picture = byte == 0x7F ? 0x2421 : 0x2400 + byte;
            out.push_back(char(0xE0 | (picture >> 12)));
            out.push_back(char(0x80 | ((picture >> 6) & 0x3F)));
            out.push_back(char(0x80 | (picture & 0x3F)));
            ++i;
        } else if (byte == '\\') {
            out += "\\\\";
            ++i;
        } else if (byte < 0x80) {
            out.push_back(char(byte));
            ++i;
        } else if (const std::size_t length = Utf8SequenceLength(bytes, i)) {
            out.append(bytes, i, length);
            i += length;
        } else {
            out += "\\x";
            out.push_back(digits[byte >> 4]);
            out.push_back(digits[byte & 0xF]);
            ++i;
        }
    }
    return out;
}

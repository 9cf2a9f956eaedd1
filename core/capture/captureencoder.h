#pragma once

#include <dorvane/capturewriter.h>

#include <cstdint>
#include <string>

// Lays captured chunks out as the bytes of one capture format. Pure
// functions of their input, so the writer thread owns all the file handling.
class CaptureEncoder
{
public:
    CaptureEncoder(CaptureFormat format, bool textAsHex, std::string interfaceName,
                   std::string interfaceDescription);

    CaptureFormat GetFormat() const { return m_format; }

    // What every file of a capture starts with: for pcapng the section
    // header and the one interface block, nothing for the other formats.
    std::string FileHeader() const;
    // Appends the record of one chunk to `out`. `lostChunks` and `lostBytes`
    // are the chunks the queue refused since the previous record; they are
    // marked where the format can carry them.
    void Encode(const CaptureChunk &chunk, std::uint64_t lostChunks, std::uint64_t lostBytes,
                std::string &out) const;
    // What closes a file whose capture lost chunks after its last record.
    std::string Trailer(std::uint64_t lostChunks, std::uint64_t lostBytes) const;

    // The bytes as text: control bytes and DEL as Unicode control pictures
    // (NUL is "␀", LF "␊"), a backslash doubled, every byte that is not part
    // of a valid UTF-8 sequence as "\xNN", so no byte is lost or hidden.
    static std::string VisibleText(const std::string &bytes);

private:
    void EncodeText(const CaptureChunk &chunk, std::uint64_t lostChunks, std::uint64_t lostBytes,
                    std::string &out) const;
    void EncodePacket(const CaptureChunk &chunk, std::uint64_t lostChunks, std::string &out) const;

    CaptureFormat m_format;
    bool m_textAsHex;
    std::string m_interfaceName;
    std::string m_interfaceDescription;
};

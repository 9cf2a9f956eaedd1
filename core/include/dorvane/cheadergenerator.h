#pragma once

#include <dorvane/core_export.h>
#include <dorvane/crcparameters.h>

#include <string>

class RxProtocol;
class TxProtocol;

// Writes a C11 header for the frames of a protocol: a packed struct that lays the fields out
// byte for byte, static inline read and write functions per field that honour its byte order
// on any host, the frame size as a constant and, with a checksum, the CRC routine with a
// self-test against the model's check value.
class DORVANE_CORE_EXPORT CHeaderGenerator
{
public:
    CHeaderGenerator();

    // The prefix of every identifier of the header; anything but letters, digits and "_"
    // becomes "_", and "dorvane" stands in when nothing is left.
    void SetName(const std::string &name);
    // The value column of a transmit protocol that the frames are built from.
    void SetValueColumn(int column);
    void SetChecksum(const FrameChecksum &checksum);
    void ClearChecksum();

    // False, with a message in GetError, for a protocol that describes no fixed frame.
    bool Generate(const TxProtocol *protocol, std::string &source);
    bool Generate(const RxProtocol *protocol, std::string &source);
    const std::string &GetError() const { return m_error; }

private:
    template<typename P>
    bool GenerateFrom(const P *protocol, std::string &source);

    std::string m_name;
    int m_column;
    bool m_hasChecksum;
    FrameChecksum m_checksum;
    std::string m_error;
};

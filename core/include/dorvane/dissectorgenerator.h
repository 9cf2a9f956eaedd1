#pragma once

#include <dorvane/core_export.h>
#include <dorvane/crcparameters.h>

#include <string>

class RxProtocol;
class TxProtocol;

// Writes a Wireshark dissector for the frames of a protocol: one self-contained Lua 5.2 script
// without any runtime library. The script registers for captures of link type 147 (USER0),
// optionally for one UDP or TCP port, and, when the frames have a head pattern, as a heuristic
// dissector of UDP and TCP. Frames cut over TCP segments are reassembled.
class DORVANE_CORE_EXPORT DissectorGenerator
{
public:
    enum Transport : int {
        NoTransport = 0,
        Udp = 1,
        Tcp = 2,
    };

    DissectorGenerator();

    // The protocol's filter name; anything but letters, digits and "_" becomes "_", the name is
    // lower-cased as Wireshark requires, and "dorvane" stands in when nothing is left.
    void SetName(const std::string &name);
    // The protocol's description in Wireshark; the name when empty.
    void SetTitle(const std::string &title);
    // The value column of a transmit protocol that the frames are built from.
    void SetValueColumn(int column);
    // Port 1 to 65535 of the transport, or NoTransport for captures of link type 147 only.
    void SetPort(Transport transport, int port);
    // Heuristic registration on UDP and TCP, on by default; used only with a head pattern.
    void SetHeuristic(bool enabled);
    void SetChecksum(const FrameChecksum &checksum);
    void ClearChecksum();

    // False, with a message in GetError, for a protocol that describes no frame it can dissect.
    bool Generate(const TxProtocol *protocol, std::string &source);
    bool Generate(const RxProtocol *protocol, std::string &source);
    const std::string &GetError() const { return m_error; }

private:
    template<typename P>
    bool GenerateFrom(const P *protocol, std::string &source);

    std::string m_name;
    std::string m_title;
    int m_column;
    Transport m_transport;
    int m_port;
    bool m_heuristic;
    bool m_hasChecksum;
    FrameChecksum m_checksum;
    std::string m_error;
};

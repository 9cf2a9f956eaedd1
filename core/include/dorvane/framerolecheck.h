#pragma once

#include <dorvane/core_export.h>
#include <dorvane/rxprotocol.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Checks the roles of a receive protocol's fields on each frame: the checksum
// field against the model's CRC over the bytes it covers, and the counter
// field's steps from one frame to the next.
class DORVANE_CORE_EXPORT FrameRoleCheck
{
public:
    struct Counts
    {
        std::uint64_t frames = 0;           // frames checked
        std::uint64_t checksumFailures = 0; // frames whose checksum did not match
        std::uint64_t sequenceGaps = 0;     // counts the counter skipped
        std::uint64_t sequenceRepeats = 0;  // frames that repeated the previous count
    };

    // Takes the roles the protocol carries. A role that does not fit the
    // protocol is left off, and `error` says why; true when every role fits.
    bool Build(const RxProtocol *protocol, std::string *error = nullptr);
    bool IsChecking() const { return m_checksumField >= 0 || m_sequenceField >= 0; }
    bool ChecksChecksum() const { return m_checksumField >= 0; }
    bool ChecksSequence() const { return m_sequenceField >= 0; }

    // One frame, from the first byte of its head; size is what lies before
    // the frame's end. False when its checksum fails: the frame's values are
    // not to be used (and its counter is not taken either).
    bool Check(const unsigned char *frame, std::size_t size);

    const Counts &GetCounts() const { return m_counts; }
    // Forgets the counts and the last counter value.
    void Reset();

private:
    CrcParameters m_model;
    int m_checksumField = -1; // offsets into the frame, -1 for a role not used
    int m_checksumWidth = 0;
    bool m_checksumBig = false;
    int m_crcBegin = 0;
    int m_crcEnd = 0;
    int m_sequenceField = -1;
    int m_sequenceWidth = 0;
    bool m_sequenceBig = false;
    bool m_haveLast = false;
    std::uint32_t m_last = 0;
    Counts m_counts;
};

// Drops the roles that do not fit the protocol's fields (an index out of
// range, a checksum field whose width is not the model's, a counter field
// that is not an integer); `message` collects why. True when all fit.
DORVANE_CORE_EXPORT bool ValidateFrameRoles(const RxProtocol &protocol, RxFrameRoles &roles,
                                            std::string &message);

#include <dorvane/framerolecheck.h>

#include <dorvane/rxfield.h>

#include "export/framelayout.h"
#include "types/valuelimits.h"

namespace {

std::uint32_t ReadUnsigned(const unsigned char *at, int width, bool bigEndian)
{
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        const int byte = bigEndian ? i : width - 1 - i;
        value = (value << 8) | at[byte];
    }
    return value;
}

std::string FieldNumber(int index)
{
    return "field " + std::to_string(index + 1);
}

void Append(std::string &message, const std::string &line)
{
    if (!message.empty()) {
        message += '\n';
    }
    message += line;
}

bool IsIntegerField(const RxField *field)
{
    const int width = TypeWidth(field->GetTypeId());
    return width > 0 && !IsFloatType(field->GetTypeId());
}

} // namespace

bool ValidateFrameRoles(const RxProtocol &protocol, RxFrameRoles &roles, std::string &message)
{
    bool fits = true;
    const int count = protocol.GetFieldCount();
    if (roles.hasChecksum) {
        const FrameChecksum &c = roles.checksum;
        const int width = c.model.width;
        std::string fault;
        if (width != 8 && width != 16 && width != 32) {
            fault = "the CRC model " + c.model.name + " is " + std::to_string(width)
                    + " bits wide; checksums of 8, 16 or 32 bits are supported";
        } else if (c.field < 0 || c.field >= count) {
            fault = "the checksum field " + std::to_string(c.field + 1) + " is not one of the "
                    + std::to_string(count) + " fields";
        } else if (c.firstCoveredField < 0 || c.firstCoveredField >= c.field) {
            fault = "the first covered field must lie before the checksum field";
        } else if (!IsIntegerField(protocol.GetField(c.field))
                   || TypeWidth(protocol.GetField(c.field)->GetTypeId()) * 8 != width) {
            fault = FieldNumber(c.field) + " cannot hold a " + std::to_string(width) + "-bit checksum of "
                    + c.model.name;
        }
        if (!fault.empty()) {
            Append(message, "The checksum role was dropped: " + fault + ".");
            roles.hasChecksum = false;
            roles.checksum = FrameChecksum();
            fits = false;
        }
    }
    if (roles.sequenceField != -1) {
        std::string fault;
        if (roles.sequenceField >= count || roles.sequenceField < 0) {
            fault = "the counter field " + std::to_string(roles.sequenceField + 1) + " is not one of the "
                    + std::to_string(count) + " fields";
        } else if (!IsIntegerField(protocol.GetField(roles.sequenceField))
                   || TypeWidth(protocol.GetField(roles.sequenceField)->GetTypeId()) > 4) {
            fault = FieldNumber(roles.sequenceField) + " is not an integer of 8, 16 or 32 bits";
        }
        if (!fault.empty()) {
            Append(message, "The sequence role was dropped: " + fault + ".");
            roles.sequenceField = -1;
            fits = false;
        }
    }
    return fits;
}

bool FrameRoleCheck::Build(const RxProtocol *protocol, std::string *error)
{
    *this = FrameRoleCheck();
    if (!protocol) {
        return true;
    }
    RxFrameRoles roles = protocol->GetRoles();
    std::string message;
    bool fits = ValidateFrameRoles(*protocol, roles, message);
    if (!roles.hasChecksum && roles.sequenceField < 0) {
        if (error) {
            *error = message;
        }
        return fits;
    }
    FrameLayout layout;
    std::string layoutError;
    if (!BuildLayout(protocol, layout, layoutError)) {
        Append(message, "The field roles are not checked: " + layoutError);
        if (error) {
            *error = message;
        }
        return false;
    }
    if (roles.hasChecksum) {
        if (PlaceChecksum(layout, roles.checksum, layoutError)) {
            const LayoutItem &item = layout.items[layout.checksumItem];
            m_model = roles.checksum.model;
            m_checksumField = item.offset;
            m_checksumWidth = item.width;
            m_checksumBig = item.endian == BigEndian;
            m_crcBegin = layout.crcBegin;
            m_crcEnd = layout.crcEnd;
        } else {
            Append(message, "The checksum role is not checked: " + layoutError);
            fits = false;
        }
    }
    if (roles.sequenceField >= 0) {
        const LayoutItem *found = nullptr;
        for (const LayoutItem &item : layout.items) {
            if (item.fieldIndex == roles.sequenceField && item.role == LayoutItem::Value) {
                found = &item;
            }
        }
        if (found) {
            m_sequenceField = found->offset;
            m_sequenceWidth = found->width;
            m_sequenceBig = found->endian == BigEndian;
        } else {
            Append(message, "The sequence role is not checked: " + FieldNumber(roles.sequenceField)
                                + " is not an enabled value of the frame.");
            fits = false;
        }
    }
    if (error) {
        *error = message;
    }
    return fits;
}

bool FrameRoleCheck::Check(const unsigned char *frame, std::size_t size)
{
    ++m_counts.frames;
    if (m_checksumField >= 0) {
        // A frame cut short (a tail found early) cannot carry its checksum.
        if (size < static_cast<std::size_t>(m_checksumField + m_checksumWidth)) {
            ++m_counts.checksumFailures;
            return false;
        }
        const std::uint32_t carried = ReadUnsigned(frame + m_checksumField, m_checksumWidth, m_checksumBig);
        const std::uint32_t computed
            = ComputeCrc(m_model, frame + m_crcBegin, static_cast<std::size_t>(m_crcEnd - m_crcBegin));
        if (carried != computed) {
            ++m_counts.checksumFailures;
            return false;
        }
    }
    if (m_sequenceField >= 0 && size >= static_cast<std::size_t>(m_sequenceField + m_sequenceWidth)) {
        const std::uint32_t value = ReadUnsigned(frame + m_sequenceField, m_sequenceWidth, m_sequenceBig);
        if (m_haveLast) {
            // Steps are taken modulo the counter's width, so a wrap is one step.
            const std::uint32_t mask
                = m_sequenceWidth >= 4 ? 0xFFFFFFFFu : (1u << (8 * m_sequenceWidth)) - 1u;
            const std::uint32_t step = (value - m_last) & mask;
            if (step == 0) {
                ++m_counts.sequenceRepeats;
            } else {
                m_counts.sequenceGaps += step - 1;
            }
        }
        m_last = value;
        m_haveLast = true;
    }
    return true;
}

void FrameRoleCheck::Reset()
{
    m_counts = Counts();
    m_haveLast = false;
    m_last = 0;
}

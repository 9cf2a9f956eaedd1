#pragma once

#include <dorvane/core_export.h>
#include <dorvane/crcparameters.h>

#include <string>
#include <vector>

class Context;
class RxField;

// What some fields of a frame mean beyond their value: the checksum that guards the frame and
// the counter that numbers it. Stored as extra keys of the document, which readers that do not
// know them pass over.
struct RxFrameRoles
{
    bool hasChecksum = false;
    FrameChecksum checksum; // field indices count every field of the list, disabled ones too
    int sequenceField = -1; // -1: no counter field
};

// A receive protocol: the ordered list of fields that make up the frames a device sends.
class DORVANE_CORE_EXPORT RxProtocol
{
public:
    RxProtocol();
    ~RxProtocol();

    RxProtocol(const RxProtocol &) = delete;
    RxProtocol &operator=(const RxProtocol &) = delete;

    // Inserts before index; -1 or any index outside the list appends.
    RxField *AddField(int index);
    // Detaches the field: the caller becomes its owner.
    bool RemoveField(int index);
    int GetFieldCount() const;
    // Null for an index outside the list.
    RxField *GetField(int index) const;

    const RxFrameRoles &GetRoles() const { return m_roles; }
    void SetRoles(const RxFrameRoles &roles) { m_roles = roles; }

    // False when the file cannot be written completely; the previous file then stays as it was.
    bool Save(const std::string &path, Context *ctx);
    // False for anything that is not a receive-protocol document; the fields read completely
    // before a faulty one are kept.
    bool Load(const std::string &path, Context *ctx);
    // What the last Load dropped from the document's roles, and why; empty
    // when nothing was dropped.
    const std::string &GetLoadWarning() const { return m_loadWarning; }

private:
    void DeleteAllFields();

    std::vector<RxField *> m_fields;
    RxFrameRoles m_roles;
    std::string m_loadWarning;
};

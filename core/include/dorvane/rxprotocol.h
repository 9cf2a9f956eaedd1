#pragma once

#include <dorvane/core_export.h>

#include <string>
#include <vector>

class Context;
class RxField;

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

    // False when the file cannot be written completely; the previous file then stays as it was.
    bool Save(const std::string &path, Context *ctx);
    // False for anything that is not a receive-protocol document; the fields read completely
    // before a faulty one are kept.
    bool Load(const std::string &path, Context *ctx);

private:
    void DeleteAllFields();

    std::vector<RxField *> m_fields;
};

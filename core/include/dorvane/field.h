#pragma once

#include <dorvane/core_export.h>
#include <dorvane/coretypes.h>

#include <string>

// One typed entry of a frame: a name, a data type id, a byte order and an enabled flag.
class DORVANE_CORE_EXPORT Field
{
public:
    Field();
    virtual ~Field();

    void SetName(const std::string &name);
    const std::string &GetName() const { return m_name; }

    void SetTypeId(int typeId);
    int GetTypeId() const { return m_typeId; }

    void SetEndian(Endianness endian);
    Endianness GetEndian() const { return m_endian; }

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_enabled; }

protected:
    Field(const Field &other) = default;
    Field &operator=(const Field &other) = default;

private:
    std::string m_name;
    int m_typeId;
    Endianness m_endian;
    bool m_enabled;
};

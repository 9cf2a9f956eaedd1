#pragma once

#include <dorvane/core_export.h>
#include <dorvane/coretypes.h>

#include "types/value.h"

// A transmit value: the bytes that one field contributes to a frame. The size never changes
// after creation, so the frame builder can copy it blindly after every Update.
class DORVANE_CORE_EXPORT TxValue : public Value
{
public:
    TxValue();
    ~TxValue() override;

    TxValue(const TxValue &) = delete;
    TxValue &operator=(const TxValue &) = delete;

    // Brings the emitted bytes into the current byte order.
    virtual void ApplyEndian() = 0;
    // Restarts the generator.
    virtual void Reset() = 0;
    // Advances the generator and refreshes the emitted bytes.
    virtual void Update() = 0;
    // The first emitted byte, or null for a value of size 0.
    virtual const char *GetData() const = 0;

    void SetEndian(Endianness endian) { m_endian = endian; }
    Endianness GetEndian() const { return m_endian; }
    int GetSize() const { return m_size; }
    // The emitted bytes never change after creation.
    bool IsConstant() const { return m_constant; }

protected:
    void SetSize(int size) { m_size = size; }
    void SetConstant(bool constant) { m_constant = constant; }

private:
    Endianness m_endian;
    int m_size;
    bool m_constant;
};

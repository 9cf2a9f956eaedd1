#pragma once

#include "types/value.h"

#include <dorvane/coretypes.h>
#include <dorvane/variant.h>

#include <cstddef>

// A value of a receive frame: a head or tail tag, a measured value or a skipped block. The
// parser reads the values of a frame one after the other, each from where the previous ended.
class RxValue : public Value
{
public:
    enum Kind : int {
        HeadTag = 1,
        TailTag = 2,
        Measured = 3,
        Skipped = 4,
    };

    // False when `available` bytes cannot hold the value, or a tag's bytes differ from its
    // pattern. Never reads more than the value's size.
    virtual bool Parse(const char *data, int available) = 0;
    // The last value read; a 32-bit zero for tags and blocks.
    virtual Variant GetValue() const = 0;
    // The pattern of a tag, the bytes of the last measured value, null for a block.
    virtual const char *GetData() const = 0;

    Endianness GetEndian() const { return m_endian; }
    std::size_t GetSize() const { return m_size; }
    Kind GetKind() const { return m_kind; }

    float GetCoefficient() const { return m_coefficient; }
    void SetCoefficient(float coefficient) { m_coefficient = coefficient; }
    int GetGraphId() const { return m_graphId; }
    void SetGraphId(int id) { m_graphId = id; }
    int GetFormId() const { return m_formId; }
    void SetFormId(int id) { m_formId = id; }

protected:
    RxValue(Endianness endian, std::size_t size, Kind kind)
        : m_endian(endian)
        , m_size(size)
        , m_kind(kind)
    {
    }

    // Whether `available` bytes hold the whole value.
    bool Fits(int available) const { return available >= 0 && static_cast<std::size_t>(available) >= m_size; }

private:
    Endianness m_endian;
    std::size_t m_size;
    Kind m_kind;
    float m_coefficient = 1.0f;
    int m_graphId = -1;
    int m_formId = -1;
};

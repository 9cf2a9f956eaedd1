#pragma once

#include "generators/txvalue.h"
#include "types/hostendian.h"

class ParamList;

// A value of exactly one element, produced by the generator G.
template<typename G>
class TxSingleValue final : public TxValue
{
public:
    using T = typename G::ValueType;

    TxSingleValue()
    {
        SetSize(static_cast<int>(sizeof(T)));
        SetConstant(G::kConstant);
    }

    // False when the parameters do not satisfy the generator.
    bool Setup(const ParamList &params) { return m_generator.Setup(params); }

    void ApplyEndian() override { m_output = InByteOrder(m_value, GetEndian()); }
    void Reset() override { m_generator.Reset(); }
    void Update() override
    {
        m_value = m_generator.Next();
        m_output = InByteOrder(m_value, GetEndian());
    }
    const char *GetData() const override { return reinterpret_cast<const char *>(&m_output); }

private:
    G m_generator;
    T m_value{};
    T m_output{};
};

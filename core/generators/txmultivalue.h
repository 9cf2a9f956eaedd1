#pragma once

#include "generators/txvalue.h"
#include "types/valuelimits.h"

#include <new>
#include <vector>

class ParamList;

// A value of a vector of elements, stored in the field's byte order, produced by the generator G.
template<typename G>
class TxMultiValue final : public TxValue
{
public:
    using T = typename G::ValueType;

    TxMultiValue() { SetConstant(G::kConstant); }

    // False when the parameters do not satisfy the generator or the elements would exceed the
    // size a single value may have.
    bool Setup(const ParamList &params)
    {
        try {
            if (!m_generator.Setup(params, m_elements)) {
                return false;
            }
        } catch (const std::bad_alloc &) {
            return false;
        }
        if (m_elements.size() > static_cast<std::size_t>(kMaxValueBytes) / sizeof(T)) {
            return false;
        }
        SetSize(static_cast<int>(m_elements.size() * sizeof(T)));
        return true;
    }

    void ApplyEndian() override { m_generator.ApplyEndian(m_elements, GetEndian()); }
    void Reset() override { m_generator.Reset(); }
    void Update() override { m_generator.Update(m_elements, GetEndian()); }
    const char *GetData() const override
    {
        return m_elements.empty() ? nullptr : reinterpret_cast<const char *>(m_elements.data());
    }

private:
    G m_generator;
    std::vector<T> m_elements;
};

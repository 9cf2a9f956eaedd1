#include "generators/txvalue.h"

TxValue::TxValue()
    : m_endian(LittleEndian)
    , m_size(0)
    , m_constant(false)
{
}

TxValue::~TxValue() = default;

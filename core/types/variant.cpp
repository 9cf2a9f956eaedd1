#include <dorvane/variant.h>

#include "types/numberconversion.h"

Variant::Variant()
    : m_type(Empty)
{
    m_payload.i64 = 0;
}

Variant::Variant(char value)
    : Variant()
{
    *this = value;
}

Variant::Variant(unsigned char value)
    : Variant()
{
    *this = value;
}

Variant::Variant(short value)
    : Variant()
{
    *this = value;
}

Variant::Variant(unsigned short value)
    : Variant()
{
    *this = value;
}

Variant::Variant(int value)
    : Variant()
{
    *this = value;
}

Variant::Variant(unsigned int value)
    : Variant()
{
    *this = value;
}

Variant::Variant(float value)
    : Variant()
{
    *this = value;
}

Variant::Variant(double value)
    : Variant()
{
    *this = value;
}

template<typename Slot>
Variant &Variant::Store(VariantType type, Slot Payload::*slot, Slot value)
{
    m_type = type;
    m_payload.i64 = 0;
    m_payload.*slot = value;
    return *this;
}

Variant &Variant::operator=(char value)
{
    return Store(Int8, &Payload::i8, static_cast<std::int8_t>(value));
}

Variant &Variant::operator=(unsigned char value)
{
    return Store(Int8, &Payload::i8, static_cast<std::int8_t>(value));
}

Variant &Variant::operator=(short value)
{
    return Store(Int16, &Payload::i16, static_cast<std::int16_t>(value));
}

Variant &Variant::operator=(unsigned short value)
{
    return Store(Int16, &Payload::i16, static_cast<std::int16_t>(value));
}

Variant &Variant::operator=(int value)
{
    return Store(Int32, &Payload::i32, static_cast<std::int32_t>(value));
}

Variant &Variant::operator=(unsigned int value)
{
    return Store(Int32, &Payload::i32, static_cast<std::int32_t>(value));
}

Variant &Variant::operator=(long long value)
{
    return Store(Int64, &Payload::i64, static_cast<std::int64_t>(value));
}

Variant &Variant::operator=(unsigned long long value)
{
    return Store(Int64, &Payload::i64, static_cast<std::int64_t>(value));
}

Variant &Variant::operator=(float value)
{
    return Store(Float, &Payload::f, value);
}

Variant &Variant::operator=(double value)
{
    return Store(Double, &Payload::d, value);
}

std::int32_t Variant::Get32() const
{
    switch (m_type) {
    case Int8:
        return m_payload.i8;
    case Int16:
        return m_payload.i16;
    case Int32:
        return m_payload.i32;
    case Int64:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(m_payload.i64));
    case Float:
        return SaturatingTruncate<std::int32_t>(m_payload.f);
    case Double:
        return SaturatingTruncate<std::int32_t>(m_payload.d);
    default:
        return 0;
    }
}

std::int64_t Variant::Get64() const
{
    switch (m_type) {
    case Int8:
        return m_payload.i8;
    case Int16:
        return m_payload.i16;
    case Int32:
        return m_payload.i32;
    case Int64:
        return m_payload.i64;
    case Float:
        return SaturatingTruncate<std::int64_t>(m_payload.f);
    case Double:
        return SaturatingTruncate<std::int64_t>(m_payload.d);
    default:
        return 0;
    }
}

char Variant::GetChar() const
{
    return static_cast<char>(Get32());
}

unsigned char Variant::GetUChar() const
{
    return static_cast<unsigned char>(Get32());
}

short Variant::GetShort() const
{
    return static_cast<short>(Get32());
}

unsigned short Variant::GetUShort() const
{
    return static_cast<unsigned short>(Get32());
}

int Variant::GetInt() const
{
    return Get32();
}

unsigned int Variant::GetUInt() const
{
    return static_cast<unsigned int>(Get32());
}

long long Variant::GetInt64() const
{
    return Get64();
}

unsigned long long Variant::GetUInt64() const
{
    return static_cast<unsigned long long>(Get64());
}

float Variant::GetFloat() const
{
    switch (m_type) {
    case Float:
        return m_payload.f;
    case Double:
        return static_cast<float>(m_payload.d);
    case Int8:
    case Int16:
    case Int32:
    case Int64:
        return static_cast<float>(Get64());
    default:
        return 0.0f;
    }
}

double Variant::GetDouble() const
{
    switch (m_type) {
    case Float:
        return m_payload.f;
    case Double:
        return m_payload.d;
    case Int8:
    case Int16:
    case Int32:
    case Int64:
        return static_cast<double>(Get64());
    default:
        return 0.0;
    }
}

#pragma once

#include <dorvane/core_export.h>

#include <cstdint>

// A tagged scalar of at most 8 bytes with converting getters. Signed and unsigned sources of
// one width share a tag; the 8-, 16- and 32-bit payloads are read back as signed.
class DORVANE_CORE_EXPORT Variant
{
public:
    enum VariantType : int {
        Empty = 0,
        Int8 = 1,
        Int16 = 2,
        Int32 = 3,
        Int64 = 4,
        Float = 5,
        Double = 6,
    };

    Variant();
    Variant(char value);
    Variant(unsigned char value);
    Variant(short value);
    Variant(unsigned short value);
    Variant(int value);
    Variant(unsigned int value);
    Variant(float value);
    Variant(double value);

    Variant(const Variant &other) = default;
    Variant &operator=(const Variant &other) = default;

    Variant &operator=(char value);
    Variant &operator=(unsigned char value);
    Variant &operator=(short value);
    Variant &operator=(unsigned short value);
    Variant &operator=(int value);
    Variant &operator=(unsigned int value);
    Variant &operator=(long long value);
    Variant &operator=(unsigned long long value);
    Variant &operator=(float value);
    Variant &operator=(double value);

    VariantType GetType() const { return m_type; }
    bool IsEmpty() const { return m_type == Empty; }

    char GetChar() const;
    unsigned char GetUChar() const;
    short GetShort() const;
    unsigned short GetUShort() const;
    int GetInt() const;
    unsigned int GetUInt() const;
    long long GetInt64() const;
    unsigned long long GetUInt64() const;
    float GetFloat() const;
    double GetDouble() const;

private:
    std::int32_t Get32() const;
    std::int64_t Get64() const;

    union Payload {
        std::int8_t i8;
        std::int16_t i16;
        std::int32_t i32;
        std::int64_t i64;
        float f;
        double d;
    };

    // Tags the value and stores it in its slot; the bytes above a narrow slot are zero.
    template<typename Slot>
    Variant &Store(VariantType type, Slot Payload::*slot, Slot value);

    VariantType m_type;
    Payload m_payload;
};

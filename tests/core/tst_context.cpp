// The type registry and the converting scalar.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>

namespace {

class ContextTest : public ::testing::Test
{
protected:
    void SetUp() override { context.Initialize(); }
    Context context;
};

TEST_F(ContextTest, EveryTypeHasItsOwnNameAndWidthSpellingsLeadToIt)
{
    std::set<std::string> names;
    for (int id : context.GetRegisterTypes()) {
        const std::string name = context.GetTypeName(id);
        EXPECT_EQ(context.GetTypeId(name.c_str()), id) << name;
        EXPECT_TRUE(names.insert(name).second) << "shared name " << name;
    }
    // The C spelling is the one given back.
    EXPECT_EQ(context.GetTypeName(10), "unsigned char");
    EXPECT_EQ(context.GetTypeName(21), "double");
    EXPECT_EQ(context.GetTypeId("int8"), 1);
    EXPECT_EQ(context.GetTypeId("uint16"), 11);
    EXPECT_EQ(context.GetTypeId("float64"), 21);
    EXPECT_EQ(context.GetTypeId("s32"), 3);
    EXPECT_EQ(context.GetTypeId("u32"), 12);
    EXPECT_EQ(context.GetTypeId("f32"), 20);
}

TEST_F(ContextTest, UnknownNamesAndIdsGiveInvalidResults)
{
    EXPECT_EQ(context.GetTypeId("UINT8"), -1);
    EXPECT_EQ(context.GetTypeId("F64"), -1);
    EXPECT_EQ(context.GetTypeId(""), -1);
    EXPECT_EQ(context.GetTypeId("int64"), -1);
    EXPECT_EQ(context.GetTypeId(nullptr), -1);
    EXPECT_EQ(context.GetTypeName(4), "");
    EXPECT_EQ(context.GetTypeName(0), "");
    EXPECT_EQ(context.GetTypeName(-1), "");
}

TEST_F(ContextTest, RegisteredListsAreOrderedAndStable)
{
    const std::vector<int> types{1, 2, 3, 10, 11, 12, 20, 21};
    EXPECT_EQ(context.GetRegisterTypes(), types);
    EXPECT_EQ(context.GetRegisterTypes(), types);

    const std::vector<ValueGeneratorType> generators = context.GetRegisterValueGenerators();
    ASSERT_EQ(generators.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(generators[static_cast<std::size_t>(i)], static_cast<ValueGeneratorType>(i));
    }

    Context again;
    again.Initialize();
    again.Initialize();
    EXPECT_EQ(again.GetRegisterTypes(), types);
    EXPECT_EQ(again.GetTypeId("u16"), 11);
}

TEST_F(ContextTest, GeneratorNamesRoundTripAndMatchCaseInsensitivelySecond)
{
    for (ValueGeneratorType type : context.GetRegisterValueGenerators()) {
        EXPECT_EQ(context.GetValueGenerator(context.GetValueGeneratorName(type)), type);
    }
    EXPECT_EQ(context.GetValueGeneratorName(DateTime), "DateTime");
    EXPECT_EQ(context.GetValueGeneratorName(static_cast<ValueGeneratorType>(9)), "Unknown");
    EXPECT_EQ(context.GetValueGeneratorName(static_cast<ValueGeneratorType>(-1)), "Unknown");

    EXPECT_EQ(context.GetValueGenerator("sin"), Sin);
    EXPECT_EQ(context.GetValueGenerator("DATETIME"), DateTime);
    EXPECT_EQ(context.GetValueGenerator("Sine"), Fixed);
    EXPECT_EQ(context.GetValueGenerator("Sin "), Fixed);
    EXPECT_EQ(context.GetValueGenerator(""), Fixed);
    EXPECT_EQ(context.GetSystemEndian(), LittleEndian);
    EXPECT_EQ(GetHostEndian(), LittleEndian);
}

TEST(Variant, SmallPayloadsReadBackSigned)
{
    Variant fromUChar(static_cast<unsigned char>(200));
    EXPECT_EQ(fromUChar.GetType(), Variant::Int8);
    EXPECT_EQ(fromUChar.GetInt(), -56);
    EXPECT_EQ(fromUChar.GetUChar(), 200);
    EXPECT_EQ(fromUChar.GetUInt(), 0xFFFFFFC8u);

    Variant fromUShort(static_cast<unsigned short>(65535));
    EXPECT_EQ(fromUShort.GetType(), Variant::Int16);
    EXPECT_EQ(fromUShort.GetInt64(), -1);
    EXPECT_EQ(fromUShort.GetUShort(), 65535);
    EXPECT_EQ(fromUShort.GetDouble(), -1.0);

    Variant fromUInt(0x80000000u);
    EXPECT_EQ(fromUInt.GetType(), Variant::Int32);
    EXPECT_EQ(fromUInt.GetInt64(), -2147483648LL);
    EXPECT_EQ(fromUInt.GetUInt(), 0x80000000u);
}

TEST(Variant, SixtyFourBitPayloadNarrowsToLowBits)
{
    Variant v;
    v = (1LL << 32) + 5;
    EXPECT_EQ(v.GetType(), Variant::Int64);
    EXPECT_EQ(v.GetInt(), 5);
    EXPECT_EQ(v.GetShort(), 5);
    EXPECT_EQ(v.GetInt64(), (1LL << 32) + 5);
    EXPECT_EQ(v.GetDouble(), 4294967301.0);

    v = 0xFFFFFFFFFFFFFFFFull;
    EXPECT_EQ(v.GetType(), Variant::Int64);
    EXPECT_EQ(v.GetInt64(), -1);
    EXPECT_EQ(v.GetUInt64(), 0xFFFFFFFFFFFFFFFFull);
}

TEST(Variant, FloatingValuesTruncateTowardZero)
{
    EXPECT_EQ(Variant(-2.9).GetInt(), -2);
    EXPECT_EQ(Variant(2.9f).GetInt64(), 2);
    EXPECT_EQ(Variant(300.0).GetUChar(), 44);
    EXPECT_FLOAT_EQ(Variant(0.1).GetFloat(), 0.1f);
    EXPECT_DOUBLE_EQ(Variant(0.5f).GetDouble(), 0.5);
}

TEST(Variant, FloatingValuesOutsideTheIntegerRangeSaturate)
{
    EXPECT_EQ(Variant(1e20).GetInt(), std::numeric_limits<int>::max());
    EXPECT_EQ(Variant(-1e20).GetInt(), std::numeric_limits<int>::min());
    EXPECT_EQ(Variant(1e30).GetInt64(), std::numeric_limits<long long>::max());
    EXPECT_EQ(Variant(-1e30f).GetInt64(), std::numeric_limits<long long>::min());
    EXPECT_EQ(Variant(std::nan("")).GetInt(), 0);
    EXPECT_EQ(Variant(std::numeric_limits<float>::infinity()).GetInt(), std::numeric_limits<int>::max());
}

TEST(Variant, EmptyGivesZeroEverywhereAndCopiesKeepTheTag)
{
    const Variant empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.GetChar(), 0);
    EXPECT_EQ(empty.GetUInt(), 0u);
    EXPECT_EQ(empty.GetInt64(), 0);
    EXPECT_EQ(empty.GetUInt64(), 0u);
    EXPECT_EQ(empty.GetFloat(), 0.0f);
    EXPECT_EQ(empty.GetDouble(), 0.0);

    Variant copy;
    copy = Variant(1.5f);
    EXPECT_FALSE(copy.IsEmpty());
    EXPECT_EQ(copy.GetType(), Variant::Float);
    EXPECT_EQ(copy.GetDouble(), 1.5);
    copy = static_cast<char>(-3);
    EXPECT_EQ(copy.GetType(), Variant::Int8);
    EXPECT_EQ(copy.GetInt(), -3);
}

} // namespace

// What each value generator emits, frame after frame, through a one-field stream.
#include <dorvane/Core.h>

#include "generators/monotonicclock.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

class OneField
{
public:
    bool Build(int typeId, ValueGeneratorType generator, const std::string &params,
               Endianness endian = LittleEndian)
    {
        TxField *field = m_protocol.AddField(-1);
        field->SetTypeId(typeId);
        field->SetEndian(endian);
        field->GetValueMetaInfo(0)->SetValueGeneratorType(generator);
        field->GetValueMetaInfo(0)->SetParamList(params);
        return m_stream.Build(&m_protocol, 0);
    }

    Bytes Next()
    {
        m_stream.Update();
        const auto *data = reinterpret_cast<const std::uint8_t *>(m_stream.GetData());
        return Bytes(data, data + m_stream.GetDataSize());
    }

    template<typename T>
    T NextAs()
    {
        const Bytes bytes = Next();
        T value{};
        EXPECT_EQ(bytes.size(), sizeof(T));
        std::memcpy(&value, bytes.data(), sizeof(T));
        return value;
    }

    template<typename T>
    std::vector<T> Take(int count)
    {
        std::vector<T> values;
        for (int i = 0; i < count; ++i) {
            values.push_back(NextAs<T>());
        }
        return values;
    }

    ProtocolStream &Stream() { return m_stream; }

private:
    TxProtocol m_protocol;
    ProtocolStream m_stream;
};

bool Creates(int typeId, ValueGeneratorType generator, const std::string &params)
{
    OneField f;
    return f.Build(typeId, generator, params);
}

// The wave generators read this clock instead of the steady clock while a test runs.
std::int64_t g_nowNs = 0;
std::int64_t FakeClock()
{
    return g_nowNs;
}

class FakeClockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_nowNs = 1000000000;
        SetMonotonicClock(&FakeClock);
    }
    void TearDown() override { SetMonotonicClock(nullptr); }
    static void AdvanceMs(std::int64_t ms) { g_nowNs += ms * 1000000; }
};

TEST(Fixed, NarrowsAndConvertsLikeC)
{
    const struct
    {
        int type;
        const char *text;
        Bytes bytes;
    } cases[] = {
        {1, "0x7F", {0x7F}},
        {10, "300", {44}},
        {10, "-1", {0xFF}},
        {3, "010", {8, 0, 0, 0}},
        {3, "0x10", {16, 0, 0, 0}},
        {11, "-1", {0xFF, 0xFF}},
        {12, "-1", {0xFF, 0xFF, 0xFF, 0xFF}},
        // Out of the 64-bit range converts to 0, not to the largest value.
        {12, "0x1FFFFFFFFFFFFFFFF", {0, 0, 0, 0}},
        {3, "4294967297", {1, 0, 0, 0}},
        {20, "1", {0x00, 0x00, 0x80, 0x3F}},
        {21, "-2.5", {0, 0, 0, 0, 0, 0, 0x04, 0xC0}},
        {20, "0x10", {0x00, 0x00, 0x80, 0x41}},
    };
    for (const auto &c : cases) {
        OneField f;
        ASSERT_TRUE(f.Build(c.type, Fixed, c.text)) << c.text;
        EXPECT_EQ(f.Next(), c.bytes) << c.type << " " << c.text;
    }
}

TEST(Fixed, GarbageConvertsToZero)
{
    // "@" starts no number but ends up in the token; the conversion finds no digits.
    for (const char *text : {"@1", "-", "."}) {
        OneField f;
        ASSERT_TRUE(f.Build(3, Fixed, text)) << text;
        EXPECT_EQ(f.NextAs<int>(), 0) << text;
    }
}

// Switches LC_NUMERIC to a locale whose decimal separator is a comma, compiling one into a
// temporary directory (made into localeDir) when none is installed. False when the machine
// cannot provide one.
bool UseDecimalCommaLocale(std::string &localeDir)
{
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        return true;
    }
    char dir[] = "/tmp/dorvane-locale-XXXXXX";
    if (!mkdtemp(dir)) {
        return false;
    }
    localeDir = dir;
    const std::string command
        = std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        return false;
    }
    setenv("LOCPATH", dir, 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
}

TEST(Fixed, FloatingTextIgnoresTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::string localeDir;
    struct Cleanup
    {
        std::string &dir;
        ~Cleanup()
        {
            if (!dir.empty()) {
                std::filesystem::remove_all(dir);
            }
        }
    } cleanup{localeDir};
    if (!UseDecimalCommaLocale(localeDir)) {
        GTEST_SKIP() << "no locale with a decimal comma can be made on this machine";
    }
    // The locale really reads "3.5" as 3; the parameter text must not.
    const double cLibrary = std::strtod("3.5", nullptr);
    OneField f;
    const bool built = f.Build(21, Fixed, "3.5");
    const double value = built ? f.NextAs<double>() : 0.0;
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(cLibrary, 3.0);
    ASSERT_TRUE(built);
    EXPECT_EQ(value, 3.5);
}

TEST(Fixed, ByteOrderFollowsTheField)
{
    OneField big;
    ASSERT_TRUE(big.Build(11, Fixed, "1", BigEndian));
    EXPECT_EQ(big.Next(), (Bytes{0x00, 0x01}));
    OneField little;
    ASSERT_TRUE(little.Build(11, Fixed, "1", LittleEndian));
    EXPECT_EQ(little.Next(), (Bytes{0x01, 0x00}));
    OneField bigDouble;
    ASSERT_TRUE(bigDouble.Build(21, Fixed, "1", BigEndian));
    EXPECT_EQ(bigDouble.Next(), (Bytes{0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
}

TEST(Creation, FailsWhenTheParametersDoNotFit)
{
    EXPECT_FALSE(Creates(3, Fixed, ""));
    EXPECT_FALSE(Creates(3, Fixed, "\"a\""));
    EXPECT_FALSE(Creates(3, Random, "1"));
    EXPECT_FALSE(Creates(3, Random, "1,\"a\""));
    EXPECT_FALSE(Creates(3, Sequence, "1,\"a\""));
    EXPECT_FALSE(Creates(3, Sequence, "1,2,\"a\""));
    EXPECT_TRUE(Creates(3, Sequence, "1,2,3,\"a\""));
    EXPECT_FALSE(Creates(3, Scatter, "\"\""));
    EXPECT_FALSE(Creates(3, Array, "\"a\" \"b\""));
    EXPECT_FALSE(Creates(3, Block, "0"));
    EXPECT_FALSE(Creates(3, Block, "-5"));
    EXPECT_FALSE(Creates(3, DateTime, "5"));
    EXPECT_FALSE(Creates(3, Sin, "1000,1"));
    EXPECT_FALSE(Creates(3, Sin, "1000,1,2,\"c\""));
    EXPECT_FALSE(Creates(3, Step, "\"p\",1,2"));
    EXPECT_FALSE(Creates(99, Fixed, "1"));
    EXPECT_FALSE(Creates(3, static_cast<ValueGeneratorType>(9), "1"));
}

TEST(Creation, PeriodsThatHaveNoWaveFail)
{
    EXPECT_FALSE(Creates(21, Sin, "0,-1,1"));
    EXPECT_FALSE(Creates(21, Sin, "-100,-1,1"));
    EXPECT_FALSE(Creates(21, Step, "-100,1,2"));
    EXPECT_TRUE(Creates(21, Step, "0,1,2"));
}

TEST(Creation, OversizedValuesFailInsteadOfAllocating)
{
    EXPECT_FALSE(Creates(21, Block, "2000000000"));
    EXPECT_FALSE(Creates(3, Block, "0xFFFFFFFF7FFFFFFF"));
    EXPECT_FALSE(Creates(11, Block, "16777216"));
    EXPECT_TRUE(Creates(10, Block, "16777216"));
    EXPECT_FALSE(Creates(21, DateTime, "\"" + std::string(3 * 1024 * 1024, 'x') + "\""));
    EXPECT_FALSE(Creates(21, Array, "\"" + std::string(3 * 1024 * 1024, 'x') + "\""));
}

TEST(Random, StaysWithinSwappedBoundsAndReachesBoth)
{
    OneField f;
    ASSERT_TRUE(f.Build(3, Random, "10,5"));
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int v = f.NextAs<int>();
        ASSERT_GE(v, 5);
        ASSERT_LE(v, 10);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(Random, FullRangeAndFloatingBounds)
{
    OneField full;
    ASSERT_TRUE(full.Build(12, Random, "0,0xFFFFFFFF"));
    std::set<unsigned> seen;
    for (int i = 0; i < 64; ++i) {
        seen.insert(full.NextAs<unsigned>());
    }
    EXPECT_GT(seen.size(), 60u);

    OneField floating;
    ASSERT_TRUE(floating.Build(20, Random, "-1.5,2.5"));
    OneField precise;
    ASSERT_TRUE(precise.Build(21, Random, "100,101"));
    for (int i = 0; i < 1000; ++i) {
        const float f = floating.NextAs<float>();
        ASSERT_GE(f, -1.5f);
        ASSERT_LT(f, 2.5f);
        const double d = precise.NextAs<double>();
        ASSERT_GE(d, 100.0);
        ASSERT_LT(d, 101.0);
    }
}

TEST(Sequence, WrapsInTheArithmeticOfTheType)
{
    OneField u8;
    ASSERT_TRUE(u8.Build(10, Sequence, "250,5"));
    EXPECT_EQ(u8.Take<std::uint8_t>(4), (std::vector<std::uint8_t>{250, 255, 4, 9}));

    OneField s32;
    ASSERT_TRUE(s32.Build(3, Sequence, "0x7FFFFFFF,1"));
    EXPECT_EQ(s32.Take<std::int32_t>(2), (std::vector<std::int32_t>{2147483647, -2147483647 - 1}));

    OneField s8;
    ASSERT_TRUE(s8.Build(1, Sequence, "126,1"));
    EXPECT_EQ(s8.Take<std::int8_t>(3), (std::vector<std::int8_t>{126, 127, -128}));
}

TEST(Sequence, BoundedRestartsAtStartInBothDirections)
{
    OneField up;
    ASSERT_TRUE(up.Build(3, Sequence, "0,1,3"));
    EXPECT_EQ(up.Take<int>(6), (std::vector<int>{0, 1, 2, 3, 0, 1}));

    OneField down;
    ASSERT_TRUE(down.Build(3, Sequence, "10,-2,0"));
    EXPECT_EQ(down.Take<int>(8), (std::vector<int>{10, 8, 6, 4, 2, 0, 10, 8}));

    OneField overshoot;
    ASSERT_TRUE(overshoot.Build(3, Sequence, "0,4,10"));
    EXPECT_EQ(overshoot.Take<int>(4), (std::vector<int>{0, 4, 8, 0}));

    // Four parameters: the end is not taken.
    OneField unbounded;
    ASSERT_TRUE(unbounded.Build(3, Sequence, "0,1,3,9"));
    EXPECT_EQ(unbounded.Take<int>(6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(Sequence, ResetRestartsAndByteOrderFollowsTheField)
{
    OneField f;
    ASSERT_TRUE(f.Build(11, Sequence, "0x0102,0x0101", BigEndian));
    EXPECT_EQ(f.Next(), (Bytes{0x01, 0x02}));
    EXPECT_EQ(f.Next(), (Bytes{0x02, 0x03}));
    f.Stream().Reset();
    EXPECT_EQ(f.Next(), (Bytes{0x01, 0x02}));
}

TEST(Scatter, CyclesThroughTheList)
{
    OneField text;
    ASSERT_TRUE(text.Build(3, Scatter, "\"AB\""));
    EXPECT_EQ(text.Take<int>(3), (std::vector<int>{65, 66, 65}));

    OneField numbers;
    ASSERT_TRUE(numbers.Build(2, Scatter, "5, \"skipped\" -7, 0x10"));
    EXPECT_EQ(numbers.Take<short>(4), (std::vector<short>{5, -7, 16, 5}));
    numbers.Next();
    numbers.Stream().Reset();
    EXPECT_EQ(numbers.NextAs<short>(), 5);

    // A text byte is read as a signed 8-bit number.
    OneField high;
    ASSERT_TRUE(high.Build(11, Scatter, "\"\xC8\""));
    EXPECT_EQ(high.NextAs<unsigned short>(), 65480);
}

TEST(Array, EmitsEveryElementInTheFieldOrder)
{
    OneField big;
    ASSERT_TRUE(big.Build(2, Array, "1,2,3", BigEndian));
    EXPECT_EQ(big.Next(), (Bytes{0, 1, 0, 2, 0, 3}));

    OneField text;
    ASSERT_TRUE(text.Build(1, Array, "\"AB\""));
    EXPECT_EQ(text.Next(), (Bytes{0x41, 0x42}));

    OneField hex;
    ASSERT_TRUE(hex.Build(10, Array, "0x[aa bb 0c]"));
    EXPECT_EQ(hex.Next(), (Bytes{0xAA, 0xBB, 0x0C}));

    OneField floats;
    ASSERT_TRUE(floats.Build(20, Array, "1,2", BigEndian));
    EXPECT_EQ(floats.Next(), (Bytes{0x3F, 0x80, 0, 0, 0x40, 0, 0, 0}));
}

TEST(Block, RepeatsTheFill)
{
    OneField f;
    ASSERT_TRUE(f.Build(2, Block, "4,0xFF"));
    EXPECT_EQ(f.Next(), (Bytes{0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0}));

    OneField big;
    ASSERT_TRUE(big.Build(11, Block, "2,0x1234", BigEndian));
    EXPECT_EQ(big.Next(), (Bytes{0x12, 0x34, 0x12, 0x34}));

    // Without exactly two parameters the fill is zero.
    OneField zeros;
    ASSERT_TRUE(zeros.Build(10, Block, "3,1,2"));
    EXPECT_EQ(zeros.Next(), (Bytes{0, 0, 0}));
}

TEST(DateTime, EmitsTheFormattedLocalTime)
{
    OneField f;
    ASSERT_TRUE(f.Build(1, DateTime, "\"hh:mm:ss\""));
    const Bytes bytes = f.Next();
    ASSERT_EQ(bytes.size(), 8u);
    EXPECT_EQ(bytes[2], ':');
    EXPECT_EQ(bytes[5], ':');
    for (int i : {0, 1, 3, 4, 6, 7}) {
        EXPECT_TRUE(bytes[static_cast<std::size_t>(i)] >= '0' && bytes[static_cast<std::size_t>(i)] <= '9');
    }

    OneField wide;
    ASSERT_TRUE(wide.Build(3, DateTime, "\"hh:mm:ss\"", BigEndian));
    const Bytes wideBytes = wide.Next();
    ASSERT_EQ(wideBytes.size(), 32u);
    EXPECT_EQ(wideBytes[8], 0);
    EXPECT_EQ(wideBytes[11], ':');
}

TEST(DateTime, PatternRunsAndLiterals)
{
    OneField f;
    ASSERT_TRUE(f.Build(1, DateTime, "\"yyyy-MM-dd zzz yyy MMM [x]\""));
    const Bytes bytes = f.Next();
    const std::string text(bytes.begin(), bytes.end());
    // Runs of lengths a letter does not know produce nothing.
    ASSERT_EQ(text.size(), std::string("2026-12-08 123   [x]").size()) << text;
    EXPECT_EQ(text[4], '-');
    EXPECT_EQ(text[7], '-');
    EXPECT_EQ(text.substr(text.size() - 6), "   [x]");
}

TEST_F(FakeClockTest, SinStartsAtItsMinimumAndFollowsThePeriod)
{
    OneField f;
    ASSERT_TRUE(f.Build(21, Sin, "1000,-10,10"));
    EXPECT_NEAR(f.NextAs<double>(), -10.0, 1e-6);
    AdvanceMs(250);
    EXPECT_NEAR(f.NextAs<double>(), 0.0, 1e-3);
    AdvanceMs(250);
    EXPECT_NEAR(f.NextAs<double>(), 10.0, 1e-6);
    AdvanceMs(500);
    EXPECT_NEAR(f.NextAs<double>(), -10.0, 1e-5);

    AdvanceMs(300);
    f.Stream().Reset();
    EXPECT_NEAR(f.NextAs<double>(), -10.0, 1e-6);
}

TEST_F(FakeClockTest, SinWithEqualBoundsAndACoefficient)
{
    OneField flat;
    ASSERT_TRUE(flat.Build(3, Sin, "100,7,7"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(flat.NextAs<int>(), 7);
        AdvanceMs(33);
    }
    OneField scaled;
    ASSERT_TRUE(scaled.Build(20, Sin, "1000,0,10,2"));
    AdvanceMs(1);
    EXPECT_NEAR(scaled.NextAs<float>(), 0.0f, 1e-3f);
    AdvanceMs(500);
    EXPECT_NEAR(scaled.NextAs<float>(), 20.0f, 1e-3f);
}

TEST_F(FakeClockTest, SinSaturatesIntoNarrowIntegers)
{
    OneField f;
    ASSERT_TRUE(f.Build(3, Sin, "1000,0,1,1" + std::string(300, '0')));
    f.Next();
    AdvanceMs(500);
    // 10^300 does not fit 64 bits: the value saturates instead of being undefined.
    EXPECT_EQ(f.NextAs<int>(), -1);
}

TEST_F(FakeClockTest, StepAlternatesEveryPeriod)
{
    OneField f;
    ASSERT_TRUE(f.Build(3, Step, "3000,0,1"));
    EXPECT_EQ(f.NextAs<int>(), 0);
    AdvanceMs(2999);
    EXPECT_EQ(f.NextAs<int>(), 0);
    AdvanceMs(1);
    EXPECT_EQ(f.NextAs<int>(), 1);
    AdvanceMs(2999);
    EXPECT_EQ(f.NextAs<int>(), 1);
    AdvanceMs(1);
    EXPECT_EQ(f.NextAs<int>(), 0);

    f.Stream().Reset();
    AdvanceMs(10);
    EXPECT_EQ(f.NextAs<int>(), 0);
}

TEST_F(FakeClockTest, StepCarriesLongGapsAndScales)
{
    OneField f;
    ASSERT_TRUE(f.Build(3, Step, "100,1,2,10"));
    EXPECT_EQ(f.NextAs<int>(), 10);
    // A gap of three periods toggles once now and carries the rest over.
    AdvanceMs(300);
    EXPECT_EQ(f.NextAs<int>(), 20);
    EXPECT_EQ(f.NextAs<int>(), 10);
    EXPECT_EQ(f.NextAs<int>(), 20);
    EXPECT_EQ(f.NextAs<int>(), 20);
}

TEST_F(FakeClockTest, StepWithPeriodZeroTogglesOnEveryUpdate)
{
    OneField f;
    ASSERT_TRUE(f.Build(10, Step, "0,1,2"));
    EXPECT_EQ(f.Take<std::uint8_t>(4), (std::vector<std::uint8_t>{2, 1, 2, 1}));
}

} // namespace

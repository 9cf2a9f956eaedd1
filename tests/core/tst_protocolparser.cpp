// Cutting byte streams into receive frames and decoding their values.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

// One receive field as the tests write it.
struct FieldDef
{
    int typeId;
    const char *params = "";
    RxValueMetaInfo::FieldFlag flag = RxValueMetaInfo::NoFlag;
    Endianness endian = LittleEndian;
    ValueGeneratorType generator = Fixed;
    bool enabled = true;
    int graph = -1;
    int form = -1;
};

FieldDef Head(const char *constants, int typeId = 10)
{
    FieldDef def{typeId, constants};
    def.flag = RxValueMetaInfo::HeadFlag;
    return def;
}

FieldDef Tail(const char *constants, int typeId = 10)
{
    FieldDef def{typeId, constants};
    def.flag = RxValueMetaInfo::TailFlag;
    return def;
}

FieldDef Measure(int typeId, Endianness endian = LittleEndian)
{
    FieldDef def{typeId};
    def.endian = endian;
    return def;
}

FieldDef Skip(int typeId, const char *count)
{
    FieldDef def{typeId, count};
    def.generator = Block;
    return def;
}

FieldDef Disabled(FieldDef def)
{
    def.enabled = false;
    return def;
}

std::unique_ptr<RxProtocol> MakeProtocol(const std::vector<FieldDef> &defs)
{
    auto protocol = std::make_unique<RxProtocol>();
    for (const FieldDef &def : defs) {
        RxField *field = protocol->AddField(-1);
        field->SetTypeId(def.typeId);
        field->SetEndian(def.endian);
        field->SetEnabled(def.enabled);
        RxValueMetaInfo *value = field->GetValueMetaInfo();
        value->SetValueGeneratorType(def.generator);
        value->SetParamList(def.params);
        value->SetFlag(def.flag);
        value->SetGraphId(def.graph);
        value->SetFormId(def.form);
    }
    return protocol;
}

class Parser : public ::testing::Test
{
protected:
    void SetUp() override { m_ctx.Initialize(); }

    void Build(const std::vector<FieldDef> &defs)
    {
        m_protocol = MakeProtocol(defs);
        ASSERT_TRUE(m_parser.Build(m_protocol.get()));
    }

    ProtocolParser::PRResult Update(const Bytes &bytes)
    {
        // An exactly sized copy, so that a read past the end is caught by the sanitizers.
        std::unique_ptr<char[]> copy(new char[bytes.size() ? bytes.size() : 1]);
        if (!bytes.empty()) {
            std::memcpy(copy.get(), bytes.data(), bytes.size());
        }
        return m_parser.Update(copy.get(), static_cast<int>(bytes.size()), false);
    }

    const std::vector<FrameValue> &Values() const { return m_parser.GetFrameValues(); }

    Context m_ctx;
    std::unique_ptr<RxProtocol> m_protocol;
    ProtocolParser m_parser;
};

void ExpectResult(const ProtocolParser::PRResult &r, int status, int head, int tail, int end)
{
    EXPECT_EQ(r.status, status);
    EXPECT_EQ(r.headOffset, head);
    EXPECT_EQ(r.tailOffset, tail);
    EXPECT_EQ(r.frameEnd, end);
}

TEST_F(Parser, FindsFrameAfterGarbageAndDecodesBetweenHeadAndTail)
{
    Build({Head("0xAA"), Head("0x55"), Measure(11), Measure(3), Tail("0x0D")});
    ASSERT_EQ(m_parser.GetFrameSize(), 9);
    const Bytes bytes = {0x01, 0xAA, 0x02, 0xAA, 0x55, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0x0D, 0x99};
    ExpectResult(Update(bytes), 0, 3, 11, 12);
    ASSERT_EQ(Values().size(), 2u);
    EXPECT_EQ(Values()[0].value.GetType(), Variant::Int16);
    EXPECT_EQ(Values()[0].value.GetUShort(), 0x1234);
    EXPECT_EQ(Values()[1].value.GetType(), Variant::Int32);
    EXPECT_EQ(Values()[1].value.GetInt(), -2);
}

TEST_F(Parser, HeadAndTailRunsFormOnePatternEach)
{
    Build({Head("0xAA"), Head("0x55"), Measure(10), Tail("0x0D"), Tail("0x0A")});
    // AA alone and 0D alone are not the patterns.
    ExpectResult(Update({0xAA, 0x00, 0x0D, 0x0A, 0x00}), 5, -1, -1, 0);
    ExpectResult(Update({0xAA, 0x55, 0x07, 0x0D, 0x00, 0x00}), 6, 0, -1, 5);
    ExpectResult(Update({0xAA, 0x55, 0x07, 0x0D, 0x0A}), 0, 0, 3, 5);
    EXPECT_EQ(Values().at(0).value.GetUChar(), 7);

    // Several constants in one field make one pattern as well, in the field's byte order.
    Build({Head("0x55AA, 0x1234", 11), Measure(10), Tail("0x0A0D", 11)});
    ExpectResult(Update({0xAA, 0x55, 0x34, 0x12, 0x09, 0x0D, 0x0A}), 0, 0, 5, 7);
    FieldDef bigHead = Head("0xAA55", 11);
    bigHead.endian = BigEndian;
    Build({bigHead, Measure(10)});
    ExpectResult(Update({0x55, 0xAA, 0x55, 0x01}), 0, 1, -1, 4);
    EXPECT_EQ(Values().at(0).value.GetUChar(), 1);
}

TEST_F(Parser, MisplacedFlagsAreComparedInPlace)
{
    // A head flag that does not open the frame gives no head pattern: with no tail either,
    // the whole buffer is the frame, and the flag must match where it stands.
    Build({Measure(10), Head("0x7E"), Measure(10)});
    ExpectResult(Update({0x01, 0x7E, 0x02}), 0, 0, 3, 3);
    EXPECT_EQ(Values().at(0).value.GetUChar(), 1);
    EXPECT_EQ(Values().at(1).value.GetUChar(), 2);

    ExpectResult(Update({0x03, 0x7F, 0x04}), 7, 0, 3, 3);

    // A tail flag in the middle of a framed protocol is checked the same way.
    Build({Head("0xAA"), Measure(10), Tail("0x0D"), Measure(10), Tail("0x0A")});
    ExpectResult(Update({0xAA, 0x05, 0x0D, 0x06, 0x0A}), 0, 0, 4, 5);
    ExpectResult(Update({0xAA, 0x05, 0x0E, 0x06, 0x0A}), 7, 0, 4, 5);
}

TEST_F(Parser, DecodesEveryTypeInEitherByteOrder)
{
    Build({Measure(1), Measure(10), Measure(2), Measure(11), Measure(3), Measure(12), Measure(20),
           Measure(21)});
    ExpectResult(Update({0xFF, 0xC8, 0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF,
                         0xFF, 0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0xC0}),
                 0, 0, 26, 26);
    ASSERT_EQ(Values().size(), 8u);
    EXPECT_EQ(Values()[0].value.GetInt(), -1);
    EXPECT_EQ(Values()[1].value.GetType(), Variant::Int8);
    EXPECT_EQ(Values()[1].value.GetUChar(), 200);
    EXPECT_EQ(Values()[2].value.GetInt(), -2);
    EXPECT_EQ(Values()[3].value.GetType(), Variant::Int16);
    EXPECT_EQ(Values()[3].value.GetUShort(), 0xFFFF);
    EXPECT_EQ(Values()[4].value.GetInt(), INT32_MIN);
    EXPECT_EQ(Values()[5].value.GetUInt(), 0xFFFFFFFFu);
    EXPECT_EQ(Values()[6].value.GetType(), Variant::Float);
    EXPECT_FLOAT_EQ(Values()[6].value.GetFloat(), 1.5f);
    EXPECT_EQ(Values()[7].value.GetType(), Variant::Double);
    EXPECT_DOUBLE_EQ(Values()[7].value.GetDouble(), -2.25);

    Build({Measure(3, BigEndian), Measure(11, BigEndian), Measure(20, BigEndian)});
    ExpectResult(Update({0x00, 0x00, 0x01, 0x02, 0x12, 0x34, 0x3F, 0xC0, 0x00, 0x00}), 0, 0, 10, 10);
    EXPECT_EQ(Values()[0].value.GetInt(), 258);
    EXPECT_EQ(Values()[1].value.GetUShort(), 0x1234);
    EXPECT_FLOAT_EQ(Values()[2].value.GetFloat(), 1.5f);
}

TEST_F(Parser, FrameValuesCarryCoefficientAndPlace)
{
    FieldDef half{21, "0.5"};
    half.graph = 2;
    half.form = 9;
    Build({half, FieldDef{3, "0.5, 2"}, FieldDef{3, "\"0.5\""}, FieldDef{10, "-4"}, Measure(10)});
    const std::vector<FrameValue> &values = Values();
    ASSERT_EQ(values.size(), 5u);
    EXPECT_FLOAT_EQ(values[0].coefficient, 0.5f);
    EXPECT_EQ(values[0].graphId, 2);
    EXPECT_EQ(values[0].formId, 9);
    EXPECT_FLOAT_EQ(values[1].coefficient, 1.0f);
    EXPECT_FLOAT_EQ(values[2].coefficient, 1.0f);
    EXPECT_FLOAT_EQ(values[3].coefficient, -4.0f);
    EXPECT_FLOAT_EQ(values[4].coefficient, 1.0f);
    EXPECT_EQ(values[4].graphId, -1);
    // Nothing decoded yet.
    EXPECT_TRUE(values[0].value.IsEmpty());
}

TEST_F(Parser, BlocksAndDisabledFields)
{
    Build({Head("0xAA"), Skip(2, "4"), Disabled(Measure(21)), Measure(10), Tail("0x0D")});
    EXPECT_EQ(m_parser.GetFrameSize(), 1 + 8 + 1 + 1);
    ASSERT_EQ(Values().size(), 1u);
    ExpectResult(Update({0xAA, 1, 2, 3, 4, 5, 6, 7, 8, 0x42, 0x0D}), 0, 0, 10, 11);
    EXPECT_EQ(Values()[0].value.GetUChar(), 0x42);

    // Disabled fields are not compiled at all, whatever their parameters.
    Build({Disabled(Skip(99, "zero")), Measure(10)});
    EXPECT_EQ(m_parser.GetFrameSize(), 1);
    // With nothing enabled, every buffer is one empty frame.
    Build({Disabled(Measure(3))});
    ExpectResult(Update({1, 2, 3}), 0, 0, 3, 3);
    EXPECT_TRUE(Values().empty());
}

TEST_F(Parser, ShortBuffers)
{
    Build({Head("0xAA"), Head("0x55"), Measure(3), Tail("0x0D")});
    ExpectResult(Update({0xAA, 0x55, 0x01}), 2, -1, -1, 0);
    ExpectResult(m_parser.Update(nullptr, 100, false), 2, -1, -1, 0);
    ExpectResult(m_parser.Update("\xAA\x55", -5, false), 2, -1, -1, 0);
    // Long enough overall, but the head sits too close to the end.
    ExpectResult(Update({0x00, 0x00, 0x00, 0xAA, 0x55, 0x01, 0x02}), 2, 3, -1, 0);
    ExpectResult(Update({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}), 5, -1, -1, 0);

    // A frame that is nothing but its head or its tail needs a longer buffer than the pattern.
    Build({Head("0xAA, 0x55")});
    ExpectResult(Update({0xAA, 0x55}), 3, -1, -1, 0);
    ExpectResult(Update({0x00, 0xAA, 0x55}), 0, 1, -1, 3);
    Build({Tail("0x0D, 0x0A")});
    ExpectResult(Update({0x0D, 0x0A}), 4, -1, -1, 0);
    ExpectResult(Update({0x0D, 0x0A, 0x00}), 0, -1, 0, 2);
}

TEST_F(Parser, TailOneByteEarlyStillClosesTheFrame)
{
    Build({Head("0xAA"), Measure(10), Measure(10), Tail("0x0D")});
    ExpectResult(Update({0xAA, 0x01, 0x0D, 0x00}), 0, 0, 2, 3);
    EXPECT_EQ(Values()[0].value.GetUChar(), 1);
    EXPECT_EQ(Values()[1].value.GetUChar(), 0x0D);
    // Two bytes early is not a frame.
    ExpectResult(Update({0xAA, 0x0D, 0x00, 0x00}), 6, 0, -1, 4);
}

TEST_F(Parser, TailBytesInsideValuesDoNotStallTheStream)
{
    // The value 0x0A0D0A0D holds the tail pattern twice. Taking that as the tail would give
    // "more bytes needed" for ever, since the same match comes first in every longer buffer.
    Build({Head("0xAA, 0x55"), Measure(12), Tail("0x0D, 0x0A")});
    const Bytes frame = {0xAA, 0x55, 0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A};
    ExpectResult(Update(frame), 0, 0, 6, 8);
    EXPECT_EQ(Values()[0].value.GetUInt(), 0x0A0D0A0Du);

    Build({Measure(12), Tail("0x0D, 0x0A")});
    ExpectResult(Update({0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A}), 0, -1, 4, 6);
}

TEST_F(Parser, UndecodableFrameReportsItsEnd)
{
    Build({Head("0xAA"), Measure(10), Head("0x7E"), Measure(10), Tail("0x0D")});
    ExpectResult(Update({0xAA, 0x01, 0x7E, 0x02, 0x0D}), 0, 0, 4, 5);
    ExpectResult(Update({0x00, 0xAA, 0x03, 0x7F, 0x04, 0x0D}), 7, 1, 5, 6);
    // The decoded value before the mismatch is new, the one after it is not: a caller must not
    // publish such a frame.
    EXPECT_EQ(Values()[0].value.GetUChar(), 3);
    EXPECT_EQ(Values()[1].value.GetUChar(), 2);
}

TEST_F(Parser, NotReadyUntilABuildSucceeds)
{
    ExpectResult(Update({0xAA, 0x55, 0x01}), 1, -1, -1, 0);

    Build({Measure(10)});
    ExpectResult(Update({0x01}), 0, 0, 1, 1);

    RxProtocol empty;
    const std::vector<std::vector<FieldDef>> refused = {
        {Measure(10), Measure(4)},
        {Measure(10), Head("")},
        {Head("\"AA\"")},
        {Skip(10, "0")},
        {Skip(10, "-3")},
        {Skip(10, "\"8\"")},
        {Skip(21, "0x7FFFFFFF"), Skip(21, "0x7FFFFFFF")},
    };
    for (const auto &defs : refused) {
        Build({Measure(10)});
        auto protocol = MakeProtocol(defs);
        EXPECT_FALSE(m_parser.Build(protocol.get()));
        EXPECT_FALSE(m_parser.IsReady());
        EXPECT_TRUE(Values().empty());
        EXPECT_EQ(m_parser.GetFrameSize(), 0);
        ExpectResult(Update({0x01, 0x02}), 1, -1, -1, 0);
    }
    FieldDef random = Measure(10);
    random.generator = Random;
    auto protocol = MakeProtocol({random});
    EXPECT_FALSE(m_parser.Build(protocol.get()));
    EXPECT_FALSE(m_parser.Build(&empty));
    EXPECT_FALSE(m_parser.Build(nullptr));
    ExpectResult(Update({0x01}), 1, -1, -1, 0);
}

TEST_F(Parser, CallerLoopCutsAStreamIntoEveryFrame)
{
    Build({Head("0xAA"), Head("0x55"), Measure(10), Tail("0x0D"), Tail("0x0A")});
    Bytes stream = {0x13, 0x37};
    for (unsigned char i = 0; i < 50; ++i) {
        stream.insert(stream.end(), {0xAA, 0x55, i, 0x0D, 0x0A});
        stream.insert(stream.end(), i % 4u, 0x0D);
    }
    std::size_t consumed = 0;
    int frames = 0;
    for (;;) {
        const ProtocolParser::PRResult r
            = Update(Bytes(stream.begin() + static_cast<long>(consumed), stream.end()));
        if (r.status != 0) {
            break;
        }
        ASSERT_GT(r.frameEnd, 0);
        EXPECT_EQ(Values()[0].value.GetUChar(), frames++);
        consumed += static_cast<std::size_t>(r.frameEnd);
    }
    EXPECT_EQ(frames, 50);
}

TEST_F(Parser, EveryPrefixOfAStreamStaysInsideTheBuffer)
{
    Build({Head("0xAA"), Measure(21), Head("0x7E"), Skip(11, "3"), Measure(12, BigEndian), Tail("0x0D")});
    Bytes stream;
    for (int i = 0; i < 40; ++i) {
        stream.push_back(static_cast<unsigned char>(i % 3 == 0 ? 0xAA : (i % 3 == 1 ? 0x7E : 0x0D)));
    }
    for (std::size_t length = 0; length <= stream.size(); ++length) {
        const ProtocolParser::PRResult r
            = Update(Bytes(stream.begin(), stream.begin() + static_cast<long>(length)));
        EXPECT_GE(r.frameEnd, 0);
        EXPECT_LE(r.frameEnd, static_cast<int>(length));
    }
}

} // namespace

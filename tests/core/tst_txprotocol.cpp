// Value columns of a transmit protocol and the frames its stream builds.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Frame(const ProtocolStream &stream)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(stream.GetData());
    return data ? Bytes(data, data + stream.GetDataSize()) : Bytes();
}

TxField *AddField(TxProtocol &protocol, int typeId, Endianness endian, ValueGeneratorType generator,
                  const std::string &params)
{
    TxField *field = protocol.AddField(-1);
    field->SetTypeId(typeId);
    field->SetEndian(endian);
    field->GetValueMetaInfo(0)->SetValueGeneratorType(generator);
    field->GetValueMetaInfo(0)->SetParamList(params);
    return field;
}

TEST(TxProtocol, ColumnsGrowToTheMaximumOnly)
{
    TxProtocol protocol;
    EXPECT_EQ(protocol.GetValueCountPerField(), 1);
    EXPECT_EQ(protocol.GetMaxValueCountPerField(), 3);
    EXPECT_TRUE(protocol.CanInsertValues());
    EXPECT_EQ(protocol.AppendValueColumn(), 1);
    EXPECT_EQ(protocol.AppendValueColumn(), 2);
    EXPECT_EQ(protocol.AppendValueColumn(), -1);
    EXPECT_FALSE(protocol.CanInsertValues());
    EXPECT_EQ(protocol.GetValueCountPerField(), 3);

    TxField *field = protocol.AddField(-1);
    ASSERT_EQ(field->GetValueMetaInfoCount(), 3);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(field->GetValueMetaInfo(column)->GetValueGeneratorType(), Fixed);
        EXPECT_EQ(field->GetValueMetaInfo(column)->GetParamList(), "0");
    }
}

TEST(TxProtocol, NewColumnsCopyColumnZero)
{
    TxProtocol protocol;
    TxField *field = protocol.AddField(-1);
    field->GetValueMetaInfo(0)->SetValueGeneratorType(Random);
    field->GetValueMetaInfo(0)->SetParamList("1,9");
    ASSERT_EQ(protocol.AppendValueColumn(), 1);
    ASSERT_EQ(field->GetValueMetaInfoCount(), 2);
    EXPECT_EQ(field->GetValueMetaInfo(1)->GetValueGeneratorType(), Random);
    EXPECT_EQ(field->GetValueMetaInfo(1)->GetParamList(), "1,9");
    EXPECT_NE(field->GetValueMetaInfo(1), field->GetValueMetaInfo(0));
}

TEST(TxProtocol, RemovingAColumnShiftsTheLaterOneDown)
{
    TxProtocol protocol;
    protocol.AppendValueColumn();
    protocol.AppendValueColumn();
    TxField *first = protocol.AddField(-1);
    TxField *second = protocol.AddField(-1);
    first->GetValueMetaInfo(2)->SetParamList("first-2");
    second->GetValueMetaInfo(2)->SetValueGeneratorType(Sequence);
    second->GetValueMetaInfo(2)->SetParamList("0,1");

    EXPECT_FALSE(protocol.RemoveValueColumn(0));
    EXPECT_FALSE(protocol.RemoveValueColumn(3));
    EXPECT_FALSE(protocol.RemoveValueColumn(-1));
    EXPECT_TRUE(protocol.RemoveValueColumn(1));
    EXPECT_EQ(protocol.GetValueCountPerField(), 2);
    EXPECT_EQ(first->GetValueMetaInfoCount(), 2);
    EXPECT_EQ(first->GetValueMetaInfo(1)->GetParamList(), "first-2");
    EXPECT_EQ(second->GetValueMetaInfo(1)->GetValueGeneratorType(), Sequence);
    EXPECT_EQ(second->GetValueMetaInfo(1)->GetParamList(), "0,1");
    EXPECT_TRUE(protocol.CanInsertValues());
}

TEST(TxProtocol, FieldsInsertAtTheirPositionAndDetachOnRemoval)
{
    TxProtocol protocol;
    TxField *a = protocol.AddField(-1);
    TxField *c = protocol.AddField(1);
    TxField *b = protocol.AddField(1);
    TxField *front = protocol.AddField(0);
    TxField *outside = protocol.AddField(99);
    ASSERT_EQ(protocol.GetFieldCount(), 5);
    EXPECT_EQ(protocol.GetField(0), front);
    EXPECT_EQ(protocol.GetField(1), a);
    EXPECT_EQ(protocol.GetField(2), b);
    EXPECT_EQ(protocol.GetField(3), c);
    EXPECT_EQ(protocol.GetField(4), outside);
    EXPECT_EQ(protocol.GetField(5), nullptr);
    EXPECT_EQ(protocol.GetField(-1), nullptr);

    EXPECT_FALSE(protocol.RemoveField(5));
    EXPECT_FALSE(protocol.RemoveField(-1));
    ASSERT_TRUE(protocol.RemoveField(2));
    std::unique_ptr<TxField> detached(b);
    EXPECT_EQ(protocol.GetFieldCount(), 4);
    EXPECT_EQ(protocol.GetField(2), c);
    EXPECT_EQ(detached->GetValueMetaInfoCount(), 1);
}

TEST(ProtocolStream, MixedEndianFrameChangesOnlyItsDynamicByte)
{
    TxProtocol protocol;
    AddField(protocol, 11, BigEndian, Fixed, "0x1234");
    AddField(protocol, 10, LittleEndian, Sequence, "0,1");
    AddField(protocol, 20, LittleEndian, Fixed, "1");

    ProtocolStream stream;
    ASSERT_TRUE(stream.Build(&protocol, 0));
    ASSERT_EQ(stream.GetDataSize(), 7);
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{0x12, 0x34, 0x00, 0x00, 0x00, 0x80, 0x3F}));
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{0x12, 0x34, 0x01, 0x00, 0x00, 0x80, 0x3F}));
    for (int i = 2; i < 300; ++i) {
        stream.Update();
        ASSERT_EQ(Frame(stream), (Bytes{0x12, 0x34, static_cast<std::uint8_t>(i), 0x00, 0x00, 0x80, 0x3F}));
    }

    stream.Reset();
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{0x12, 0x34, 0x00, 0x00, 0x00, 0x80, 0x3F}));
}

TEST(ProtocolStream, ConstantBytesStandBeforeTheFirstUpdate)
{
    TxProtocol protocol;
    AddField(protocol, 10, LittleEndian, Array, "0xAA,0xBB");
    AddField(protocol, 11, BigEndian, Sequence, "0x0102,1");
    AddField(protocol, 10, LittleEndian, Block, "2,0xCC");

    ProtocolStream stream;
    ASSERT_TRUE(stream.Build(&protocol, 0));
    const Bytes built = Frame(stream);
    ASSERT_EQ(built.size(), 6u);
    EXPECT_EQ(built[0], 0xAA);
    EXPECT_EQ(built[1], 0xBB);
    EXPECT_EQ(built[4], 0xCC);
    EXPECT_EQ(built[5], 0xCC);
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{0xAA, 0xBB, 0x01, 0x02, 0xCC, 0xCC}));
}

TEST(ProtocolStream, DisabledFieldsTakeNoBytesAndCannotFailTheBuild)
{
    TxProtocol protocol;
    AddField(protocol, 10, LittleEndian, Fixed, "1");
    AddField(protocol, 3, LittleEndian, Fixed, "not a number")->SetEnabled(false);
    AddField(protocol, 10, LittleEndian, Fixed, "2");

    ProtocolStream stream;
    ASSERT_TRUE(stream.Build(&protocol, 0));
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{1, 2}));

    protocol.GetField(0)->SetEnabled(false);
    protocol.GetField(2)->SetEnabled(false);
    ASSERT_TRUE(stream.Build(&protocol, 0));
    EXPECT_EQ(stream.GetDataSize(), 0);
    EXPECT_EQ(stream.GetData(), nullptr);
    stream.Update();
}

TEST(ProtocolStream, EachColumnIsItsOwnFrame)
{
    TxProtocol protocol;
    TxField *field = AddField(protocol, 10, LittleEndian, Fixed, "7");
    protocol.AppendValueColumn();
    field->GetValueMetaInfo(1)->SetParamList("8");

    ProtocolStream first;
    ProtocolStream second;
    ASSERT_TRUE(first.Build(&protocol, 0));
    ASSERT_TRUE(second.Build(&protocol, 1));
    first.Update();
    second.Update();
    EXPECT_EQ(Frame(first), (Bytes{7}));
    EXPECT_EQ(Frame(second), (Bytes{8}));
}

TEST(ProtocolStream, FailedBuildsLeaveNoFrame)
{
    ProtocolStream stream;
    EXPECT_FALSE(stream.Build(nullptr, 0));

    TxProtocol empty;
    EXPECT_FALSE(stream.Build(&empty, 0));

    TxProtocol protocol;
    AddField(protocol, 10, LittleEndian, Fixed, "5");
    EXPECT_FALSE(stream.Build(&protocol, 1));
    EXPECT_FALSE(stream.Build(&protocol, -1));

    ASSERT_TRUE(stream.Build(&protocol, 0));
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{5}));

    // A null protocol leaves the built frame alone; an unbuildable one clears it.
    EXPECT_FALSE(stream.Build(nullptr, 0));
    EXPECT_EQ(Frame(stream), (Bytes{5}));
    AddField(protocol, 10, LittleEndian, Block, "0");
    EXPECT_FALSE(stream.Build(&protocol, 0));
    EXPECT_EQ(stream.GetData(), nullptr);
    EXPECT_EQ(stream.GetDataSize(), 0);
    stream.Update();
}

TEST(ProtocolStream, EditingTheProtocolAfterBuildDoesNotTouchTheFrame)
{
    TxProtocol protocol;
    TxField *field = AddField(protocol, 10, LittleEndian, Sequence, "0,2");
    ProtocolStream stream;
    ASSERT_TRUE(stream.Build(&protocol, 0));
    field->GetValueMetaInfo(0)->SetParamList("100,1");
    field->SetTypeId(3);
    stream.Update();
    stream.Update();
    EXPECT_EQ(Frame(stream), (Bytes{2}));
}

} // namespace

// Parameter texts, the fields that carry them and the sizes they give.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Parsed
{
    bool ok;
    std::vector<std::string> values;
    std::vector<int> types;
};

Parsed ParseText(const std::string &text)
{
    ParamList list;
    Parsed result;
    result.ok = list.Parse(text);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        result.values.push_back(list.ParamAt(static_cast<int>(i)).value);
        result.types.push_back(list.ParamAt(static_cast<int>(i)).type);
    }
    return result;
}

using Values = std::vector<std::string>;

TEST(ParamList, EmptyAndBlankTextsAreEmptyLists)
{
    for (const char *text : {"", "   ", "\t"}) {
        const Parsed p = ParseText(text);
        EXPECT_TRUE(p.ok) << '"' << text << '"';
        EXPECT_TRUE(p.values.empty());
    }
}

TEST(ParamList, NumbersAreSeparatedByCommas)
{
    Parsed p = ParseText("1, -2, 0x1F, 3.5");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"1", "-2", "0x1F", "3.5"}));
    EXPECT_EQ(p.types,
              (std::vector<int>{ParamList::Number, ParamList::Number, ParamList::Number, ParamList::Number}));

    p = ParseText("1,");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"1"}));

    p = ParseText("2 ,3");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"2", "3"}));
}

TEST(ParamList, TrailingSpaceAfterTheLastNumberFails)
{
    for (const char *text : {"1 ", "2 ", "0x12 ", "1010B "}) {
        const Parsed p = ParseText(text);
        EXPECT_FALSE(p.ok) << '"' << text << '"';
        EXPECT_EQ(p.values.size(), 1u) << '"' << text << '"';
    }
}

TEST(ParamList, BinaryLiteralsInBothNotationsBecomeHexadecimal)
{
    EXPECT_EQ(ParseText("1010B").values, (Values{"0xA"}));
    EXPECT_EQ(ParseText("100000001b").values, (Values{"0x101"}));
    // A leading letter writes the least significant digit first.
    EXPECT_EQ(ParseText("B1011").values, (Values{"0xD"}));
    EXPECT_EQ(ParseText("B 1010").values, (Values{"0x5"}));
    EXPECT_EQ(ParseText("b0001, 1b").values, (Values{"0x8", "0x1"}));
}

TEST(ParamList, SpacesInsideBinaryNumbersAreSkipped)
{
    EXPECT_EQ(ParseText("1010 0101B").values, (Values{"0xA5"}));
    EXPECT_EQ(ParseText("1010 0101").values, (Values{"10100101"}));
    EXPECT_EQ(ParseText("B 1010 0101").values, (Values{"0xA5"}));
    // After a digit other than 0 and 1 the space ends the number.
    const Parsed p = ParseText("12 34");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.values, (Values{"12"}));
}

TEST(ParamList, LetterBClosesABinaryLiteralEarly)
{
    const Parsed p = ParseText("0b101");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x0"}));
}

TEST(ParamList, HexadecimalListSplitsAtSpacesAndCommas)
{
    Parsed p = ParseText("0x[12 34,56]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x12", "0x34", "0x56"}));

    p = ParseText("0x[aa bb 0c]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0xaa", "0xbb", "0x0c"}));

    p = ParseText("0x[ 1,  2]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x1", "0x2"}));

    p = ParseText("5, 0x[7F 80]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"5", "0x7F", "0x80"}));
}

TEST(ParamList, HexadecimalListNeverHoldsEmptyElements)
{
    Parsed p = ParseText("0x[12 ]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x12"}));

    p = ParseText("0x[]");
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.values.empty());

    p = ParseText("0x[12 34");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x12", "0x34"}));
}

TEST(ParamList, OnlyOneHexadecimalListPerText)
{
    const Parsed p = ParseText("0x[1],0x[2]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x1"}));
}

TEST(ParamList, BadCharactersInHexadecimalNumbersEndTheList)
{
    Parsed p = ParseText("0x[12 zz]");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"0x12"}));

    p = ParseText("0x1G");
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.values.empty());

    p = ParseText("1, 0x12)");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"1"}));
}

TEST(ParamList, StringsResolveEscapesAndNeedNoSeparator)
{
    Parsed p = ParseText(R"("say \"hi\" \\ now")");
    EXPECT_TRUE(p.ok);
    ASSERT_EQ(p.values.size(), 1u);
    EXPECT_EQ(p.values[0], R"(say "hi" \ now)");
    EXPECT_EQ(p.types[0], ParamList::String);

    p = ParseText(R"("a,b" "c")");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"a,b", "c"}));

    p = ParseText(R"("a", 1)");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.values, (Values{"a"}));

    p = ParseText(R"(1, "x")");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.types, (std::vector<int>{ParamList::Number, ParamList::String}));
}

TEST(ParamList, UnterminatedStringsAndIdentifiersFail)
{
    Parsed p = ParseText(R"(1, "open)");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"1"}));

    p = ParseText(R"("ends in escape\)");
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.values.empty());

    EXPECT_FALSE(ParseText("abc").ok);
    EXPECT_FALSE(ParseText("1, abc").ok);
    EXPECT_FALSE(ParseText("(1)").ok);
}

TEST(ParamList, MalformedDecimalsEndTheListEarly)
{
    Parsed p = ParseText("1.2.3");
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.values.empty());

    p = ParseText("7, 1-2-3");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"7"}));

    p = ParseText("7, 12abc");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"7"}));
}

TEST(ParamList, NulByteEndsTheText)
{
    const Parsed p = ParseText(std::string("1,2\0,3", 6));
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.values, (Values{"1", "2"}));
}

TEST(ParamList, ParamAtOutsideTheListThrowsAndReparsingClears)
{
    ParamList list;
    ASSERT_TRUE(list.Parse("1,2"));
    EXPECT_THROW(list.ParamAt(2), std::out_of_range);
    EXPECT_THROW(list.ParamAt(-1), std::out_of_range);
    ASSERT_TRUE(list.Parse("9"));
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.ParamAt(0).value, "9");
}

TEST(Fields, NewValueMetaInfoHoldsTheZeroTextOfTheType)
{
    TxField field;
    EXPECT_EQ(field.GetTypeId(), 3);
    EXPECT_EQ(field.GetEndian(), LittleEndian);
    EXPECT_TRUE(field.IsEnabled());
    EXPECT_EQ(field.NewValueMetaInfo()->GetParamList(), "0");

    field.SetTypeId(20);
    ValueMetaInfo *floating = field.NewValueMetaInfo();
    EXPECT_EQ(floating->GetParamList(), "0.000000");
    EXPECT_EQ(floating->GetValueGeneratorType(), Fixed);
    EXPECT_EQ(floating->GetField(), &field);

    field.SetTypeId(99);
    EXPECT_EQ(field.NewValueMetaInfo()->GetParamList(), "");
}

TEST(Fields, DeletingAColumnShiftsTheFollowingOnesIntact)
{
    TxField field;
    for (const char *text : {"a", "b", "c"}) {
        field.NewValueMetaInfo()->SetParamList(text);
    }
    ValueMetaInfo *last = field.GetValueMetaInfo(2);
    EXPECT_FALSE(field.DeleteValueMetaInfo(3));
    EXPECT_FALSE(field.DeleteValueMetaInfo(-1));
    EXPECT_TRUE(field.DeleteValueMetaInfo(1));
    EXPECT_EQ(field.GetValueMetaInfoCount(), 2);
    EXPECT_EQ(field.GetValueMetaInfo(1), last);
    EXPECT_EQ(field.GetValueMetaInfo(1)->GetParamList(), "c");
    EXPECT_EQ(field.GetValueMetaInfo(2), nullptr);
    EXPECT_EQ(field.GetValueMetaInfo(-1), nullptr);
}

TEST(Fields, AssignmentCopiesColumnsDeeplyAndOwnsThem)
{
    TxField source;
    source.SetName("speed");
    source.SetTypeId(21);
    source.SetEndian(BigEndian);
    source.SetEnabled(false);
    ValueMetaInfo *value = source.NewValueMetaInfo();
    value->SetValueGeneratorType(Random);
    value->SetParamList("1,9");

    TxField target;
    target.NewValueMetaInfo();
    target.NewValueMetaInfo();
    target = source;
    EXPECT_EQ(target.GetName(), "speed");
    EXPECT_EQ(target.GetTypeId(), 21);
    EXPECT_EQ(target.GetEndian(), BigEndian);
    EXPECT_FALSE(target.IsEnabled());
    ASSERT_EQ(target.GetValueMetaInfoCount(), 1);
    ValueMetaInfo *copy = target.GetValueMetaInfo(0);
    EXPECT_NE(copy, value);
    EXPECT_EQ(copy->GetField(), &target);
    EXPECT_EQ(copy->GetValueGeneratorType(), Random);
    EXPECT_EQ(copy->GetParamList(), "1,9");

    value->SetParamList("changed");
    EXPECT_EQ(copy->GetParamList(), "1,9");

    target = target;
    EXPECT_EQ(target.GetValueMetaInfoCount(), 1);
}

TEST(Fields, ReceiveValueDefaultsAndFlags)
{
    RxField field;
    RxValueMetaInfo *value = field.GetValueMetaInfo();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->GetField(), &field);
    EXPECT_EQ(value->GetValueGeneratorType(), Fixed);
    EXPECT_EQ(value->GetParamList(), "");
    EXPECT_EQ(value->GetGraphId(), -1);
    EXPECT_EQ(value->GetFormId(), -1);
    EXPECT_EQ(value->GetCoefficient(), 1.0f);
    EXPECT_FALSE(value->HasFlag());

    value->SetTailFlag();
    EXPECT_TRUE(value->HasFlag());
    EXPECT_TRUE(value->HasTailFlag());
    EXPECT_FALSE(value->HasHeadFlag());
    value->SetHeadFlag();
    EXPECT_TRUE(value->HasHeadFlag());
    value->ClearFlag();
    EXPECT_FALSE(value->HasFlag());
    EXPECT_EQ(value->GetFlag(), RxValueMetaInfo::NoFlag);
}

int SizeOf(int typeId, ValueGeneratorType generator, const std::string &params)
{
    TxField field;
    field.SetTypeId(typeId);
    ValueMetaInfo *value = field.NewValueMetaInfo();
    value->SetValueGeneratorType(generator);
    value->SetParamList(params);
    ValueSize size(value);
    size.CalculateSize(typeId);
    return size.SizeOfValue();
}

TEST(ValueSize, ElementCountTimesWidth)
{
    EXPECT_EQ(SizeOf(2, Array, "1,2,3"), 6);
    EXPECT_EQ(SizeOf(21, Block, "64"), 512);
    EXPECT_EQ(SizeOf(3, Fixed, "7"), 4);
    EXPECT_EQ(SizeOf(10, Sequence, "0,1"), 1);
    EXPECT_EQ(SizeOf(20, Sin, "1000,0,1"), 4);
    EXPECT_EQ(SizeOf(3, Array, "\"ABC\""), 12);
    EXPECT_EQ(SizeOf(1, DateTime, "\"hh:mm:ss\""), 8);
    EXPECT_EQ(SizeOf(3, DateTime, "\"hh:mm:ss\""), 32);
    EXPECT_EQ(SizeOf(99, Fixed, "1"), 0);
}

TEST(ValueSize, CountsWhatTheFrameWillHold)
{
    // Strings beside numbers are skipped by the value, so they take no room.
    EXPECT_EQ(SizeOf(10, Array, "\"AB\" 1"), 1);
    EXPECT_EQ(SizeOf(10, Array, "1, \"AB\" 2"), 2);
    EXPECT_EQ(SizeOf(10, Block, "-1"), 0);
    EXPECT_EQ(SizeOf(10, Block, "\"x\""), 0);
    EXPECT_EQ(SizeOf(10, Array, ""), 0);
}

TEST(ValueSize, OversizedValuesReportZero)
{
    EXPECT_EQ(SizeOf(21, Block, "2000000000"), 0);
    EXPECT_EQ(SizeOf(10, Block, "16777216"), 16777216);
    EXPECT_EQ(SizeOf(11, Block, "16777216"), 0);
}

} // namespace

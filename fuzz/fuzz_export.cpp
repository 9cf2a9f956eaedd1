// Arbitrary receive and transmit protocols through the dissector and C header generators. Names
// go only into string literals, comments and sanitised identifiers, so they must never change
// the line structure of what is generated: the output for the fuzzed names has exactly the lines
// of the output for plain names, and the Lua script is printable ASCII throughout.
#include <dorvane/Core.h>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int kTypes[] = {1, 2, 3, 10, 11, 12, 20, 21};

struct FieldDef
{
    std::string name;
    std::string params;
    int typeId;
    Endianness endian;
    ValueGeneratorType generator;
    RxValueMetaInfo::FieldFlag flag;
    bool enabled;
};

std::size_t Lines(const std::string &text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

template<typename Generator, typename Protocol>
void Check(Generator &generator, const Protocol &fuzzed, const Protocol &plain, bool lua)
{
    std::string out;
    std::string reference;
    const bool built = generator.Generate(&fuzzed, out);
    if (generator.Generate(&plain, reference) != built) {
        std::abort(); // names must not decide whether a protocol can be exported
    }
    if (!built) {
        return;
    }
    if (Lines(out) != Lines(reference)) {
        std::abort();
    }
    if (lua) {
        for (const char c : out) {
            const unsigned char u = static_cast<unsigned char>(c);
            if (u != '\n' && (u < 0x20 || u > 0x7E)) {
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    std::vector<FieldDef> defs(input.ConsumeIntegralInRange<std::size_t>(1, 24));
    for (FieldDef &def : defs) {
        def.typeId = kTypes[input.ConsumeIntegralInRange<int>(0, 7)];
        def.endian = input.ConsumeBool() ? BigEndian : LittleEndian;
        def.generator = static_cast<ValueGeneratorType>(input.ConsumeIntegralInRange<int>(0, 8));
        def.flag = static_cast<RxValueMetaInfo::FieldFlag>(input.ConsumeIntegralInRange<int>(0, 2));
        def.enabled = input.ConsumeIntegralInRange<int>(0, 7) != 0;
        def.name = input.ConsumeRandomLengthString(40);
        def.params = input.ConsumeRandomLengthString(24);
    }
    const std::string protocolName = input.ConsumeRandomLengthString(20);

    RxProtocol rx, rxPlain;
    TxProtocol tx, txPlain;
    for (const FieldDef &def : defs) {
        for (RxProtocol *protocol : {&rx, &rxPlain}) {
            RxField *field = protocol->AddField(-1);
            field->SetName(protocol == &rx ? def.name : "x");
            field->SetTypeId(def.typeId);
            field->SetEndian(def.endian);
            field->SetEnabled(def.enabled);
            field->GetValueMetaInfo()->SetValueGeneratorType(def.generator == Block ? Block : Fixed);
            field->GetValueMetaInfo()->SetParamList(def.params);
            field->GetValueMetaInfo()->SetFlag(def.flag);
        }
        for (TxProtocol *protocol : {&tx, &txPlain}) {
            TxField *field = protocol->AddField(-1);
            field->SetName(protocol == &tx ? def.name : "x");
            field->SetTypeId(def.typeId);
            field->SetEndian(def.endian);
            field->SetEnabled(def.enabled);
            // Date and time values would make the frame size depend on the clock.
            field->GetValueMetaInfo(0)->SetValueGeneratorType(def.generator == DateTime ? Fixed
                                                                                        : def.generator);
            field->GetValueMetaInfo(0)->SetParamList(def.params);
        }
    }
    FrameChecksum checksum;
    checksum.model = {"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0};
    checksum.field = static_cast<int>(defs.size()) - 1;
    const bool withChecksum = input.ConsumeBool();

    DissectorGenerator dissector;
    dissector.SetName(protocolName);
    dissector.SetTitle("fuzz");
    dissector.SetPort(DissectorGenerator::Tcp, 5000);
    CHeaderGenerator header;
    header.SetName(protocolName);
    if (withChecksum) {
        dissector.SetChecksum(checksum);
        header.SetChecksum(checksum);
    }
    Check(dissector, rx, rxPlain, true);
    Check(dissector, tx, txPlain, true);
    Check(header, rx, rxPlain, false);
    Check(header, tx, txPlain, false);
    return 0;
}

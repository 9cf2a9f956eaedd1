// Arbitrary parameter texts through the tokenizer, every generator for every type, and the
// frame stream built from them. The size the editor would show must equal the built frame.
#include <dorvane/Core.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const int kTypes[] = {1, 2, 3, 10, 11, 12, 20, 21};

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);

    ParamList list;
    list.Parse(text);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        bytes += list.ParamAt(static_cast<int>(i)).value.size();
    }
    Check(bytes <= size * 2 + 2 * list.Count());

    for (int generator = 0; generator <= 9; ++generator) {
        for (int typeId : kTypes) {
            TxProtocol protocol;
            TxField *field = protocol.AddField(-1);
            field->SetTypeId(typeId);
            field->SetEndian(typeId % 2 ? BigEndian : LittleEndian);
            ValueMetaInfo *value = field->GetValueMetaInfo(0);
            value->SetValueGeneratorType(static_cast<ValueGeneratorType>(generator));
            value->SetParamList(text);

            ProtocolStream stream;
            const bool built = stream.Build(&protocol, 0);
            Check(built || (stream.GetData() == nullptr && stream.GetDataSize() == 0));
            if (!built) {
                continue;
            }
            ValueSize measured(value);
            measured.CalculateSize(typeId);
            if (generator != DateTime) {
                Check(measured.SizeOfValue() == stream.GetDataSize());
            }
            Check((stream.GetData() == nullptr) == (stream.GetDataSize() == 0));
            for (int frame = 0; frame < 3; ++frame) {
                stream.Update();
            }
            stream.Reset();
            stream.Update();
            if (stream.GetDataSize() > 0) {
                volatile char sink = stream.GetData()[stream.GetDataSize() - 1];
                (void)sink;
            }
        }
    }
    return 0;
}

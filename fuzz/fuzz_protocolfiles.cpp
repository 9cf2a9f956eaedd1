// Arbitrary bytes as a transmit- and as a receive-protocol file. Load must never crash; what it
// accepts must save, load again and come back unchanged.
#include "fuzzscratch.h"

#include <cstdint>
#include <string>

namespace {

using FuzzScratch::Check;
using FuzzScratch::Registry;

void CheckSame(const Field &a, const Field &b)
{
    Check(a.GetName() == b.GetName(), "name");
    Check(a.GetTypeId() == b.GetTypeId(), "type id");
    Check(a.GetEndian() == b.GetEndian(), "endian");
    Check(a.IsEnabled() == b.IsEnabled(), "enabled");
}

void CheckSame(const ValueMetaInfo &a, const ValueMetaInfo &b)
{
    Check(a.GetValueGeneratorType() == b.GetValueGeneratorType(), "generator");
    Check(a.GetParamList() == b.GetParamList(), "params");
}

void FuzzTx(const std::string &input, const std::string &output)
{
    TxProtocol first;
    if (!first.Load(input, &Registry())) {
        return;
    }
    Check(first.Save(output, &Registry()), "save");
    TxProtocol second;
    Check(second.Load(output, &Registry()), "load of the saved file");
    Check(first.GetValueCountPerField() == second.GetValueCountPerField(), "value count");
    Check(first.GetFieldCount() == second.GetFieldCount(), "field count");
    for (int i = 0; i < first.GetFieldCount(); ++i) {
        const TxField &a = *first.GetField(i);
        const TxField &b = *second.GetField(i);
        CheckSame(a, b);
        Check(a.GetValueMetaInfoCount() == first.GetValueCountPerField()
                  && b.GetValueMetaInfoCount() == first.GetValueCountPerField(),
              "columns");
        for (int column = 0; column < a.GetValueMetaInfoCount(); ++column) {
            CheckSame(*a.GetValueMetaInfo(column), *b.GetValueMetaInfo(column));
        }
    }
}

void FuzzRx(const std::string &input, const std::string &output)
{
    RxProtocol first;
    if (!first.Load(input, &Registry())) {
        return;
    }
    Check(first.Save(output, &Registry()), "save");
    RxProtocol second;
    Check(second.Load(output, &Registry()), "load of the saved file");
    Check(first.GetFieldCount() == second.GetFieldCount(), "field count");
    for (int i = 0; i < first.GetFieldCount(); ++i) {
        const RxField &a = *first.GetField(i);
        const RxField &b = *second.GetField(i);
        CheckSame(a, b);
        const RxValueMetaInfo &x = *a.GetValueMetaInfo();
        const RxValueMetaInfo &y = *b.GetValueMetaInfo();
        CheckSame(x, y);
        Check(x.GetGraphId() == y.GetGraphId(), "graph");
        Check(x.GetFormId() == y.GetFormId(), "form");
        Check(x.GetFlag() == y.GetFlag(), "flag");
        Check(x.GetCoefficient() == 1.0f && y.GetCoefficient() == 1.0f, "coefficient");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzScratch::Directory("protocolfiles");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string &dir = FuzzScratch::Directory("protocolfiles");
    const std::string input = dir + "/input";
    const std::string output = dir + "/output";
    FuzzScratch::WriteFile(input, data, size);
    FuzzTx(input, output);
    FuzzRx(input, output);
    return 0;
}

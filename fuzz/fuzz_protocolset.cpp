// Arbitrary bytes as a protocol-set file, read by the set model the window's
// Open uses. Load must never crash or hang; what it accepts must save, load
// again and come back with the same items.
#include "fuzzscratch.h"
#include "model/txprotocolset.h"

#include <QString>

#include <cstdint>
#include <string>

namespace {

using FuzzScratch::Check;
using FuzzScratch::Registry;

const std::string &Directory()
{
    return FuzzScratch::Directory("protocolset");
}

void WriteText(const std::string &name, const std::string &text)
{
    FuzzScratch::WriteFile(Directory() + "/" + name, text.data(), text.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Entries name these protocols relative to the set file: one that
    // builds, one with two value columns and one without fields.
    WriteText("one.dvptc",
              "{fileFormat: dorvane protocol file, fileVersion: \"1.0\", protocol: {fields: 1, values: 1}, "
              "fields: [{name: a, tid: 10, endian: 0, enable: true, meta: [{generator: Fixed, params: "
              "\"7\"}]}]}\n");
    WriteText("two.dvptc",
              "{fileFormat: dorvane protocol file, fileVersion: \"1.0\", protocol: {fields: 1, values: 2}, "
              "fields: [{name: a, tid: 11, endian: 1, enable: true, meta: [{generator: Sequence, params: "
              "\"1, 9\"}, "
              "{generator: Fixed, params: \"2\"}]}]}\n");
    WriteText("none.dvptc", "{fileFormat: dorvane protocol file, fileVersion: \"1.0\", "
                            "protocol: {fields: 0, values: 1}, fields: []}\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input = Directory() + "/input.dvpts";
    const QString output = QString::fromStdString(Directory() + "/output.dvpts");
    FuzzScratch::WriteFile(input, data, size);

    TxProtocolSet first(&Registry());
    if (!first.Load(QString::fromStdString(input))) {
        return 0;
    }
    Check(first.itemCount() <= TxProtocolSet::MaxItems, "item limit");
    Check(first.Save(output), "save");
    TxProtocolSet second(&Registry());
    Check(second.Load(output), "load of the saved file");
    Check(second.skippedPaths().isEmpty(), "saved items all load");
    Check(first.itemCount() == second.itemCount(), "item count");
    for (int i = 0; i < first.itemCount(); ++i) {
        const TxProtocolSetItem *a = first.itemAt(i);
        const TxProtocolSetItem *b = second.itemAt(i);
        Check(a->path == b->path, "path");
        Check(a->valueIndex == b->valueIndex, "value index");
        Check(a->enable == b->enable, "enable");
        Check(a->interval == b->interval, "interval");
        Check(a->valueCount == b->valueCount, "value count");
    }
    return 0;
}

// Arbitrary bytes as an instruct-set file, read as the window's Open reads
// it. Loading must never crash, and a refused file leaves the set as it was;
// what it accepts must save, load again and come back unchanged.
#include "documentfuzzing.h"

#include "model/instructset.h"

using namespace DocumentFuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    InstructSet first;
    first.append(QStringLiteral("kept"), 1);
    if (!first.load(WriteInput(data, size))) {
        Check(first.count() == 1 && first.at(0)->content == QLatin1String("kept"),
              "a refused file changed the set");
        return 0;
    }
    Check(first.count() <= InstructSet::MaxItems, "item count");
    const QString copy = PathOf("copy");
    Check(first.save(copy), "save");
    InstructSet second;
    Check(second.load(copy), "load of the saved file");
    Check(second.count() == first.count(), "item count after a round trip");
    for (int i = 0; i < first.count(); ++i) {
        const InstructItem *a = first.at(i);
        const InstructItem *b = second.at(i);
        Check(a->interval >= InstructSet::MinInterval && a->interval <= InstructSet::MaxInterval,
              "interval range");
        Check(a->title == b->title, "title");
        Check(a->content == b->content, "content");
        Check(a->textMode == b->textMode, "text mode");
        Check(a->interval == b->interval, "interval");
    }
    return 0;
}

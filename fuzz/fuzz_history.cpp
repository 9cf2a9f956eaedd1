// Arbitrary bytes as the history file, read as start-up reads it. Loading
// must never crash and keeps at most the list's capacity; what it accepts
// must save, load again and come back unchanged.
#include "documentfuzzing.h"

#include "model/historylist.h"

using namespace DocumentFuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    HistoryList first;
    if (!first.load(WriteInput(data, size))) {
        Check(first.isEmpty(), "a refused file left records");
        return 0;
    }
    Check(first.count() <= first.capacity(), "capacity");
    const QString copy = PathOf("copy");
    Check(first.save(copy), "save");
    HistoryList second;
    Check(second.load(copy), "load of the saved file");
    Check(second.count() == first.count(), "record count");
    for (int i = 0; i < first.count(); ++i) {
        Check(second.at(i)->fireTime == first.at(i)->fireTime, "fire time");
        Check(second.at(i)->content == first.at(i)->content, "content");
        Check(second.at(i)->textMode == first.at(i)->textMode, "text mode");
    }
    return 0;
}

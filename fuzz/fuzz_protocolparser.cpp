// Arbitrary bytes through the receive-frame parser, cut the way the frame watcher cuts its
// stream. The first byte picks one of a fixed set of receive protocols.
#include <dorvane/Core.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

struct FieldDef
{
    int typeId;
    const char *params;
    RxValueMetaInfo::FieldFlag flag;
    Endianness endian;
    ValueGeneratorType generator;
    bool enabled;
};

constexpr RxValueMetaInfo::FieldFlag None = RxValueMetaInfo::NoFlag;
constexpr RxValueMetaInfo::FieldFlag Head = RxValueMetaInfo::HeadFlag;
constexpr RxValueMetaInfo::FieldFlag Tail = RxValueMetaInfo::TailFlag;

const std::vector<std::vector<FieldDef>> kProtocols = {
    // Two head bytes, the four common types, two tail bytes.
    {{10, "0xAA", Head, LittleEndian, Fixed, true},
     {10, "0x55", Head, LittleEndian, Fixed, true},
     {11, "", None, LittleEndian, Fixed, true},
     {3, "", None, LittleEndian, Fixed, true},
     {20, "", None, LittleEndian, Fixed, true},
     {21, "0.5", None, LittleEndian, Fixed, true},
     {10, "0x0D", Tail, LittleEndian, Fixed, true},
     {10, "0x0A", Tail, LittleEndian, Fixed, true}},
    // Tail only, big-endian values and a skipped block.
    {{2, "", None, BigEndian, Fixed, true},
     {10, "3", None, LittleEndian, Block, true},
     {12, "", None, BigEndian, Fixed, true},
     {11, "0x0D0A", Tail, BigEndian, Fixed, true}},
    // Head only, with the head byte repeated as a flag inside the frame.
    {{10, "0x7E", Head, LittleEndian, Fixed, true},
     {1, "", None, LittleEndian, Fixed, true},
     {10, "0x7E", Head, LittleEndian, Fixed, true},
     {3, "", None, BigEndian, Fixed, true}},
    // No patterns at all: every buffer is one frame; a flag in the middle is compared in place.
    {{10, "", None, LittleEndian, Fixed, true},
     {10, "0x3C", Tail, LittleEndian, Fixed, true},
     {21, "", None, BigEndian, Fixed, true},
     {2, "", None, LittleEndian, Fixed, false}},
    // Head and tail share their byte.
    {{10, "0x7E", Head, LittleEndian, Fixed, true},
     {10, "", None, LittleEndian, Fixed, true},
     {10, "", None, LittleEndian, Fixed, true},
     {10, "0x7E", Tail, LittleEndian, Fixed, true}},
    // Long multi-constant patterns and a long block.
    {{12, "0xDEADBEEF, 1", Head, LittleEndian, Fixed, true},
     {3, "40", None, LittleEndian, Block, true},
     {20, "", None, BigEndian, Fixed, true},
     {20, "1.5, -2", Tail, BigEndian, Fixed, true}},
    // A frame that is nothing but its head.
    {{11, "0xAA55, 0x0102", Head, LittleEndian, Fixed, true}},
};

std::vector<std::unique_ptr<RxProtocol>> g_protocols;
std::vector<std::unique_ptr<ProtocolParser>> g_parsers;

void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "parser result broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static Context ctx;
    ctx.Initialize();
    for (const auto &defs : kProtocols) {
        auto protocol = std::make_unique<RxProtocol>();
        for (const FieldDef &def : defs) {
            RxField *field = protocol->AddField(-1);
            field->SetTypeId(def.typeId);
            field->SetEndian(def.endian);
            field->SetEnabled(def.enabled);
            field->GetValueMetaInfo()->SetParamList(def.params);
            field->GetValueMetaInfo()->SetFlag(def.flag);
            field->GetValueMetaInfo()->SetValueGeneratorType(def.generator);
        }
        auto parser = std::make_unique<ProtocolParser>();
        if (!parser->Build(protocol.get())) {
            std::fprintf(stderr, "fuzz protocol %zu does not build\n", g_protocols.size());
            std::abort();
        }
        g_protocols.push_back(std::move(protocol));
        g_parsers.push_back(std::move(parser));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    ProtocolParser &parser = *g_parsers[data[0] % g_parsers.size()];
    // An exactly sized copy, so that any read past the end is caught.
    const int len = static_cast<int>(size - 1);
    std::unique_ptr<char[]> buffer(new char[size - 1 ? size - 1 : 1]);
    std::memcpy(buffer.get(), data + 1, size - 1);
    const std::size_t records = parser.GetFrameValues().size();

    int consumed = 0;
    while (consumed < len) {
        const int rest = len - consumed;
        const ProtocolParser::PRResult r
            = parser.Update(buffer.get() + consumed, rest, (data[0] & 0x80) != 0);
        Check(r.status >= 0 && r.status <= 7 && r.status != 1, "status");
        Check(r.frameEnd >= 0 && r.frameEnd <= rest, "frame end");
        Check(r.headOffset >= -1 && r.headOffset < rest, "head offset");
        Check(r.tailOffset >= -1 && r.tailOffset <= rest, "tail offset");
        Check(parser.GetFrameValues().size() == records, "frame value count");
        if (r.status != ProtocolParser::FrameDecoded && r.status != ProtocolParser::DecodingFailed) {
            break;
        }
        Check(r.frameEnd > 0, "a found frame has bytes");
        Check(r.frameEnd >= parser.GetFrameSize() - 1, "a frame is not shorter than the protocol");
        consumed += r.frameEnd;
    }
    return 0;
}

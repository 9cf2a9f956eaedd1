// Throughput of the receive-frame parser on a stream of back-to-back frames with garbage
// between them, fed the way the frame watcher does: one Update per frame, dropping frameEnd.
#include <dorvane/Core.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr std::size_t kStreamBytes = 1024 * 1024;
constexpr int kRuns = 30;

void AddField(RxProtocol &protocol, int typeId, const char *params, RxValueMetaInfo::FieldFlag flag)
{
    RxField *field = protocol.AddField(-1);
    field->SetTypeId(typeId);
    field->GetValueMetaInfo()->SetParamList(params);
    field->GetValueMetaInfo()->SetFlag(flag);
}

// Frames AA 55 | u16 | i32 | float | double | 0D 0A, followed by 0 to 5 garbage bytes (about a
// tenth of the stream). Garbage never holds 0xAA, so every frame is found.
std::vector<char> MakeStream(std::size_t &frames)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> gap(0, 5);
    std::vector<char> stream;
    stream.reserve(kStreamBytes + 64);
    frames = 0;
    while (stream.size() + 22 <= kStreamBytes) {
        stream.push_back(static_cast<char>(0xAA));
        stream.push_back(0x55);
        for (int i = 0; i < 18; ++i) {
            stream.push_back(static_cast<char>(byte(random)));
        }
        stream.push_back(0x0D);
        stream.push_back(0x0A);
        ++frames;
        for (int i = gap(random); i > 0 && stream.size() < kStreamBytes; --i) {
            int garbage = byte(random);
            stream.push_back(static_cast<char>(garbage == 0xAA ? 0 : garbage));
        }
    }
    stream.resize(kStreamBytes, 0);
    return stream;
}

} // namespace

int main()
{
    Context ctx;
    ctx.Initialize();
    RxProtocol protocol;
    AddField(protocol, 10, "0xAA", RxValueMetaInfo::HeadFlag);
    AddField(protocol, 10, "0x55", RxValueMetaInfo::HeadFlag);
    AddField(protocol, 11, "", RxValueMetaInfo::NoFlag);
    AddField(protocol, 3, "", RxValueMetaInfo::NoFlag);
    AddField(protocol, 20, "", RxValueMetaInfo::NoFlag);
    AddField(protocol, 21, "", RxValueMetaInfo::NoFlag);
    AddField(protocol, 10, "0x0D", RxValueMetaInfo::TailFlag);
    AddField(protocol, 10, "0x0A", RxValueMetaInfo::TailFlag);
    ProtocolParser parser;
    if (!parser.Build(&protocol)) {
        std::fprintf(stderr, "the benchmark protocol does not build\n");
        return 1;
    }

    std::size_t expected = 0;
    const std::vector<char> stream = MakeStream(expected);
    std::vector<double> seconds;
    std::size_t frames = 0;
    double checksum = 0;
    for (int run = 0; run < kRuns; ++run) {
        frames = 0;
        std::size_t consumed = 0;
        const auto start = std::chrono::steady_clock::now();
        while (consumed < stream.size()) {
            const ProtocolParser::PRResult r
                = parser.Update(stream.data() + consumed, static_cast<int>(stream.size() - consumed), false);
            if ((r.status != ProtocolParser::FrameDecoded && r.status != ProtocolParser::DecodingFailed)
                || r.frameEnd < 1) {
                break;
            }
            consumed += static_cast<std::size_t>(r.frameEnd);
            ++frames;
            checksum += parser.GetFrameValues()[0].value.GetDouble();
        }
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    const double best = seconds.front();
    const double megabytes = static_cast<double>(stream.size()) / 1e6;
    std::printf("protocol parser: %zu bytes, %zu frames of 22 bytes (%zu expected), %d runs\n", stream.size(),
                frames, expected, kRuns);
    std::printf("  median %.3f ms: %.1f MB/s, %.2f Mframes/s\n", median * 1e3, megabytes / median,
                static_cast<double>(frames) / median / 1e6);
    std::printf("  best   %.3f ms: %.1f MB/s, %.2f Mframes/s\n", best * 1e3, megabytes / best,
                static_cast<double>(frames) / best / 1e6);
    std::printf("  (checksum %g)\n", checksum);
    return frames == expected ? 0 : 2;
}

// Frames per second of the frame stream, and heap allocations per Update (counted by the
// replaced global operator new below; the target is none).
#include <dorvane/Core.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

namespace {
std::atomic<long long> g_allocations{0};
} // namespace

// The replaced operators below pair malloc with free; GCC cannot see that the pair is ours.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void *operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}

void *operator new[](std::size_t size)
{
    return operator new(size);
}

void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size ? size : 1);
}

void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept
{
    return operator new(size, tag);
}

void operator delete(void *p) noexcept
{
    std::free(p);
}

void operator delete[](void *p) noexcept
{
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

void AddField(TxProtocol &protocol, int typeId, Endianness endian, ValueGeneratorType generator,
              const std::string &params)
{
    TxField *field = protocol.AddField(-1);
    field->SetTypeId(typeId);
    field->SetEndian(endian);
    field->GetValueMetaInfo(0)->SetValueGeneratorType(generator);
    field->GetValueMetaInfo(0)->SetParamList(params);
}

void RunStream(benchmark::State &state, const TxProtocol &protocol)
{
    ProtocolStream stream;
    if (!stream.Build(&protocol, 0)) {
        state.SkipWithError("the protocol does not build");
        return;
    }
    stream.Update();
    const long long before = g_allocations.load(std::memory_order_relaxed);
    for (auto _ : state) {
        stream.Update();
        char *data = stream.GetData();
        benchmark::DoNotOptimize(data);
        benchmark::DoNotOptimize(data[stream.GetDataSize() - 1]);
        benchmark::ClobberMemory();
    }
    const long long allocations = g_allocations.load(std::memory_order_relaxed) - before;
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * stream.GetDataSize());
    state.counters["frames/s"]
        = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["allocs/Update"]
        = static_cast<double>(allocations) / static_cast<double>(state.iterations() ? state.iterations() : 1);
    state.counters["frame_bytes"] = stream.GetDataSize();
}

// 16 fields of mixed types and byte orders; Sequence, Random, Sin and Step change every frame.
void BM_SixteenFieldFrame(benchmark::State &state)
{
    TxProtocol protocol;
    AddField(protocol, 10, LittleEndian, Fixed, "0xAA");
    AddField(protocol, 10, LittleEndian, Fixed, "0x55");
    AddField(protocol, 11, BigEndian, Sequence, "0,1");
    AddField(protocol, 1, LittleEndian, Fixed, "-1");
    AddField(protocol, 3, BigEndian, Random, "-1000,1000");
    AddField(protocol, 12, LittleEndian, Fixed, "0xDEADBEEF");
    AddField(protocol, 20, LittleEndian, Sin, "1000,-10,10");
    AddField(protocol, 2, BigEndian, Fixed, "1234");
    AddField(protocol, 21, BigEndian, Step, "100,1,2,10");
    AddField(protocol, 11, LittleEndian, Fixed, "7");
    AddField(protocol, 21, LittleEndian, Fixed, "3.25");
    AddField(protocol, 3, BigEndian, Fixed, "42");
    AddField(protocol, 10, LittleEndian, Fixed, "1");
    AddField(protocol, 20, BigEndian, Fixed, "0.5");
    AddField(protocol, 12, BigEndian, Fixed, "9");
    AddField(protocol, 10, LittleEndian, Fixed, "0x0D");
    RunStream(state, protocol);
}
BENCHMARK(BM_SixteenFieldFrame);

// One Array field of 1 KiB.
void BM_OneKibArrayFrame(benchmark::State &state)
{
    std::string params("0x[");
    for (int i = 0; i < 1024; ++i) {
        static const char kHex[] = "0123456789ABCDEF";
        if (i) {
            params += ' ';
        }
        params += kHex[(i >> 4) & 15];
        params += kHex[i & 15];
    }
    params += ']';
    TxProtocol protocol;
    AddField(protocol, 10, LittleEndian, Array, params);
    RunStream(state, protocol);
}
BENCHMARK(BM_OneKibArrayFrame);

} // namespace

BENCHMARK_MAIN();

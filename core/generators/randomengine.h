#pragma once

#include <cstdint>
#include <random>

// A seed from the non-deterministic device, or from the clock where there is none.
std::uint32_t RandomSeed();

// One engine per element type, shared by all random values of that type and seeded once on
// first use (thread-safe static initialisation). Not locked: random values of one element type
// must not be updated on two threads at once.
template<typename T>
std::mt19937 &RandomEngine()
{
    static std::mt19937 engine(RandomSeed());
    return engine;
}

#include "generators/randomengine.h"

#include <chrono>

std::uint32_t RandomSeed()
{
    try {
        std::random_device device;
        return device();
    } catch (...) {
        const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
        return static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32);
    }
}

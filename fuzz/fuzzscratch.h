#pragma once
// What the file-reading fuzz targets share: a scratch directory for the
// files they write, the type and generator registry, and the check that
// stops a run when a round trip breaks.
#include <dorvane/Core.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace FuzzScratch {

// A fresh directory, removed at exit. Memory-backed where the machine has
// /dev/shm: saving flushes every file to the disk, which would slow the
// fuzzer down.
inline const std::string &Directory(const char *name)
{
    static const std::string dir = [name] {
        std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        pattern += std::string("/fuzz-") + name + "-XXXXXX";
        if (!::mkdtemp(&pattern[0])) {
            std::abort();
        }
        return pattern;
    }();
    static const bool removed = [] {
        return std::atexit([] {
                   std::error_code error;
                   std::filesystem::remove_all(dir, error);
               })
               == 0;
    }();
    (void)removed;
    return dir;
}

inline Context &Registry()
{
    static Context *ctx = [] {
        auto *context = new Context();
        context->Initialize();
        return context;
    }();
    return *ctx;
}

inline void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "round trip broken: %s\n", what);
        std::abort();
    }
}

inline void WriteFile(const std::string &path, const void *data, std::size_t size)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
}

} // namespace FuzzScratch

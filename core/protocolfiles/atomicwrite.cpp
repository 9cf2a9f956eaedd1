#include "atomicwrite.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Opens a new file beside `target` that did not exist before ("x" mode), so
// two writers never share a temporary file.
std::FILE *CreateTemporaryFile(const fs::path &target, fs::path &tempPath)
{
    std::random_device device;
    static const char digits[] = "0123456789abcdef";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string suffix = ".tmp-";
        unsigned int bits = device();
        for (int i = 0; i < 8; ++i) {
            suffix += digits[bits & 0xF];
            bits >>= 4;
        }
        fs::path candidate = target;
        candidate += suffix;
        if (std::FILE *file = std::fopen(candidate.string().c_str(), "wbx")) {
            tempPath = candidate;
            return file;
        }
    }
    return nullptr;
}

bool WriteAndClose(std::FILE *file, const std::string &content)
{
    bool ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = std::fflush(file) == 0 && ok;
#ifndef _WIN32
    ok = ok && ::fsync(::fileno(file)) == 0;
#endif
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

} // namespace

bool WriteFileAtomically(const std::string &path, const std::string &content)
{
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    fs::path target(path);
    // Saving through a link replaces the file it points to, not the link.
    if (fs::is_symlink(target, error)) {
        fs::path resolved = fs::canonical(target, error);
        if (!error) {
            target = resolved;
        }
    }

#ifndef _WIN32
    // Renaming would replace a file that its owner made read-only, which writing in place
    // would refuse.
    if (fs::exists(target, error) && ::access(target.c_str(), W_OK) != 0) {
        return false;
    }
#endif

    fs::path tempPath;
    std::FILE *file = CreateTemporaryFile(target, tempPath);
    if (!file) {
        return false;
    }
    if (!WriteAndClose(file, content)) {
        fs::remove(tempPath, error);
        return false;
    }

    // Keep the permissions of the file being replaced.
    fs::file_status oldStatus = fs::status(target, error);
    if (!error && fs::is_regular_file(oldStatus)) {
        fs::permissions(tempPath, oldStatus.permissions(), error);
    }

    fs::rename(tempPath, target, error);
    if (error) {
        fs::remove(tempPath, error);
        return false;
    }
    return true;
}

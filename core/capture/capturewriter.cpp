#include <dorvane/capturewriter.h>

#include "captureencoder.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include <sys/stat.h>

namespace {

// What a queued chunk costs beyond its bytes, so a flood of tiny chunks is
// bounded too.
constexpr std::size_t ChunkOverhead = sizeof(CaptureChunk) + 32;
// A removed or replaced file does not make writes fail on POSIX systems; the
// writer looks at the path this often to notice.
constexpr auto PathCheckInterval = std::chrono::milliseconds(200);
constexpr std::size_t FileBufferSize = 1u << 20;

struct QueuedChunk
{
    CaptureChunk chunk;
    std::uint64_t lostChunks; // refused since the previous queued chunk
    std::uint64_t lostBytes;
};

std::string SystemReason(int error)
{
    return std::strerror(error);
}

} // namespace

struct CaptureWriter::Private
{
    // Set by Start, read by the writer thread only.
    CaptureOptions options;
    std::unique_ptr<CaptureEncoder> encoder;
    std::function<void(const std::string &)> failureCallback;

    std::thread thread;
    std::FILE *file = nullptr; // writer thread only, once started
    int rotation = 0;
    std::chrono::steady_clock::time_point lastPathCheck;

    // The queue and what describes it, under `mutex`.
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::deque<QueuedChunk> queue;
    std::size_t queuedBytes = 0;
    std::uint64_t pendingLostChunks = 0;
    std::uint64_t pendingLostBytes = 0;
    bool stopping = false;
    std::string error;
    std::string currentPath;

    std::atomic<Status> status{Status::Idle};
    std::atomic<std::uint64_t> fileSize{0};
    std::atomic<std::uint64_t> totalBytes{0};
    std::atomic<std::uint64_t> lostChunks{0};
    std::atomic<std::uint64_t> lostBytes{0};

    bool OpenFile(const std::string &path, bool append, std::string &reason);
    void CloseFile();
    bool WriteBytes(const std::string &bytes);
    bool Rotate();
    bool PathStillOurs();
    void Fail(const std::string &reason);
    void Run();
};

bool CaptureWriter::Private::OpenFile(const std::string &path, bool append, std::string &reason)
{
    file = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (!file) {
        reason = path + ": " + SystemReason(errno);
        return false;
    }
    std::setvbuf(file, nullptr, _IOFBF, FileBufferSize);
    std::uint64_t size = 0;
    struct stat info
    {
    };
    if (append && ::fstat(fileno(file), &info) == 0)
        size = std::uint64_t(info.st_size);
    fileSize = size;
    {
        std::lock_guard<std::mutex> lock(mutex);
        currentPath = path;
    }
    lastPathCheck = std::chrono::steady_clock::now();
    return true;
}

void CaptureWriter::Private::CloseFile()
{
    if (!file)
        return;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    file = nullptr;
    if (status == Status::Running && (!flushed || !closed))
        Fail(SystemReason(flushed ? closeError : flushError));
}

bool CaptureWriter::Private::WriteBytes(const std::string &bytes)
{
    if (bytes.empty())
        return true;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        Fail(SystemReason(errno));
        return false;
    }
    fileSize += bytes.size();
    totalBytes += bytes.size();
    return true;
}

bool CaptureWriter::Private::Rotate()
{
    if (std::fflush(file) != 0) {
        Fail(SystemReason(errno));
        return false;
    }
    std::fclose(file);
    file = nullptr;
    ++rotation;
    std::string reason;
    if (!OpenFile(CaptureWriter::RotatedPath(options.path, rotation), false, reason)) {
        Fail(reason);
        return false;
    }
    return WriteBytes(encoder->FileHeader());
}

bool CaptureWriter::Private::PathStillOurs()
{
#ifdef _WIN32
    return true; // an open file cannot be removed there
#else
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPathCheck < PathCheckInterval)
        return true;
    lastPathCheck = now;
    struct stat open
    {
    }, named{};
    if (::fstat(fileno(file), &open) != 0)
        return true;
    std::string path;
    {
        std::lock_guard<std::mutex> lock(mutex);
        path = currentPath;
    }
    if (::stat(path.c_str(), &named) != 0 || named.st_ino != open.st_ino || named.st_dev != open.st_dev) {
        Fail(path + ": the capture file was removed or replaced");
        return false;
    }
    return true;
#endif
}

void CaptureWriter::Private::Fail(const std::string &reason)
{
    Status expected = Status::Running;
    if (!status.compare_exchange_strong(expected, Status::Failed))
        return;
    {
        std::lock_guard<std::mutex> lock(mutex);
        error = reason;
    }
    if (file) {
        // Keep what reached the file; a second failing flush changes nothing.
        std::fclose(file);
        file = nullptr;
    }
    if (failureCallback)
        failureCallback(reason);
}

void CaptureWriter::Private::Run()
{
    std::deque<QueuedChunk> batch;
    std::string record;
    for (;;) {
        bool last;
        {
            std::unique_lock<std::mutex> lock(mutex);
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            batch.swap(queue);
            queuedBytes = 0;
            last = stopping;
        }
        if (status == Status::Running) {
            for (const QueuedChunk &queued : batch) {
                record.clear();
                encoder->Encode(queued.chunk, queued.lostChunks, queued.lostBytes, record);
                if (options.rotateBytes > 0 && fileSize > 0 && fileSize + record.size() > options.rotateBytes
                    && !Rotate())
                    break;
                if (!WriteBytes(record))
                    break;
            }
            if (status == Status::Running && std::fflush(file) != 0)
                Fail(SystemReason(errno));
            if (status == Status::Running)
                PathStillOurs();
        }
        batch.clear();
        if (last)
            break;
    }
    if (status == Status::Running) {
        std::uint64_t lostChunksAtEnd, lostBytesAtEnd;
        {
            std::lock_guard<std::mutex> lock(mutex);
            lostChunksAtEnd = pendingLostChunks;
            lostBytesAtEnd = pendingLostBytes;
        }
        WriteBytes(encoder->Trailer(lostChunksAtEnd, lostBytesAtEnd));
    }
    CloseFile();
}

CaptureWriter::CaptureWriter()
    : d(new Private)
{
}

CaptureWriter::~CaptureWriter()
{
    Stop();
}

void CaptureWriter::SetFailureCallback(std::function<void(const std::string &)> callback)
{
    d->failureCallback = std::move(callback);
}

bool CaptureWriter::Start(const CaptureOptions &options)
{
    Stop();
    CaptureFormat format = options.format;
    if (format == CaptureFormat::FromExtension)
        format = FormatForPath(options.path);

    d->options = options;
    d->encoder.reset(
        new CaptureEncoder(format, options.textAsHex, options.interfaceName, options.interfaceDescription));
    d->rotation = 0;
    d->fileSize = 0;
    d->totalBytes = 0;
    d->lostChunks = 0;
    d->lostBytes = 0;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->queue.clear();
        d->queuedBytes = 0;
        d->pendingLostChunks = 0;
        d->pendingLostBytes = 0;
        d->stopping = false;
        d->error.clear();
    }

    std::string reason;
    if (options.path.empty()) {
        reason = "no capture file was named";
    } else if (d->OpenFile(options.path, options.append, reason)) {
        // The header goes out before Start returns, so a file that cannot
        // take even that (a full disk) is refused here, not reported later.
        const std::string header = d->encoder->FileHeader();
        if (std::fwrite(header.data(), 1, header.size(), d->file) == header.size()
            && std::fflush(d->file) == 0) {
            d->fileSize += header.size();
            d->totalBytes += header.size();
            d->status = Status::Running;
            d->thread = std::thread([this] { d->Run(); });
            return true;
        }
        reason = options.path + ": " + SystemReason(errno);
        std::fclose(d->file);
        d->file = nullptr;
    }
    std::lock_guard<std::mutex> lock(d->mutex);
    d->error = reason;
    d->status = Status::Failed;
    return false;
}

bool CaptureWriter::Append(CaptureChunk chunk)
{
    if (d->status != Status::Running)
        return false;
    const std::size_t cost = chunk.bytes.size() + ChunkOverhead;
    std::lock_guard<std::mutex> lock(d->mutex);
    if (d->stopping)
        return false;
    if (d->queuedBytes + cost > d->options.queueLimitBytes) {
        ++d->pendingLostChunks;
        d->pendingLostBytes += chunk.bytes.size();
        ++d->lostChunks;
        d->lostBytes += chunk.bytes.size();
        return false;
    }
    d->queuedBytes += cost;
    d->queue.push_back(QueuedChunk{std::move(chunk), d->pendingLostChunks, d->pendingLostBytes});
    d->pendingLostChunks = 0;
    d->pendingLostBytes = 0;
    // Wake the writer only when it may be sleeping: one notify per batch.
    if (d->queue.size() == 1)
        d->wake.notify_one();
    return true;
}

void CaptureWriter::Stop()
{
    if (!d->thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_one();
    d->thread.join();
    Status expected = Status::Running;
    d->status.compare_exchange_strong(expected, Status::Stopped);
}

CaptureWriter::Status CaptureWriter::GetStatus() const
{
    return d->status;
}

std::string CaptureWriter::GetError() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->error;
}

std::string CaptureWriter::GetCurrentPath() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->currentPath;
}

std::uint64_t CaptureWriter::GetFileSize() const
{
    return d->fileSize;
}

std::uint64_t CaptureWriter::GetTotalBytes() const
{
    return d->totalBytes;
}

std::uint64_t CaptureWriter::GetLostChunks() const
{
    return d->lostChunks;
}

std::uint64_t CaptureWriter::GetLostBytes() const
{
    return d->lostBytes;
}

CaptureFormat CaptureWriter::FormatForPath(const std::string &path)
{
    const auto endsWith = [&path](const char *suffix) {
        const std::size_t n = std::strlen(suffix);
        if (path.size() < n)
            return false;
        for (std::size_t i = 0; i < n; ++i) {
            const char c = path[path.size() - n + i];
            if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != suffix[i])
                return false;
        }
        return true;
    };
    if (endsWith(".pcapng"))
        return CaptureFormat::Pcapng;
    if (endsWith(".bin"))
        return CaptureFormat::Raw;
    return CaptureFormat::Text;
}

std::string CaptureWriter::RotatedPath(const std::string &path, int index)
{
    if (index <= 0)
        return path;
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t dot = path.find_last_of('.');
    const std::string number = "." + std::to_string(index);
    // A dot in a directory name or a leading dot ("~/.capture") is no extension.
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)
        || dot == (slash == std::string::npos ? 0 : slash + 1))
        return path + number;
    return path.substr(0, dot) + number + path.substr(dot);
}

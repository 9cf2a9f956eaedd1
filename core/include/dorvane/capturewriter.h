#pragma once

#include <dorvane/core_export.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Which way a captured chunk travelled.
enum class CaptureDirection : std::uint8_t { Received = 0, Written = 1 };

// One received or written chunk as the channel reported it.
struct CaptureChunk
{
    std::int64_t monotonicUs = 0; // steady clock, for intervals
    std::int64_t wallUs = 0;      // microseconds since 1970-01-01 UTC, what the file shows
    CaptureDirection direction = CaptureDirection::Received;
    std::string bytes;
    std::string source; // optional: the peer a chunk came from ("127.0.0.1:5000")
};

// How chunks are laid out in the file.
enum class CaptureFormat : std::uint8_t {
    FromExtension = 0, // ".log" text, ".bin" raw, ".pcapng"; anything else is text
    Text = 1,          // one labelled line per chunk
    Raw = 2,           // the received bytes only, as they came
    Pcapng = 3,        // one Enhanced Packet Block per chunk, link type USER0, µs stamps
};

struct CaptureOptions
{
    std::string path;
    CaptureFormat format = CaptureFormat::FromExtension;
    bool append = false; // false truncates an existing file
    // Text files: hex pairs (true) or the bytes as text with visible
    // placeholders for control bytes and invalid UTF-8.
    bool textAsHex = true;
    // Bytes per file; past it the capture goes on in name.1.ext, name.2.ext
    // and so on. 0 never rotates.
    std::uint64_t rotateBytes = 0;
    // Written into the pcapng interface block (if_name, if_description).
    std::string interfaceName;
    std::string interfaceDescription;
    // Bytes that may wait for the writer thread. A caller that outruns the
    // disk by more loses chunks rather than blocking: the loss is counted,
    // marked in the file (a text line, the pcapng drop count) and reported.
    std::size_t queueLimitBytes = 64u * 1024u * 1024u;
};

// Writes captured chunks to a file on a thread of its own. Append() only
// queues and never touches the disk, so the GUI thread can call it for every
// chunk. A failed write (disk full, file removed or replaced) stops the
// capture once: the status turns Failed, the failure callback runs once on
// the writer thread, and what was written before stays in the file.
//
// Start, Stop and the destructor belong to one thread; Append and the getters
// may be called from any thread.
class DORVANE_CORE_EXPORT CaptureWriter
{
public:
    enum class Status : std::uint8_t { Idle, Running, Failed, Stopped };

    CaptureWriter();
    ~CaptureWriter(); // stops, writing what is queued

    CaptureWriter(const CaptureWriter &) = delete;
    CaptureWriter &operator=(const CaptureWriter &) = delete;

    // Called once, from the writer thread, with the reason of a failure.
    // Set it before Start.
    void SetFailureCallback(std::function<void(const std::string &reason)> callback);

    // Opens the file and starts the writer thread. False, with the reason in
    // GetError(), when the file cannot be opened; a running capture is
    // stopped first.
    bool Start(const CaptureOptions &options);
    // Queues one chunk. False when not running or when the queue is full
    // (the chunk is then counted as lost).
    bool Append(CaptureChunk chunk);
    // Writes every queued chunk, closes the file and joins the thread.
    void Stop();

    Status GetStatus() const;
    std::string GetError() const;
    // The file being written (name.N.ext after a rotation).
    std::string GetCurrentPath() const;
    // Size of the current file.
    std::uint64_t GetFileSize() const;
    // Bytes of every file of this capture, and chunks and bytes lost.
    std::uint64_t GetTotalBytes() const;
    std::uint64_t GetLostChunks() const;
    std::uint64_t GetLostBytes() const;

    static CaptureFormat FormatForPath(const std::string &path);
    // The path of rotation `index` (0 is the path itself): "cap.pcapng" → "cap.2.pcapng".
    static std::string RotatedPath(const std::string &path, int index);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

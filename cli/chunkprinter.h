#pragma once

#include "clioptions.h"
#include "expectation.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <vector>

// Writes what the run sees to standard output: received chunks as hex lines
// with µs time stamps, as raw bytes, or every chunk as one JSON object per
// line; decoded frames as CSV rows. Each chunk is flushed at once, so a
// script reading the pipe sees it as it comes.
class ChunkPrinter
{
public:
    ChunkPrinter(CliOptions::Output mode, bool chunks, std::FILE *out = stdout);

    void received(std::int64_t wallUs, const QByteArray &bytes);
    void written(std::int64_t wallUs, const QByteArray &bytes);
    // One row per value: time in µs,graph id,value.
    void frame(std::int64_t wallUs, const std::vector<FrameMatcher::Value> &values);

    // "2026-12-09 00:45:07.123456", local time.
    static QByteArray timeText(std::int64_t wallUs);

private:
    void put(const QByteArray &text);

    CliOptions::Output m_mode;
    bool m_chunks;
    std::FILE *m_out;
};

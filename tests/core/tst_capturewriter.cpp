// Capture files written by CaptureWriter, read back byte by byte and by tshark.
#include <dorvane/capturewriter.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class CaptureDir : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dorvane-capture-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string &name) const { return (dir / name).string(); }

    fs::path dir;
};

std::string ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

CaptureChunk Chunk(std::int64_t wallUs, CaptureDirection direction, std::string bytes,
                   std::string source = {})
{
    CaptureChunk chunk;
    chunk.monotonicUs = wallUs;
    chunk.wallUs = wallUs;
    chunk.direction = direction;
    chunk.bytes = std::move(bytes);
    chunk.source = std::move(source);
    return chunk;
}

template<typename T>
T At(const std::string &bytes, std::size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

struct Block
{
    std::uint32_t type;
    std::string body; // between the length fields
};

// Splits a pcapng file into blocks, checking that every block's leading and
// trailing lengths agree and that the file ends on a block boundary.
std::vector<Block> Blocks(const std::string &file)
{
    std::vector<Block> blocks;
    std::size_t offset = 0;
    while (offset + 12 <= file.size()) {
        const auto length = At<std::uint32_t>(file, offset + 4);
        EXPECT_EQ(length % 4, 0u);
        EXPECT_LE(offset + length, file.size());
        if (length < 12 || offset + length > file.size())
            break;
        EXPECT_EQ(At<std::uint32_t>(file, offset + length - 4), length);
        blocks.push_back({At<std::uint32_t>(file, offset), file.substr(offset + 8, length - 12)});
        offset += length;
    }
    EXPECT_EQ(offset, file.size());
    return blocks;
}

// The value of option `code` in an options area, empty when it is missing.
std::string Option(const std::string &options, std::uint16_t code)
{
    std::size_t offset = 0;
    while (offset + 4 <= options.size()) {
        const auto optCode = At<std::uint16_t>(options, offset);
        const auto length = At<std::uint16_t>(options, offset + 2);
        if (optCode == 0)
            break;
        if (optCode == code)
            return options.substr(offset + 4, length);
        offset += 4 + (length + 3u) / 4u * 4u;
    }
    return {};
}

bool WaitFor(const std::function<bool()> &condition)
{
    for (int i = 0; i < 300; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

constexpr std::int64_t Stamp = 1765240000123456; // 2025-12-09, µs

} // namespace

TEST_F(CaptureDir, PcapngHoldsOneEnhancedPacketPerChunkWithDirectionAndStamp)
{
    CaptureOptions options;
    options.path = Path("cap.pcapng");
    options.interfaceName = "/dev/ttyUSB0";
    options.interfaceDescription = "/dev/ttyUSB0,115200,8,1,N";
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    ASSERT_TRUE(writer.Append(Chunk(Stamp, CaptureDirection::Written, "\x01\x03\x00\x00\x00\x02\xC4\x0B")));
    ASSERT_TRUE(writer.Append(Chunk(Stamp + 1500, CaptureDirection::Received, "abc", "127.0.0.1:5000")));
    ASSERT_TRUE(writer.Append(Chunk(Stamp + 2000000, CaptureDirection::Received, std::string(1, '\0'))));
    writer.Stop();
    EXPECT_EQ(writer.GetStatus(), CaptureWriter::Status::Stopped);

    const std::string file = ReadAll(options.path);
    EXPECT_EQ(writer.GetTotalBytes(), file.size());
    const std::vector<Block> blocks = Blocks(file);
    ASSERT_EQ(blocks.size(), 5u);
    EXPECT_EQ(blocks[0].type, 0x0A0D0D0Au);
    EXPECT_EQ(At<std::uint32_t>(blocks[0].body, 0), 0x1A2B3C4Du);
    EXPECT_EQ(blocks[1].type, 1u);
    EXPECT_EQ(At<std::uint16_t>(blocks[1].body, 0), 147);
    const std::string ifOptions = blocks[1].body.substr(8);
    EXPECT_EQ(Option(ifOptions, 2), "/dev/ttyUSB0");
    EXPECT_EQ(Option(ifOptions, 3), "/dev/ttyUSB0,115200,8,1,N");
    EXPECT_EQ(Option(ifOptions, 9), std::string(1, '\x06'));

    const struct
    {
        std::int64_t stamp;
        std::string bytes;
        std::uint32_t flags;
        std::string comment;
    } expected[] = {{Stamp, "\x01\x03\x00\x00\x00\x02\xC4\x0B", 2, ""},
                    {Stamp + 1500, "abc", 1, "127.0.0.1:5000"},
                    {Stamp + 2000000, std::string(1, '\0'), 1, ""}};
    for (int i = 0; i < 3; ++i) {
        const std::string &body = blocks[2 + i].body;
        SCOPED_TRACE(i);
        EXPECT_EQ(blocks[2 + i].type, 6u);
        const std::uint64_t stamp
            = (std::uint64_t(At<std::uint32_t>(body, 4)) << 32) | At<std::uint32_t>(body, 8);
        EXPECT_EQ(stamp, std::uint64_t(expected[i].stamp));
        const auto length = At<std::uint32_t>(body, 12);
        EXPECT_EQ(length, expected[i].bytes.size());
        EXPECT_EQ(At<std::uint32_t>(body, 16), length);
        EXPECT_EQ(body.substr(20, length), expected[i].bytes);
        const std::string options = body.substr(20 + (length + 3) / 4 * 4);
        EXPECT_EQ(Option(options, 2), std::string(reinterpret_cast<const char *>(&expected[i].flags), 4));
        EXPECT_EQ(Option(options, 1), expected[i].comment);
    }
}

TEST_F(CaptureDir, TsharkReadsCountLengthsDirectionsAndTimes)
{
    if (std::system("tshark --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tshark is not installed (Debian package tshark)";
    CaptureOptions options;
    options.path = Path("cap.pcapng");
    options.interfaceName = "tcp client";
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    writer.Append(Chunk(Stamp, CaptureDirection::Written, "hello"));
    writer.Append(Chunk(Stamp + 250, CaptureDirection::Received, std::string(1000, 'x')));
    writer.Append(Chunk(Stamp + 1000001, CaptureDirection::Received, "z", "10.0.0.1:7"));
    writer.Stop();

    const std::string out = Path("tshark.txt");
    const std::string command = "tshark -r " + options.path
                                + " -T fields -E separator=, -e frame.len -e frame.time_epoch"
                                  " -e frame.packet_flags_direction > "
                                + out + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::istringstream lines(ReadAll(out));
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 3u);
    // Direction 1 is inbound, 2 outbound (tshark prints the whole flags word in hex).
    EXPECT_EQ(rows[0], "5,1765240000.123456000,0x00000002");
    EXPECT_EQ(rows[1], "1000,1765240000.123706000,0x00000001");
    EXPECT_EQ(rows[2], "1,1765240001.123457000,0x00000001");
}

TEST_F(CaptureDir, TextLinesShowHexOrVisibleTextWithoutLosingBytes)
{
    CaptureOptions options;
    options.path = Path("cap.log");
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    writer.Append(Chunk(Stamp, CaptureDirection::Written, "\x01\xAB", "peer"));
    writer.Stop();
    const std::string hexLine = ReadAll(options.path);
    EXPECT_NE(hexLine.find(".123456] TX peer (2): 01 AB\n"), std::string::npos) << hexLine;

    options.textAsHex = false;
    options.append = true;
    ASSERT_TRUE(writer.Start(options));
    // NUL, CR LF, a backslash, valid two- and three-byte UTF-8, a lone
    // continuation byte, a truncated sequence and an overlong slash.
    writer.Append(Chunk(Stamp + 1, CaptureDirection::Received,
                        std::string("A\0\r\n\\\xC3\xA9\xE2\x82\xAC\x80\xE2\x82\xC0\xAF", 15)));
    writer.Stop();
    const std::string both = ReadAll(options.path);
    ASSERT_EQ(both.compare(0, hexLine.size(), hexLine), 0) << "append kept the first line";
    const std::string textLine = both.substr(hexLine.size());
    EXPECT_NE(
        textLine.find(".123457] RX (15): A\u2400\u240D\u240A\\\\\u00E9\u20AC\\x80\\xE2\\x82\\xC0\\xAF\n"),
        std::string::npos)
        << textLine;
}

TEST_F(CaptureDir, RawFileHoldsReceivedBytesOnly)
{
    CaptureOptions options;
    options.path = Path("cap.bin");
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    writer.Append(Chunk(Stamp, CaptureDirection::Received, std::string("\0\1", 2)));
    writer.Append(Chunk(Stamp, CaptureDirection::Written, "sent"));
    writer.Append(Chunk(Stamp, CaptureDirection::Received, "\xFF"));
    writer.Stop();
    EXPECT_EQ(ReadAll(options.path), std::string("\0\1\xFF", 3));
}

TEST_F(CaptureDir, RotationContinuesInNumberedFilesEachWithItsHeader)
{
    CaptureOptions options;
    options.path = Path("cap.pcapng");
    options.rotateBytes = 400;
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    for (int i = 0; i < 20; ++i)
        writer.Append(Chunk(Stamp + i, CaptureDirection::Received, std::string(50, char('a' + i))));
    writer.Stop();

    EXPECT_EQ(CaptureWriter::RotatedPath(options.path, 2), Path("cap.2.pcapng"));
    EXPECT_EQ(CaptureWriter::RotatedPath("/tmp/a.b/cap", 1), "/tmp/a.b/cap.1");
    std::string seen;
    int files = 0;
    std::uint64_t total = 0;
    for (; fs::exists(CaptureWriter::RotatedPath(options.path, files)); ++files) {
        const std::string file = ReadAll(CaptureWriter::RotatedPath(options.path, files));
        total += file.size();
        EXPECT_LE(file.size(), options.rotateBytes);
        const std::vector<Block> blocks = Blocks(file);
        ASSERT_GE(blocks.size(), 3u);
        EXPECT_EQ(blocks[0].type, 0x0A0D0D0Au);
        EXPECT_EQ(blocks[1].type, 1u);
        for (std::size_t b = 2; b < blocks.size(); ++b)
            seen += blocks[b].body[20];
    }
    EXPECT_GT(files, 2);
    EXPECT_EQ(seen, "abcdefghijklmnopqrst");
    EXPECT_EQ(total, writer.GetTotalBytes());
    EXPECT_EQ(writer.GetCurrentPath(), CaptureWriter::RotatedPath(options.path, files - 1));
}

TEST_F(CaptureDir, FullDiskStopsTheCaptureAndReportsOnce)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full on this system";
    CaptureOptions options;
    options.path = "/dev/full";
    options.format = CaptureFormat::Raw;
    std::atomic<int> reports{0};
    std::string reason;
    CaptureWriter writer;
    writer.SetFailureCallback([&](const std::string &why) {
        reason = why;
        ++reports;
    });
    ASSERT_TRUE(writer.Start(options));
    writer.Append(Chunk(Stamp, CaptureDirection::Received, "data"));
    ASSERT_TRUE(WaitFor([&] { return writer.GetStatus() == CaptureWriter::Status::Failed; }));
    EXPECT_FALSE(writer.Append(Chunk(Stamp, CaptureDirection::Received, "more")));
    writer.Stop();
    EXPECT_EQ(writer.GetStatus(), CaptureWriter::Status::Failed);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(reason, std::strerror(ENOSPC));
    EXPECT_EQ(writer.GetError(), reason);

    // A pcapng header that cannot be written refuses the start itself.
    options.format = CaptureFormat::Pcapng;
    EXPECT_FALSE(writer.Start(options));
    EXPECT_NE(writer.GetError().find(std::strerror(ENOSPC)), std::string::npos);
}

TEST_F(CaptureDir, RemovedFileStopsTheCaptureKeepingWhatWasWritten)
{
    CaptureOptions options;
    options.path = Path("cap.log");
    std::atomic<int> reports{0};
    CaptureWriter writer;
    writer.SetFailureCallback([&](const std::string &) { ++reports; });
    ASSERT_TRUE(writer.Start(options));
    writer.Append(Chunk(Stamp, CaptureDirection::Received, "one"));
    ASSERT_TRUE(WaitFor([&] { return writer.GetFileSize() > 0; }));
    fs::rename(options.path, Path("kept.log"));
    ASSERT_TRUE(WaitFor([&] {
        writer.Append(Chunk(Stamp, CaptureDirection::Received, "again"));
        return writer.GetStatus() == CaptureWriter::Status::Failed;
    }));
    writer.Stop();
    EXPECT_EQ(reports, 1);
    EXPECT_NE(writer.GetError().find("removed"), std::string::npos);
    EXPECT_EQ(ReadAll(Path("kept.log")).substr(0, 1), "[");
}

TEST_F(CaptureDir, ChunksBeyondTheQueueLimitAreCountedAndMarked)
{
    CaptureOptions options;
    options.path = Path("cap.log");
    options.queueLimitBytes = 10; // smaller than any chunk: every chunk is refused
    CaptureWriter writer;
    ASSERT_TRUE(writer.Start(options));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(writer.Append(Chunk(Stamp, CaptureDirection::Received, "12345678")));
    writer.Stop();
    EXPECT_EQ(writer.GetLostChunks(), 5u);
    EXPECT_EQ(writer.GetLostBytes(), 40u);
    EXPECT_EQ(ReadAll(options.path), "-- 5 chunks (40 bytes) lost: the capture file fell behind --\n");
}

TEST_F(CaptureDir, UnopenableFileIsRefusedWithItsReason)
{
    CaptureOptions options;
    options.path = Path("missing-dir/cap.log");
    CaptureWriter writer;
    EXPECT_FALSE(writer.Start(options));
    EXPECT_EQ(writer.GetStatus(), CaptureWriter::Status::Failed);
    EXPECT_NE(writer.GetError().find(std::strerror(ENOENT)), std::string::npos);
    EXPECT_FALSE(writer.Append(Chunk(Stamp, CaptureDirection::Received, "x")));
}

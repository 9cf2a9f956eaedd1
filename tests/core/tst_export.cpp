// Dissectors and C headers written from protocols, checked by the programs that consume them:
// tshark reads captures of Core-built frames with the dissector, gcc builds the header into a
// program that reads the same frames back.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool HaveProgram(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && access((dir + "/" + name).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

#define REQUIRE_PROGRAM(program, package)                                                                    \
    if (!HaveProgram(program)) {                                                                             \
        GTEST_SKIP() << program " is missing: install the Debian package " package;                          \
    }

// Runs a shell command to its end; its standard output, and its exit code as the result.
int RunCommand(const std::string &command, std::string *output = nullptr)
{
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, n);
    }
    const int status = pclose(pipe);
    if (output) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct TempDir
{
    TempDir()
    {
        char pattern[] = "/tmp/dorvane-export-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir()
    {
        if (!std::getenv("KEEPTMP"))
            fs::remove_all(path);
    }
    std::string operator/(const std::string &name) const { return path + "/" + name; }
    std::string path;
};

void WriteFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A capture whose packets hold the given bytes, written by text2pcap; extra selects the
// encapsulation (link type 147 by default, or dummy UDP or TCP headers).
void WriteCapture(const std::string &path, const std::vector<std::string> &packets,
                  const std::string &extra = "-l 147")
{
    std::string dump;
    for (const std::string &packet : packets) {
        char line[16];
        dump += "0000 ";
        for (const char byte : packet) {
            std::snprintf(line, sizeof line, " %02x", static_cast<unsigned char>(byte));
            dump += line;
        }
        dump += "\n\n";
    }
    WriteFile(path + ".txt", dump);
    ASSERT_EQ(RunCommand("text2pcap -q -n " + extra + " " + path + ".txt " + path + " 2>/dev/null"), 0);
}

// One line per packet, one tab-separated column per field; repeated fields comma-separated.
std::vector<std::vector<std::string>> TsharkFields(const std::string &script, const std::string &capture,
                                                   const std::vector<std::string> &fields)
{
    std::string command
        = "tshark -n -X lua_script:" + script + " -r " + capture + " -T fields -E separator=/t";
    for (const std::string &field : fields) {
        command += " -e " + field;
    }
    std::string output;
    EXPECT_EQ(RunCommand(command + " 2>/dev/null", &output), 0) << command;
    std::vector<std::vector<std::string>> rows;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> row;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');) {
            row.push_back(cell);
        }
        row.resize(fields.size());
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Split(const std::string &text)
{
    std::vector<std::string> parts;
    std::stringstream cells(text);
    for (std::string cell; std::getline(cells, cell, ',');) {
        parts.push_back(cell);
    }
    return parts;
}

class ExportTest : public ::testing::Test
{
protected:
    void SetUp() override { m_context.Initialize(); }
    Context m_context;
};

// A transmit field of each data type in each byte order, every one a Sequence so that the
// frames differ, then an Array and a Block.
struct TxDef
{
    const char *name;
    int typeId;
    Endianness endian;
    ValueGeneratorType generator;
    const char *params;
    double start; // the first frame's value, and how it steps from frame to frame (never
    double step;  // past the type's range in three frames)
};

const std::vector<TxDef> kEveryType = {
    {"s8 be", 1, BigEndian, Sequence, "-100,7", -100, 7},
    {"s8 le", 1, LittleEndian, Sequence, "0x7F,-1", 127, -1},
    {"s16 be", 2, BigEndian, Sequence, "-30000,1000", -30000, 1000},
    {"s16 le", 2, LittleEndian, Sequence, "1234,-2", 1234, -2},
    {"s32 be", 3, BigEndian, Sequence, "-123456789,1000", -123456789, 1000},
    {"s32 le", 3, LittleEndian, Sequence, "2000000000,3", 2000000000, 3},
    {"u8 be", 10, BigEndian, Sequence, "200,5", 200, 5},
    {"u8 le", 10, LittleEndian, Sequence, "0x10,1", 16, 1},
    {"u16 be", 11, BigEndian, Sequence, "0x1234,0x100", 0x1234, 0x100},
    {"u16 le", 11, LittleEndian, Sequence, "65000,10", 65000, 10},
    {"u32 be", 12, BigEndian, Sequence, "4000000000,1", 4000000000.0, 1},
    {"u32 le", 12, LittleEndian, Sequence, "0x01020304,0x10000", 0x01020304, 0x10000},
    {"f32 be", 20, BigEndian, Sequence, "-2.5,0.25", -2.5, 0.25},
    {"f32 le", 20, LittleEndian, Sequence, "1024.75,-1.5", 1024.75, -1.5},
    {"f64 be", 21, BigEndian, Sequence, "1234.5678,-0.125", 1234.5678, -0.125},
    {"f64 le", 21, LittleEndian, Sequence, "-1234567.890123,0.5", -1234567.890123, 0.5},
};

void AddTxField(TxProtocol &protocol, const TxDef &def)
{
    TxField *field = protocol.AddField(-1);
    field->SetName(def.name);
    field->SetTypeId(def.typeId);
    field->SetEndian(def.endian);
    field->GetValueMetaInfo(0)->SetValueGeneratorType(def.generator);
    field->GetValueMetaInfo(0)->SetParamList(def.params);
}

void FillEveryType(TxProtocol &protocol)
{
    for (const TxDef &def : kEveryType) {
        AddTxField(protocol, def);
    }
    AddTxField(protocol, {"samples", 11, BigEndian, Array, "1,2,0xFFFF", 0, 0});
    AddTxField(protocol, {"reserved", 2, LittleEndian, Block, "3,0xAB", 0, 0});
}

std::vector<std::string> BuildFrames(const TxProtocol &protocol, int count)
{
    ProtocolStream stream;
    EXPECT_TRUE(stream.Build(&protocol, 0));
    std::vector<std::string> frames;
    for (int i = 0; i < count; ++i) {
        stream.Update();
        frames.emplace_back(stream.GetData(), stream.GetDataSize());
    }
    return frames;
}

TEST_F(ExportTest, TsharkShowsEveryTransmitFieldAsBuilt)
{
    REQUIRE_PROGRAM("tshark", "tshark");
    REQUIRE_PROGRAM("text2pcap", "wireshark-common");
    TxProtocol protocol;
    FillEveryType(protocol);
    DissectorGenerator generator;
    generator.SetName("txall");
    std::string lua;
    ASSERT_TRUE(generator.Generate(&protocol, lua)) << generator.GetError();
    EXPECT_NE(lua.find("DissectorTable.get(\"wtap_encap\"):add(wtap_encaps.USER0, proto)"),
              std::string::npos);
    EXPECT_NE(lua.find("add_le(F[4]"), std::string::npos) << "little-endian fields are added with add_le";

    TempDir dir;
    WriteFile(dir / "txall.lua", lua);
    WriteCapture(dir / "tx.pcapng", BuildFrames(protocol, 3));
    std::vector<std::string> fields;
    for (const char *name :
         {"s8_be", "s8_le", "s16_be", "s16_le", "s32_be", "s32_le", "u8_be", "u8_le", "u16_be", "u16_le",
          "u32_be", "u32_le", "f32_be", "f32_le", "f64_be", "f64_le", "samples", "reserved"}) {
        fields.push_back(std::string("txall.") + name);
    }
    const auto rows = TsharkFields(dir / "txall.lua", dir / "tx.pcapng", fields);
    ASSERT_EQ(rows.size(), 3u);
    for (int frame = 0; frame < 3; ++frame) {
        for (std::size_t i = 0; i < kEveryType.size(); ++i) {
            const TxDef &def = kEveryType[i];
            const double want = def.start + frame * def.step;
            const double got = std::strtod(rows[frame][i].c_str(), nullptr);
            const double tolerance = def.typeId == 20 ? 1e-6 : (def.typeId == 21 ? 1e-14 : 0.0);
            EXPECT_LE(std::fabs(got - want), tolerance * std::fabs(want))
                << def.name << " in frame " << frame << ": tshark shows " << rows[frame][i];
        }
        EXPECT_EQ(rows[frame][16], "1,2,65535");
        std::string block = rows[frame][17];
        block.erase(std::remove(block.begin(), block.end(), ':'), block.end());
        EXPECT_EQ(block, "ab00ab00ab00");
    }
}

// Frames of a device: head AA 55, a scaled temperature, a pressure, a counter, two reserved
// bytes, a CRC_16_MODBUS over temperature to reserved bytes, tail 0D.
struct RxFixture
{
    RxFixture()
    {
        Add(10, "0xAA", RxValueMetaInfo::HeadFlag, LittleEndian, "head a");
        Add(10, "0x55", RxValueMetaInfo::HeadFlag, LittleEndian, "head b");
        Add(2, "0.1", RxValueMetaInfo::NoFlag, BigEndian, "temperature");
        Add(20, "", RxValueMetaInfo::NoFlag, LittleEndian, "pressure");
        Add(12, "", RxValueMetaInfo::NoFlag, LittleEndian, "counter");
        RxField *block = Add(10, "2", RxValueMetaInfo::NoFlag, LittleEndian, "reserved");
        block->GetValueMetaInfo()->SetValueGeneratorType(Block);
        Add(11, "", RxValueMetaInfo::NoFlag, LittleEndian, "crc");
        Add(1, "0x0D", RxValueMetaInfo::TailFlag, LittleEndian, "end");
        checksum.model = {"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0};
        checksum.field = 6;
        checksum.firstCoveredField = 2;
    }

    RxField *Add(int typeId, const char *params, RxValueMetaInfo::FieldFlag flag, Endianness endian,
                 const char *name)
    {
        RxField *field = protocol.AddField(-1);
        field->SetName(name);
        field->SetTypeId(typeId);
        field->SetEndian(endian);
        field->GetValueMetaInfo()->SetParamList(params);
        field->GetValueMetaInfo()->SetFlag(flag);
        return field;
    }

    static std::string Frame(short temperature, float pressure, unsigned counter, bool goodCrc)
    {
        std::string body;
        body += static_cast<char>(temperature >> 8);
        body += static_cast<char>(temperature & 0xFF);
        body.append(reinterpret_cast<const char *>(&pressure), 4);
        body.append(reinterpret_cast<const char *>(&counter), 4);
        body += std::string("\x00\x00", 2);
        const CrcParameters modbus{"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0};
        unsigned crc = ComputeCrc(modbus, reinterpret_cast<const unsigned char *>(body.data()), body.size());
        if (!goodCrc) {
            crc ^= 1;
        }
        return "\xAA\x55" + body + static_cast<char>(crc & 0xFF) + static_cast<char>(crc >> 8) + "\x0D";
    }

    RxProtocol protocol;
    FrameChecksum checksum;
};

TEST_F(ExportTest, ReceiveDissectorDecodesWhatTheParserDecodes)
{
    REQUIRE_PROGRAM("tshark", "tshark");
    REQUIRE_PROGRAM("text2pcap", "wireshark-common");
    RxFixture rx;
    const std::string stream = std::string("\x01\x02\x55", 3) + RxFixture::Frame(250, 1013.25f, 1, true)
                               + RxFixture::Frame(-42, -0.5f, 2, false)
                               + RxFixture::Frame(7, 3.0f, 70000, true);

    // What the workbench decodes from the stream.
    ProtocolParser parser;
    ASSERT_TRUE(parser.Build(&rx.protocol));
    std::vector<std::string> temperature, pressure, counter;
    for (std::size_t pos = 0;;) {
        const auto result = parser.Update(stream.data() + pos, static_cast<int>(stream.size() - pos), false);
        if (result.status != ProtocolParser::FrameDecoded) {
            break;
        }
        const auto &values = parser.GetFrameValues();
        temperature.push_back(std::to_string(values[0].value.GetShort()));
        pressure.push_back(std::to_string(values[1].value.GetFloat()));
        counter.push_back(std::to_string(values[2].value.GetUInt()));
        pos += result.frameEnd;
    }
    ASSERT_EQ(counter.size(), 3u);

    DissectorGenerator generator;
    generator.SetName("devsim");
    generator.SetTitle("Device simulator");
    generator.SetChecksum(rx.checksum);
    generator.SetPort(DissectorGenerator::Tcp, 5000);
    std::string lua;
    ASSERT_TRUE(generator.Generate(&rx.protocol, lua)) << generator.GetError();
    TempDir dir;
    WriteFile(dir / "devsim.lua", lua);

    // The same stream three ways: as link type 147 in two packets, over TCP port 5000 in segments
    // that cut frames and the head pattern apart, and in UDP datagrams found by the heuristic.
    const std::size_t cut = 3 + 17 + 17; // after garbage and two frames
    WriteCapture(dir / "user0.pcapng", {stream.substr(0, cut), stream.substr(cut)});
    WriteCapture(dir / "tcp.pcapng",
                 {stream.substr(0, 10), stream.substr(10, 27), stream.substr(37, 1), stream.substr(38)},
                 "-T 4000,5000");
    WriteCapture(dir / "udp.pcapng", {stream.substr(3, 17), stream.substr(cut)}, "-u 4000,6000");
    const std::vector<std::string> fields
        = {"devsim.temperature", "devsim.pressure", "devsim.counter", "devsim.checksum_status"};
    for (const char *capture : {"user0.pcapng", "tcp.pcapng"}) {
        std::vector<std::string> shown[4];
        for (const auto &row : TsharkFields(dir / "devsim.lua", dir / capture, fields)) {
            for (int f = 0; f < 4; ++f) {
                for (const std::string &value : Split(row[f])) {
                    shown[f].push_back(value);
                }
            }
        }
        ASSERT_EQ(shown[2], counter) << capture;
        EXPECT_EQ(shown[0], temperature) << capture;
        ASSERT_EQ(shown[1].size(), 3u) << capture;
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(std::stof(shown[1][i]), std::stof(pressure[i])) << capture;
        }
        EXPECT_EQ(shown[3], (std::vector<std::string>{"Good", "Bad", "Good"})) << capture;
    }
    const auto udp = TsharkFields(dir / "devsim.lua", dir / "udp.pcapng", {"devsim.counter"});
    ASSERT_EQ(udp.size(), 2u);
    EXPECT_EQ(udp[0][0], "1");
    EXPECT_EQ(udp[1][0], "70000");

    // Flags are shown as such, the coefficient is applied in the text.
    std::string verbose;
    RunCommand("tshark -n -X lua_script:" + (dir / "devsim.lua") + " -r " + (dir / "user0.pcapng")
                   + " -V 2>/dev/null",
               &verbose);
    EXPECT_NE(verbose.find("head a [head flag]: 0xaa"), std::string::npos) << verbose;
    EXPECT_NE(verbose.find("temperature: 250 [x 0.1 = 25]"), std::string::npos) << verbose;
    EXPECT_NE(verbose.find("Bytes outside a frame"), std::string::npos) << "leading garbage is shown";
}

TEST_F(ExportTest, HostileNamesNeitherBreakNorInjectGeneratedCode)
{
    REQUIRE_PROGRAM("tshark", "tshark");
    REQUIRE_PROGRAM("text2pcap", "wireshark-common");
    REQUIRE_PROGRAM("gcc", "gcc");
    const std::vector<std::string> names = {"\"]] os.exit()",
                                            "a\nos.exit(3) --",
                                            "\\",
                                            "]]--[[",
                                            "Temp",
                                            "temp",
                                            "",
                                            "123",
                                            "\xff\xfe ok",
                                            "*/ ?"
                                            "?/ /* \\"};
    TxProtocol protocol;
    for (const std::string &name : names) {
        protocol.AddField(-1)->SetName(name);
    }
    TempDir dir;
    DissectorGenerator dissector;
    dissector.SetName("evil\"]]");
    dissector.SetTitle("\"); os.exit(4) --\n");
    std::string lua;
    ASSERT_TRUE(dissector.Generate(&protocol, lua)) << dissector.GetError();
    WriteFile(dir / "evil.lua", lua);
    WriteCapture(dir / "evil.pcapng", BuildFrames(protocol, 1));
    // Every label reads as the name was written, with control characters as spaces and bytes
    // that are not UTF-8 as "?"; every abbreviation is unique.
    const std::map<std::string, std::string> expected = {{"evil.os_exit", "\"]] os.exit()"},
                                                         {"evil.a_os_exit_3", "a os.exit(3) --"},
                                                         {"evil.field3", "\\"},
                                                         {"evil.field4", "]]--[["},
                                                         {"evil.temp", "Temp"},
                                                         {"evil.temp_2", "temp"},
                                                         {"evil.field7", "Field 7"},
                                                         {"evil.f123", "123"},
                                                         {"evil.ok", "?? ok"}};
    std::string command = "tshark -n -X lua_script:" + (dir / "evil.lua") + " -r " + (dir / "evil.pcapng");
    std::string verbose, fields = " -T fields";
    ASSERT_EQ(RunCommand(command + " -V 2>&1", &verbose), 0) << verbose;
    EXPECT_EQ(verbose.find("Lua: Error"), std::string::npos) << verbose;
    for (const auto &[abbrev, label] : expected) {
        EXPECT_NE(verbose.find("\n    " + label + ": 0\n"), std::string::npos) << label << " in\n" << verbose;
        fields += " -e " + abbrev;
    }
    std::string values;
    ASSERT_EQ(RunCommand(command + fields + " 2>&1", &values), 0) << values;
    EXPECT_NE(values.find("0\t0\t0\t0\t0\t0\t0\t0\t0"), std::string::npos) << values;

    CHeaderGenerator header;
    header.SetName("evil */");
    std::string c;
    ASSERT_TRUE(header.Generate(&protocol, c)) << header.GetError();
    WriteFile(dir / "evil.h", c);
    WriteFile(dir / "evil.c",
              "#include \"evil.h\"\nint main(void) { struct evil_frame f; evil_frame_init(&f);\n"
              "evil_set_temp_2(&f, 5); return evil_get_temp_2(&f) == 5 ? 0 : 1; }\n");
    std::string diagnostics;
    ASSERT_EQ(RunCommand("gcc -std=c11 -Wall -Wextra -Werror -pedantic -o " + (dir / "evil") + " "
                             + (dir / "evil.c") + " 2>&1",
                         &diagnostics),
              0)
        << diagnostics;
    EXPECT_EQ(RunCommand(dir / "evil"), 0);
}

// A literal that gcc reads back as exactly the value: C99 hex floats for floating types.
std::string CLiteral(int typeId, double value)
{
    char text[64];
    if (typeId == 20) {
        std::snprintf(text, sizeof text, "%af", value);
    } else if (typeId == 21) {
        std::snprintf(text, sizeof text, "%a", value);
    } else if (typeId == 12) {
        std::snprintf(text, sizeof text, "%lluu", static_cast<unsigned long long>(value));
    } else {
        std::snprintf(text, sizeof text, "(%lld)", static_cast<long long>(value));
    }
    return text;
}

TEST_F(ExportTest, CHeaderReadsBackFramesByteForByte)
{
    REQUIRE_PROGRAM("gcc", "gcc");
    TxProtocol protocol;
    FillEveryType(protocol);
    CHeaderGenerator generator;
    generator.SetName("txall");
    std::string header;
    ASSERT_TRUE(generator.Generate(&protocol, header)) << generator.GetError();
    EXPECT_NE(header.find("#pragma pack(push, 1)"), std::string::npos);

    const std::string frame = BuildFrames(protocol, 2)[1];
    std::ostringstream program;
    program << "#include <stdio.h>\n#include \"txall.h\"\n"
            << "static const uint8_t built[] = {";
    for (const char byte : frame) {
        program << static_cast<int>(static_cast<unsigned char>(byte)) << ",";
    }
    program << "};\nint main(void)\n{\n    int bad = 0;\n"
            << "    struct txall_frame in, out;\n"
            << "    if (sizeof built != TXALL_FRAME_SIZE) return 2;\n"
            << "    memcpy(&in, built, sizeof in);\n"
            << "    txall_frame_init(&out);\n";
    for (const TxDef &def : kEveryType) {
        std::string member = def.name;
        member[member.find(' ')] = '_';
        const std::string want = CLiteral(def.typeId, def.start + def.step);
        program << "    if (txall_get_" << member << "(&in) != " << want << ") { bad = 1; puts(\"" << member
                << "\"); }\n"
                << "    txall_set_" << member << "(&out, txall_get_" << member << "(&in));\n";
    }
    program << "    for (size_t i = 0; i < TXALL_SAMPLES_COUNT; ++i)\n"
            << "        txall_set_samples(&out, i, txall_get_samples(&in, i));\n"
            << "    if (txall_get_samples(&in, 2) != 0xFFFF) { bad = 1; puts(\"samples\"); }\n"
            << "    memcpy(out.reserved, in.reserved, TXALL_RESERVED_BYTES);\n"
            << "    if (memcmp(&out, built, sizeof out) != 0) { bad = 1; puts(\"written frame differs\"); }\n"
            << "    return bad;\n}\n";
    TempDir dir;
    WriteFile(dir / "txall.h", header);
    WriteFile(dir / "roundtrip.c", program.str());
    std::string output;
    ASSERT_EQ(RunCommand("gcc -std=c11 -Wall -Wextra -Werror -pedantic -o " + (dir / "roundtrip") + " "
                             + (dir / "roundtrip.c") + " 2>&1",
                         &output),
              0)
        << output;
    EXPECT_EQ(RunCommand(dir / "roundtrip", &output), 0) << "fields read back wrong: " << output;

    // A receive protocol: flags in place, a checksum that covers only part of the frame.
    RxFixture rx;
    generator.SetName("devsim");
    generator.SetChecksum(rx.checksum);
    ASSERT_TRUE(generator.Generate(&rx.protocol, header)) << generator.GetError();
    WriteFile(dir / "devsim.h", header);
    const std::string good = RxFixture::Frame(-42, 1013.25f, 70000, true);
    const std::string bad = RxFixture::Frame(-42, 1013.25f, 70000, false);
    std::ostringstream rxProgram;
    rxProgram << "#include \"devsim.h\"\nint main(void)\n{\n    struct devsim_frame g, b, w;\n";
    for (const auto &[name, bytes] : {std::make_pair("g", good), std::make_pair("b", bad)}) {
        rxProgram << "    memcpy(&" << name << ", \"";
        for (const char byte : bytes) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", static_cast<unsigned char>(byte));
            rxProgram << escape;
        }
        rxProgram << "\", DEVSIM_FRAME_SIZE);\n";
    }
    rxProgram << "    if (devsim_get_temperature(&g) != -42 || devsim_get_pressure(&g) != 1013.25f\n"
              << "        || devsim_get_counter(&g) != 70000u) return 1;\n"
              << "    if (!devsim_checksum_ok(&g) || devsim_checksum_ok(&b)) return 2;\n"
              << "    devsim_frame_init(&w);\n"
              << "    devsim_set_temperature(&w, -42);\n"
              << "    devsim_set_pressure(&w, 1013.25f);\n"
              << "    devsim_set_counter(&w, 70000u);\n"
              << "    devsim_update_checksum(&w);\n"
              << "    return memcmp(&w, &g, sizeof w) == 0 && devsim_crc_check() ? 0 : 3;\n}\n";
    WriteFile(dir / "rx.c", rxProgram.str());
    ASSERT_EQ(RunCommand("gcc -std=c11 -Wall -Wextra -Werror -pedantic -o " + (dir / "rx") + " "
                             + (dir / "rx.c") + " 2>&1",
                         &output),
              0)
        << output;
    EXPECT_EQ(RunCommand(dir / "rx"), 0) << "1: values, 2: checksum check, 3: written frame";
}

TEST_F(ExportTest, CrcRoutinesInCAndLuaGiveTheCatalogueCheckValues)
{
    REQUIRE_PROGRAM("gcc", "gcc");
    struct Catalogued
    {
        CrcParameters model;
        unsigned check;
        int typeId;
    };
    const std::vector<Catalogued> models = {
        {{"CRC_8", 8, 0x07, 0x00, false, false, 0x00}, 0xF4, 10},
        {{"CRC_16_ARC", 16, 0x8005, 0x0000, true, true, 0x0000}, 0xBB3D, 11},
        {{"CRC_16_XMODEM", 16, 0x1021, 0x0000, false, false, 0x0000}, 0x31C3, 2},
        {{"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0x0000}, 0x4B37, 11},
        {{"CRC_32", 32, 0x04C11DB7, 0xFFFFFFFF, true, true, 0xFFFFFFFF}, 0xCBF43926, 12},
        {{"CRC_32_POSIX", 32, 0x04C11DB7, 0x00000000, false, false, 0xFFFFFFFF}, 0x765E7680, 3},
    };
    TempDir dir;
    std::ostringstream program;
    program << "#include <stdio.h>\n";
    for (std::size_t i = 0; i < models.size(); ++i) {
        EXPECT_EQ(CrcCheckValue(models[i].model), models[i].check) << models[i].model.name;
        TxProtocol protocol;
        TxField *data = protocol.AddField(-1);
        data->SetTypeId(12);
        data->GetValueMetaInfo(0)->SetParamList("0x31323334");
        TxField *crc = protocol.AddField(-1);
        crc->SetName("crc");
        crc->SetTypeId(models[i].typeId);
        crc->SetEndian(i % 2 ? BigEndian : LittleEndian);
        CHeaderGenerator generator;
        generator.SetName("m" + std::to_string(i));
        generator.SetChecksum({models[i].model, 1, 0});
        std::string header;
        ASSERT_TRUE(generator.Generate(&protocol, header)) << generator.GetError();
        EXPECT_NE(header.find("\"123456789\""), std::string::npos) << "the check value is named in a comment";
        WriteFile(dir / ("m" + std::to_string(i) + ".h"), header);
        program << "#include \"m" << i << ".h\"\n";

        // The dissector's routine, in Lua, checks the same frames.
        if (HaveProgram("tshark") && HaveProgram("text2pcap")) {
            const unsigned char bytes[] = {0x34, 0x33, 0x32, 0x31};
            crc->GetValueMetaInfo(0)->SetParamList(std::to_string(ComputeCrc(models[i].model, bytes, 4)));
            std::string frame = BuildFrames(protocol, 1)[0];
            std::string spoilt = frame;
            spoilt[0] ^= 0x40;
            WriteCapture(dir / "crc.pcapng", {frame, spoilt});
            DissectorGenerator dissector;
            dissector.SetName("m" + std::to_string(i));
            dissector.SetChecksum({models[i].model, 1, 0});
            std::string lua;
            ASSERT_TRUE(dissector.Generate(&protocol, lua)) << dissector.GetError();
            WriteFile(dir / "crc.lua", lua);
            const auto rows = TsharkFields(dir / "crc.lua", dir / "crc.pcapng",
                                           {"m" + std::to_string(i) + ".checksum_status"});
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(rows[0][0], "Good") << models[i].model.name;
            EXPECT_EQ(rows[1][0], "Bad") << models[i].model.name;
        }
    }
    program
        << "int main(void)\n{\n    static const uint8_t text[] = {'1','2','3','4','5','6','7','8','9'};\n";
    for (std::size_t i = 0; i < models.size(); ++i) {
        const std::string p = "m" + std::to_string(i);
        program << "    { struct " << p << "_frame f; " << p << "_frame_init(&f); " << p
                << "_set_field1(&f, 7);\n"
                << "      " << p << "_update_checksum(&f);\n"
                << "      int good = " << p << "_checksum_ok(&f);\n"
                << "      f.field1[0]++;\n"
                << "      printf(\"%d %lx %d %d\\n\", " << p << "_crc_check(), (unsigned long)" << p
                << "_crc(text, 9), good, " << p << "_checksum_ok(&f)); }\n";
    }
    program << "    return 0;\n}\n";
    WriteFile(dir / "crc.c", program.str());
    std::string output;
    ASSERT_EQ(RunCommand("gcc -std=c11 -Wall -Wextra -Werror -pedantic -o " + (dir / "crc") + " "
                             + (dir / "crc.c") + " 2>&1",
                         &output),
              0)
        << output;
    ASSERT_EQ(RunCommand(dir / "crc", &output), 0);
    std::stringstream lines(output);
    for (const Catalogued &entry : models) {
        int selfTest = 0, goodFrame = 0, spoiltFrame = 1;
        unsigned long value = 0;
        lines >> selfTest >> std::hex >> value >> std::dec >> goodFrame >> spoiltFrame;
        EXPECT_EQ(selfTest, 1) << entry.model.name;
        EXPECT_EQ(value, entry.check) << entry.model.name;
        EXPECT_EQ(goodFrame, 1) << entry.model.name << ": a frame with its checksum updated checks";
        EXPECT_EQ(spoiltFrame, 0) << entry.model.name << ": a changed byte is caught";
    }

    // A checksum field must be as wide as the model.
    TxProtocol narrow;
    narrow.AddField(-1);
    narrow.AddField(-1)->SetTypeId(10);
    CHeaderGenerator generator;
    generator.SetChecksum({models[3].model, 1, 0});
    std::string header;
    EXPECT_FALSE(generator.Generate(&narrow, header));
    EXPECT_NE(generator.GetError().find("16-bit integer"), std::string::npos) << generator.GetError();
}

} // namespace

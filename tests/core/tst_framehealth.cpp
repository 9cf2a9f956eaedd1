// Field roles in receive-protocol documents, their checks on frames, and the
// pairing of requests with replies.
#include <dorvane/Core.h>
#include <dorvane/framerolecheck.h>
#include <dorvane/protocolparser.h>
#include <dorvane/replypairing.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const CrcParameters kModbus{"CRC_16_MODBUS", 16, 0x8005, 0xFFFF, true, true, 0x0000};

void AddField(RxProtocol &p, const char *name, int tid, const char *params, RxValueMetaInfo::FieldFlag flag,
              int endian = 1)
{
    RxField *f = p.AddField(-1);
    f->SetName(name);
    f->SetTypeId(tid);
    f->SetEndian(static_cast<Endianness>(endian));
    f->GetValueMetaInfo()->SetValueGeneratorType(Fixed);
    f->GetValueMetaInfo()->SetParamList(params);
    f->GetValueMetaInfo()->SetFlag(flag);
}

// AA 55 | counter u16 LE | value u8 | CRC-16/MODBUS u16 LE over counter and value | 0D
void MakeProtocol(RxProtocol &p)
{
    AddField(p, "head 1", 10, "0xAA", RxValueMetaInfo::HeadFlag);
    AddField(p, "head 2", 10, "0x55", RxValueMetaInfo::HeadFlag);
    AddField(p, "counter", 11, "1", RxValueMetaInfo::NoFlag);
    AddField(p, "value", 10, "1", RxValueMetaInfo::NoFlag);
    AddField(p, "crc", 11, "1", RxValueMetaInfo::NoFlag);
    AddField(p, "tail", 10, "0x0D", RxValueMetaInfo::TailFlag);
    RxFrameRoles roles;
    roles.hasChecksum = true;
    roles.checksum.model = kModbus;
    roles.checksum.field = 4;
    roles.checksum.firstCoveredField = 2;
    roles.sequenceField = 2;
    p.SetRoles(roles);
}

std::string Frame(unsigned counter, unsigned char value, bool corrupt = false)
{
    std::string f = {'\xAA', '\x55', char(counter & 0xFF), char(counter >> 8), char(value)};
    unsigned crc = ComputeCrc(kModbus, reinterpret_cast<const unsigned char *>(f.data()) + 2, 3);
    if (corrupt)
        crc ^= 0x0100;
    f += char(crc & 0xFF);
    f += char(crc >> 8);
    f += '\x0D';
    return f;
}

class FrameHealth : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dorvane-framehealth-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_ctx.Initialize();
    }
    void TearDown() override
    {
        m_ctx.Uninitialize();
        fs::remove_all(m_dir);
    }
    std::string Path(const char *name) const { return (m_dir / name).string(); }
    std::string Write(const char *name, const std::string &text) const
    {
        std::ofstream(Path(name)) << text;
        return Path(name);
    }

    fs::path m_dir;
    Context m_ctx;
};

TEST_F(FrameHealth, RolesSurviveSaveAndLoad)
{
    RxProtocol saved;
    MakeProtocol(saved);
    ASSERT_TRUE(saved.Save(Path("roles.dvprx"), &m_ctx));

    RxProtocol loaded;
    ASSERT_TRUE(loaded.Load(Path("roles.dvprx"), &m_ctx));
    EXPECT_EQ(loaded.GetLoadWarning(), "");
    EXPECT_EQ(loaded.GetFieldCount(), 6);
    const RxFrameRoles &r = loaded.GetRoles();
    ASSERT_TRUE(r.hasChecksum);
    EXPECT_EQ(r.checksum.model.name, "CRC_16_MODBUS");
    EXPECT_EQ(r.checksum.model.width, 16);
    EXPECT_EQ(r.checksum.model.poly, 0x8005u);
    EXPECT_EQ(r.checksum.model.init, 0xFFFFu);
    EXPECT_TRUE(r.checksum.model.refin);
    EXPECT_TRUE(r.checksum.model.refout);
    EXPECT_EQ(r.checksum.model.xorout, 0u);
    EXPECT_EQ(r.checksum.field, 4);
    EXPECT_EQ(r.checksum.firstCoveredField, 2);
    EXPECT_EQ(r.sequenceField, 2);

    // The roles come after the four keys every reader knows, which stay as they were.
    std::ifstream in(Path("roles.dvprx"));
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    EXPECT_EQ(doc.rfind("fileFormat: dorvane rx-protocol file\n", 0), 0u);
    EXPECT_LT(doc.find("\nfields:"), doc.find("\nroles:"));

    // Without the roles map the same fields load, and no roles.
    const std::string old = Write("old.dvprx", doc.substr(0, doc.find("\nroles:") + 1));
    RxProtocol plain;
    ASSERT_TRUE(plain.Load(old, &m_ctx));
    EXPECT_EQ(plain.GetFieldCount(), 6);
    EXPECT_FALSE(plain.GetRoles().hasChecksum);
    EXPECT_EQ(plain.GetRoles().sequenceField, -1);
    // A protocol reused for an old file keeps none of the previous roles.
    ASSERT_TRUE(loaded.Load(old, &m_ctx));
    EXPECT_FALSE(loaded.GetRoles().hasChecksum);
}

TEST_F(FrameHealth, BadRolesAreDroppedWithAReasonAndTheFieldsStay)
{
    RxProtocol saved;
    MakeProtocol(saved);
    ASSERT_TRUE(saved.Save(Path("roles.dvprx"), &m_ctx));
    std::ifstream in(Path("roles.dvprx"));
    std::stringstream text;
    text << in.rdbuf();
    const std::string doc = text.str();
    const std::string fields = doc.substr(0, doc.find("\nroles:") + 1);

    struct Case
    {
        const char *roles;
        bool checksumKept;
        int sequence;
        const char *reason;
    };
    const std::vector<Case> cases = {
        // field out of range; counter kept
        {"roles:\n  checksum: {model: CRC_8, width: 8, poly: 7, init: 0, refin: false, refout: false, "
         "xorout: 0, field: 9, firstCoveredField: 2}\n  sequenceField: 2\n",
         false, 2, "not one of the 6 fields"},
        // a 32-bit model on a 16-bit field
        {"roles:\n  checksum: {model: CRC_32, width: 32, poly: 0x04C11DB7, init: 0xFFFFFFFF, refin: true, "
         "refout: true, xorout: 0xFFFFFFFF, field: 4, firstCoveredField: 2}\n",
         false, -1, "cannot hold a 32-bit checksum"},
        {"roles:\n  sequenceField: -7\n", true, -1, "counter field"},
        {"roles:\n  sequenceField: [1, 2]\n", false, -1, "dropped"},
        {"roles: 12\n", false, -1, "not a map"},
        {"roles:\n  checksum: {model: CRC_8}\n", false, -1, "no \"width\""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.roles);
        RxProtocol loaded;
        ASSERT_TRUE(loaded.Load(Write("bad.dvprx", fields + c.roles), &m_ctx));
        EXPECT_EQ(loaded.GetFieldCount(), 6);
        EXPECT_NE(loaded.GetLoadWarning().find(c.reason), std::string::npos) << loaded.GetLoadWarning();
        EXPECT_EQ(loaded.GetRoles().sequenceField, c.sequence);
        EXPECT_FALSE(loaded.GetRoles().hasChecksum && !c.checksumKept);
    }
}

TEST_F(FrameHealth, ChecksumFailuresAndCounterGapsAreCountedExactly)
{
    RxProtocol protocol;
    MakeProtocol(protocol);
    ProtocolParser parser;
    ASSERT_TRUE(parser.Build(&protocol));
    FrameRoleCheck check;
    std::string error;
    ASSERT_TRUE(check.Build(&protocol, &error)) << error;

    // Counters 65534, 65535, 0 wrap without a gap; 3 and 4 are missing (2);
    // 5 comes twice (1 repeat); two frames are corrupted and not counted in the sequence.
    std::string stream;
    for (unsigned counter : {65534u, 65535u, 0u, 1u, 2u, 5u, 5u, 6u})
        stream += Frame(counter, 0x42);
    stream += Frame(7, 0x42, true);
    stream += "\x01\x02";
    stream += Frame(8, 0x42);
    stream += Frame(9, 0x43, true);
    stream += Frame(10, 0x44);

    int good = 0;
    int offset = 0;
    while (offset < int(stream.size())) {
        const ProtocolParser::PRResult r
            = parser.Update(stream.data() + offset, int(stream.size()) - offset, false);
        if (r.status != ProtocolParser::FrameDecoded)
            break;
        const auto *frame = reinterpret_cast<const unsigned char *>(stream.data() + offset + r.headOffset);
        good += check.Check(frame, std::size_t(r.frameEnd - r.headOffset)) ? 1 : 0;
        offset += r.frameEnd;
    }
    EXPECT_EQ(check.GetCounts().frames, 12u);
    EXPECT_EQ(good, 10);
    EXPECT_EQ(check.GetCounts().checksumFailures, 2u);
    // 2 (3, 4) + 1 (7, corrupted) + 1 (9, corrupted)
    EXPECT_EQ(check.GetCounts().sequenceGaps, 4u);
    EXPECT_EQ(check.GetCounts().sequenceRepeats, 1u);

    // A big-endian CRC field reads its bytes the other way round.
    protocol.GetField(4)->SetEndian(BigEndian);
    ASSERT_TRUE(check.Build(&protocol));
    const std::string f = Frame(1, 2);
    EXPECT_FALSE(check.Check(reinterpret_cast<const unsigned char *>(f.data()), f.size()));
}

TEST(ReplyPairing, EachRequestTakesTheFirstReplyWithinItsWindow)
{
    ReplyPairing pairing(50000); // 50 ms
    // A request every 100 ms into a device that answers after 20 ms, ten replies lost.
    for (int i = 0; i < 100; ++i) {
        pairing.Request(i * 100000);
        if (i % 10 != 3) {
            EXPECT_TRUE(pairing.Reply(i * 100000 + 20000 + (i % 2) * 10)) << i;
        }
    }
    pairing.Expire(100 * 100000);
    EXPECT_EQ(pairing.GetRequests(), 100u);
    EXPECT_EQ(pairing.GetMissing(), 10u);
    EXPECT_EQ(pairing.GetUnpaired(), 0u);
    const SampleStats::Summary s = pairing.RoundTrips().summary();
    EXPECT_EQ(s.count, 90u);
    EXPECT_EQ(s.min, 20000);
    EXPECT_EQ(s.max, 20010);
    EXPECT_EQ(s.p50, 20000);

    pairing.Reset();
    // A reply after its window answers nothing; the request is missing.
    pairing.Request(0);
    EXPECT_FALSE(pairing.Reply(60000));
    EXPECT_EQ(pairing.GetMissing(), 1u);
    EXPECT_EQ(pairing.GetUnpaired(), 1u);
    // Two writes before a reply: the first went unanswered, the reply is the second's.
    pairing.Request(100000);
    pairing.Request(101000);
    EXPECT_TRUE(pairing.Reply(121000));
    EXPECT_EQ(pairing.GetMissing(), 2u);
    EXPECT_EQ(pairing.RoundTrips().summary().max, 20000);
    // A run that ends while a request waits leaves it missing.
    pairing.Request(200000);
    pairing.Finish();
    EXPECT_EQ(pairing.GetMissing(), 3u);
}

} // namespace

// Saving and loading transmit- and receive-protocol documents on real files.
#include <dorvane/Core.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every attribute that a document stores, one line per field, for comparing protocols.
std::string Describe(const TxProtocol &protocol)
{
    std::ostringstream out;
    out << "values " << protocol.GetValueCountPerField() << "\n";
    for (int i = 0; i < protocol.GetFieldCount(); ++i) {
        const TxField *field = protocol.GetField(i);
        out << '[' << field->GetName() << "] " << field->GetTypeId() << ' ' << field->GetEndian() << ' '
            << field->IsEnabled();
        for (int column = 0; column < field->GetValueMetaInfoCount(); ++column) {
            const ValueMetaInfo *value = field->GetValueMetaInfo(column);
            out << " | " << value->GetValueGeneratorType() << " [" << value->GetParamList() << ']';
        }
        out << "\n";
    }
    return out.str();
}

std::string Describe(const RxProtocol &protocol)
{
    std::ostringstream out;
    for (int i = 0; i < protocol.GetFieldCount(); ++i) {
        const RxField *field = protocol.GetField(i);
        const RxValueMetaInfo *value = field->GetValueMetaInfo();
        out << '[' << field->GetName() << "] " << field->GetTypeId() << ' ' << field->GetEndian() << ' '
            << field->IsEnabled() << " | " << value->GetValueGeneratorType() << " [" << value->GetParamList()
            << "] " << value->GetGraphId() << ' ' << value->GetFormId() << ' ' << value->GetFlag() << ' '
            << value->GetCoefficient() << "\n";
    }
    return out.str();
}

class ProtocolFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dorvane-protocolfiles-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_ctx.Initialize();
    }

    void TearDown() override
    {
        std::error_code error;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_dir, error);
    }

    std::string PathOf(const std::string &name) const { return (m_dir / name).string(); }

    std::string Write(const std::string &name, const std::string &text) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << text;
        return PathOf(name);
    }

    static std::string Read(const std::string &path)
    {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }

    // Every document is refused; the label names the case that was not.
    template<typename Protocol, std::size_t N>
    void ExpectRefused(const std::pair<const char *, std::string> (&cases)[N], const char *fileName)
    {
        for (const auto &entry : cases) {
            Protocol protocol;
            EXPECT_FALSE(protocol.Load(Write(fileName, entry.second), &m_ctx)) << entry.first;
        }
    }

    long FileCount() const { return std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()); }

    // Three value columns and fields that differ in every attribute.
    static void FillTx(TxProtocol &protocol)
    {
        protocol.AppendValueColumn();
        protocol.AppendValueColumn();
        struct FieldDef
        {
            const char *name;
            int typeId;
            Endianness endian;
            bool enabled;
            ValueGeneratorType generators[3];
            const char *params[3];
        };
        const FieldDef defs[] = {
            {"head", 10, LittleEndian, true, {Fixed, Fixed, Fixed}, {"0xAA", "0x55", "0x7E"}},
            {"counter: one", 11, BigEndian, false, {Sequence, Random, Scatter}, {"0,1,9", "1,9", "1, 2, 3"}},
            {"", 20, BigEndian, true, {Sin, Step, DateTime}, {"1000,-10,10", "100,1,2,10", "\"hh:mm:ss\""}},
            {"- #1", 1, LittleEndian, true, {Array, Block, Fixed}, {"0x[12 34]", "4,0xFF", "\"A\\\"B\""}},
            {"null", 21, LittleEndian, true, {Fixed, Fixed, Fixed}, {"", "3.5", "true"}},
        };
        for (const FieldDef &def : defs) {
            TxField *field = protocol.AddField(-1);
            field->SetName(def.name);
            field->SetTypeId(def.typeId);
            field->SetEndian(def.endian);
            field->SetEnabled(def.enabled);
            for (int column = 0; column < 3; ++column) {
                field->GetValueMetaInfo(column)->SetValueGeneratorType(def.generators[column]);
                field->GetValueMetaInfo(column)->SetParamList(def.params[column]);
            }
        }
    }

    fs::path m_dir;
    Context m_ctx;
};

const char kTwoFieldTx[] = "fileFormat: dorvane protocol file\n"
                           "fileVersion: 1.0\n"
                           "protocol:\n"
                           "  fields: 2\n"
                           "  values: 1\n"
                           "fields:\n"
                           "  - name: a\n"
                           "    tid: 10\n"
                           "    endian: 1\n"
                           "    enable: true\n"
                           "    meta:\n"
                           "      - generator: Fixed\n"
                           "        params: 0xAA\n"
                           "  - name: b\n"
                           "    tid: 3\n"
                           "    endian: 0\n"
                           "    enable: false\n"
                           "    meta:\n"
                           "      - generator: Sequence\n"
                           "        params: 0,1\n";

const char kOneFieldRx[] = "fileFormat: dorvane rx-protocol file\n"
                           "fileVersion: 1.0\n"
                           "protocol:\n"
                           "  fields: 1\n"
                           "fields:\n"
                           "  - name: head\n"
                           "    tid: 10\n"
                           "    endian: 1\n"
                           "    enable: true\n"
                           "    meta:\n"
                           "      - generator: Fixed\n"
                           "        params: 0xAA\n"
                           "        graph: -1\n"
                           "        form: -1\n"
                           "        flag: 1\n";

std::string Edited(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST_F(ProtocolFiles, TxDocumentIsWrittenKeyByKey)
{
    TxProtocol protocol;
    TxField *a = protocol.AddField(-1);
    a->SetName("a");
    a->SetTypeId(10);
    a->GetValueMetaInfo(0)->SetParamList("0xAA");
    TxField *b = protocol.AddField(-1);
    b->SetName("b");
    b->SetEndian(BigEndian);
    b->SetEnabled(false);
    b->GetValueMetaInfo(0)->SetValueGeneratorType(Sequence);
    b->GetValueMetaInfo(0)->SetParamList("0,1");
    ASSERT_TRUE(protocol.Save(PathOf("two.dvptc"), &m_ctx));
    EXPECT_EQ(Read(PathOf("two.dvptc")), kTwoFieldTx);
}

TEST_F(ProtocolFiles, TxRoundTripKeepsEveryAttribute)
{
    TxProtocol saved;
    FillTx(saved);
    ASSERT_TRUE(saved.Save(PathOf("all.dvptc"), &m_ctx));
    TxProtocol loaded;
    loaded.AddField(-1)->SetName("replaced by the load");
    ASSERT_TRUE(loaded.Load(PathOf("all.dvptc"), &m_ctx));
    EXPECT_EQ(loaded.GetValueCountPerField(), 3);
    EXPECT_EQ(Describe(loaded), Describe(saved));
}

TEST_F(ProtocolFiles, RxRoundTripKeepsAttributesButNotTheCoefficient)
{
    RxProtocol saved;
    const RxValueMetaInfo::FieldFlag flags[] = {RxValueMetaInfo::HeadFlag, RxValueMetaInfo::NoFlag,
                                                RxValueMetaInfo::NoFlag, RxValueMetaInfo::TailFlag};
    const char *params[] = {"0xAA, 0x55", "0.5", "4", "0x0D"};
    for (int i = 0; i < 4; ++i) {
        RxField *field = saved.AddField(-1);
        field->SetName(i == 1 ? "volts: dc" : "f" + std::to_string(i));
        field->SetTypeId(i == 1 ? 21 : 10);
        field->SetEndian(i == 1 ? BigEndian : LittleEndian);
        field->SetEnabled(i != 2);
        RxValueMetaInfo *value = field->GetValueMetaInfo();
        value->SetValueGeneratorType(i == 2 ? Block : Fixed);
        value->SetParamList(params[i]);
        value->SetGraphId(i - 1);
        value->SetFormId(10 * i);
        value->SetFlag(flags[i]);
    }
    // A new field's empty parameter text must come back empty, not as a null.
    saved.AddField(-1);
    ASSERT_TRUE(saved.Save(PathOf("rx.yaml"), &m_ctx));
    EXPECT_EQ(Read(PathOf("rx.yaml"))
                  .rfind("fileFormat: dorvane rx-protocol file\nfileVersion: 1.0\n"
                         "protocol:\n  fields: 5\nfields:\n  - name: f0\n",
                         0),
              0u);

    const std::string expected = Describe(saved);
    saved.GetField(1)->GetValueMetaInfo()->SetCoefficient(2.5f);
    ASSERT_TRUE(saved.Save(PathOf("rx.yaml"), &m_ctx));
    RxProtocol loaded;
    ASSERT_TRUE(loaded.Load(PathOf("rx.yaml"), &m_ctx));
    EXPECT_EQ(Describe(loaded), expected);
}

TEST_F(ProtocolFiles, TextBytesSurviveWhateverTheirEncoding)
{
    // Texts arrive in the local 8-bit encoding: Latin-1, broken or overlong UTF-8 and
    // noncharacters come back byte for byte, also where the text has to be quoted.
    const std::string texts[] = {
        "Temp\xE9rature: \x01",
        "\xFF\xFE",
        "\xC0\x80 \xED\xA0\x80 \xEF\xBF\xBE \xF4\x90\x80\x80",
        "\xF4\x8F\xB8\x80 marker-like \xF4\x8F\xBB\xBF",
        "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC2\x85 \xEF\xBB\xBF",
        std::string("nul\0inside\n\"quoted\"\\", 20),
    };
    TxProtocol tx;
    RxProtocol rx;
    for (const std::string &text : texts) {
        tx.AddField(-1)->SetName(text);
        tx.GetField(tx.GetFieldCount() - 1)->GetValueMetaInfo(0)->SetParamList(text);
        rx.AddField(-1)->SetName(text);
        rx.GetField(rx.GetFieldCount() - 1)->GetValueMetaInfo()->SetParamList(text);
    }
    ASSERT_TRUE(tx.Save(PathOf("texts.dvptc"), &m_ctx));
    ASSERT_TRUE(rx.Save(PathOf("texts.yaml"), &m_ctx));
    TxProtocol txLoaded;
    RxProtocol rxLoaded;
    ASSERT_TRUE(txLoaded.Load(PathOf("texts.dvptc"), &m_ctx));
    ASSERT_TRUE(rxLoaded.Load(PathOf("texts.yaml"), &m_ctx));
    EXPECT_EQ(Describe(txLoaded), Describe(tx));
    EXPECT_EQ(Describe(rxLoaded), Describe(rx));
}

TEST_F(ProtocolFiles, RxLaterMetaEntryOverwritesEarlier)
{
    const std::string text
        = std::string(kOneFieldRx) + "      - {generator: Block, params: 8, graph: 4, form: 5, flag: 0}\n";
    RxProtocol protocol;
    ASSERT_TRUE(protocol.Load(Write("two-meta.yaml", text), &m_ctx));
    ASSERT_EQ(protocol.GetFieldCount(), 1);
    EXPECT_EQ(Describe(protocol), "[head] 10 1 1 | 5 [8] 4 5 0 1\n");
}

TEST_F(ProtocolFiles, TitleMustMatchExactlyAndVersionIsIgnored)
{
    TxProtocol tx;
    tx.AddField(-1)->SetName("kept");
    RxProtocol rx;
    rx.AddField(-1)->SetName("kept");
    EXPECT_FALSE(tx.Load(Write("rx.yaml", kOneFieldRx), &m_ctx));
    EXPECT_FALSE(rx.Load(Write("tx.dvptc", kTwoFieldTx), &m_ctx));
    EXPECT_FALSE(tx.Load(Write("case.dvptc", Edited(kTwoFieldTx, "protocol file", "Protocol file")), &m_ctx));
    // A refused title is found before anything is replaced.
    EXPECT_EQ(tx.GetField(0)->GetName(), "kept");
    EXPECT_EQ(rx.GetField(0)->GetName(), "kept");

    EXPECT_TRUE(
        tx.Load(Write("v.dvptc", Edited(kTwoFieldTx, "fileVersion: 1.0", "fileVersion: draft 7")), &m_ctx));
    EXPECT_TRUE(rx.Load(Write("v.yaml", Edited(kOneFieldRx, "fileVersion: 1.0", "fileVersion: 0")), &m_ctx));
}

TEST_F(ProtocolFiles, LoadRefusesIncompleteDocuments)
{
    const std::pair<const char *, std::string> txCases[] = {
        {"no fileFormat", Edited(kTwoFieldTx, "fileFormat: dorvane protocol file\n", "")},
        {"null fileVersion", Edited(kTwoFieldTx, "fileVersion: 1.0", "fileVersion: ~")},
        {"no protocol", Edited(kTwoFieldTx, "protocol:\n  fields: 2\n  values: 1\n", "")},
        {"no values", Edited(kTwoFieldTx, "  values: 1\n", "")},
        {"values not a number", Edited(kTwoFieldTx, "values: 1", "values: one")},
        {"no columns", Edited(kTwoFieldTx, "values: 1", "values: 0")},
        {"negative columns", Edited(kTwoFieldTx, "values: 1", "values: -3")},
        {"too many columns", Edited(kTwoFieldTx, "values: 1", "values: 99999999999999999999")},
        {"protocol is a scalar",
         Edited(kTwoFieldTx, "protocol:\n  fields: 2\n  values: 1\n", "protocol: 3\n")},
        {"null field list", Edited(kTwoFieldTx, "fields:\n  - name: a", "fields: ~\nx:\n  - name: a")},
        {"tid out of range", Edited(kTwoFieldTx, "tid: 10", "tid: 4294967296")},
        {"enable not a boolean", Edited(kTwoFieldTx, "enable: true", "enable: 2")},
        {"name is a mapping", Edited(kTwoFieldTx, "name: a", "name: {x: 1}")},
        {"field is a scalar", Edited(kTwoFieldTx, "  - name: a\n", "  - 17\n  - name: a\n")},
        {"no params", Edited(kTwoFieldTx, "        params: 0xAA\n", "")},
    };
    ExpectRefused<TxProtocol>(txCases, "refused.dvptc");
    const std::pair<const char *, std::string> rxCases[] = {
        {"null protocol", Edited(kOneFieldRx, "protocol:\n  fields: 1\n", "protocol:\n")},
        {"no fields", Edited(kOneFieldRx, "fields:\n  - name", "other:\n  - name")},
        {"no endian", Edited(kOneFieldRx, "    endian: 1\n", "")},
        {"no graph", Edited(kOneFieldRx, "        graph: -1\n", "")},
        {"no flag", Edited(kOneFieldRx, "        flag: 1\n", "")},
        {"form out of range", Edited(kOneFieldRx, "form: -1", "form: -99999999999")},
    };
    ExpectRefused<RxProtocol>(rxCases, "refused.yaml");
}

TEST_F(ProtocolFiles, LoadedFieldsHoldExactlyTheProtocolColumns)
{
    // Written by hand: field a lacks its second column, field b has one past the count.
    std::string text = Edited(kTwoFieldTx, "values: 1", "values: 2");
    text += "      - generator: Random\n        params: 1,2\n"
            "      - generator: Fixed\n        params: 9\n";
    TxProtocol protocol;
    ASSERT_TRUE(protocol.Load(Write("columns.dvptc", text), &m_ctx));
    EXPECT_EQ(Describe(protocol), "values 2\n[a] 10 1 1 | 0 [0xAA] | 0 [0]\n[b] 3 0 0 | 2 [0,1] | 1 [1,2]\n");

    ProtocolStream stream;
    EXPECT_TRUE(stream.Build(&protocol, 1));
    ASSERT_EQ(protocol.AppendValueColumn(), 2);
    for (int i = 0; i < protocol.GetFieldCount(); ++i) {
        EXPECT_EQ(protocol.GetField(i)->GetValueMetaInfoCount(), 3);
    }
}

TEST_F(ProtocolFiles, FieldWithoutMetaKeepsEarlierFields)
{
    TxProtocol tx;
    EXPECT_FALSE(
        tx.Load(Write("tx.dvptc", Edited(kTwoFieldTx, "    meta:\n      - generator: Sequence", "    x:\n")),
                &m_ctx));
    EXPECT_EQ(Describe(tx), "values 1\n[a] 10 1 1 | 0 [0xAA]\n");

    RxProtocol rx;
    rx.AddField(-1);
    rx.AddField(-1);
    const std::string text
        = std::string(kOneFieldRx) + "  - {name: broken, tid: 3, endian: 1, enable: true}\n";
    EXPECT_FALSE(rx.Load(Write("rx.yaml", text), &m_ctx));
    ASSERT_EQ(rx.GetFieldCount(), 1);
    EXPECT_EQ(rx.GetField(0)->GetName(), "head");
}

TEST_F(ProtocolFiles, LoadSurvivesAnythingThatIsNotADocument)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131) & 0xFF);
    }
    const std::string cases[] = {
        "",
        "dorvane protocol file",
        "- fileFormat: dorvane protocol file\n",
        "fileFormat: [dorvane\n  x: {\n",
        std::string(100000, '['),
        binary,
        "a: &x [*x]\n",
    };
    for (const std::string &text : cases) {
        TxProtocol tx;
        RxProtocol rx;
        EXPECT_FALSE(tx.Load(Write("junk", text), &m_ctx)) << text.substr(0, 40);
        EXPECT_FALSE(rx.Load(Write("junk", text), &m_ctx)) << text.substr(0, 40);
    }
    TxProtocol tx;
    EXPECT_FALSE(tx.Load(PathOf("missing.dvptc"), &m_ctx));
    EXPECT_FALSE(tx.Load(m_dir.string(), &m_ctx));
    EXPECT_FALSE(tx.Load(Write("ok.dvptc", kTwoFieldTx), nullptr));
}

TEST_F(ProtocolFiles, FailedSaveLeavesOldFileAndNoLeftovers)
{
    TxProtocol protocol;
    FillTx(protocol);
    const std::string path = Write("kept.dvptc", "the old file\n");
    fs::create_directory(m_dir / "sub");
    EXPECT_FALSE(protocol.Save(PathOf("sub"), &m_ctx));
    EXPECT_TRUE(fs::is_directory(m_dir / "sub"));
    EXPECT_FALSE(protocol.Save(PathOf("none/x.dvptc"), &m_ctx));
    EXPECT_FALSE(protocol.Save(path, nullptr));

    // A file size limit makes the write itself fail part-way, also for root.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previousAction = {};
    ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previousAction), 0);
    rlimit previousLimit = {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit tiny = previousLimit;
    tiny.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved = protocol.Save(path, &m_ctx);
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    ::sigaction(SIGXFSZ, &previousAction, nullptr);
    EXPECT_FALSE(saved);

    EXPECT_EQ(Read(path), "the old file\n");
    EXPECT_EQ(FileCount(), 2) << "a temporary file was left behind";
    EXPECT_TRUE(protocol.Save(path, &m_ctx));
}

TEST_F(ProtocolFiles, SaveIntoReadOnlyDirectoryFailsAndKeepsOldFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: directory permissions do not stop writing";
    }
    RxProtocol protocol;
    protocol.AddField(-1)->SetName("new");
    ASSERT_TRUE(protocol.Save(PathOf("rx.yaml"), &m_ctx));
    const std::string old = Read(PathOf("rx.yaml"));
    protocol.GetField(0)->SetName("newer");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(protocol.Save(PathOf("rx.yaml"), &m_ctx));
    fs::permissions(m_dir, fs::perms::owner_all);
    EXPECT_EQ(Read(PathOf("rx.yaml")), old);
    EXPECT_EQ(FileCount(), 1);

    // A read-only file in a writable directory is not replaced either.
    fs::permissions(PathOf("rx.yaml"), fs::perms::owner_read);
    EXPECT_FALSE(protocol.Save(PathOf("rx.yaml"), &m_ctx));
    EXPECT_EQ(Read(PathOf("rx.yaml")), old);
}

} // namespace

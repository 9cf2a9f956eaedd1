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
        const std::string path = PathOf(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    static std::string Read(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    int FileCount() const
    {
        int count = 0;
        for (const auto &entry : fs::directory_iterator(m_dir)) {
            (void)entry;
            ++count;
        }
        return count;
    }

    // A protocol with fields of every kind of attribute and three value columns.
    void FillTx(TxProtocol &protocol)
    {
        ASSERT_EQ(protocol.AppendValueColumn(), 1);
        ASSERT_EQ(protocol.AppendValueColumn(), 2);
        struct Spec
        {
            const char *name;
            int typeId;
            Endianness endian;
            bool enabled;
            ValueGeneratorType generators[3];
            const char *params[3];
        };
        const Spec specs[] = {
            {"head", 10, LittleEndian, true, {Fixed, Fixed, Fixed}, {"0xAA", "0x55", "0x7E"}},
            {"counter: one", 11, BigEndian, false, {Sequence, Random, Scatter}, {"0,1,9", "1,9", "1, 2, 3"}},
            {"", 20, BigEndian, true, {Sin, Step, DateTime}, {"1000,-10,10", "100,1,2,10", "\"hh:mm:ss\""}},
            {"- bytes #1",
             1,
             LittleEndian,
             true,
             {Array, Block, Array},
             {"0x[12 34 56]", "4,0xFF", "\"A\\\"B\""}},
            {"null", 21, LittleEndian, true, {Fixed, Fixed, Fixed}, {"", "3.5", "true"}},
        };
        for (const Spec &spec : specs) {
            TxField *field = protocol.AddField(-1);
            field->SetName(spec.name);
            field->SetTypeId(spec.typeId);
            field->SetEndian(spec.endian);
            field->SetEnabled(spec.enabled);
            for (int column = 0; column < 3; ++column) {
                field->GetValueMetaInfo(column)->SetValueGeneratorType(spec.generators[column]);
                field->GetValueMetaInfo(column)->SetParamList(spec.params[column]);
            }
        }
    }

    static void ExpectSameTx(const TxProtocol &a, const TxProtocol &b)
    {
        ASSERT_EQ(a.GetValueCountPerField(), b.GetValueCountPerField());
        ASSERT_EQ(a.GetFieldCount(), b.GetFieldCount());
        for (int i = 0; i < a.GetFieldCount(); ++i) {
            const TxField *x = a.GetField(i);
            const TxField *y = b.GetField(i);
            EXPECT_EQ(x->GetName(), y->GetName()) << "field " << i;
            EXPECT_EQ(x->GetTypeId(), y->GetTypeId()) << "field " << i;
            EXPECT_EQ(x->GetEndian(), y->GetEndian()) << "field " << i;
            EXPECT_EQ(x->IsEnabled(), y->IsEnabled()) << "field " << i;
            ASSERT_EQ(x->GetValueMetaInfoCount(), y->GetValueMetaInfoCount()) << "field " << i;
            for (int column = 0; column < x->GetValueMetaInfoCount(); ++column) {
                EXPECT_EQ(x->GetValueMetaInfo(column)->GetValueGeneratorType(),
                          y->GetValueMetaInfo(column)->GetValueGeneratorType())
                    << "field " << i << " column " << column;
                EXPECT_EQ(x->GetValueMetaInfo(column)->GetParamList(),
                          y->GetValueMetaInfo(column)->GetParamList())
                    << "field " << i << " column " << column;
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

// Replaces the first occurrence of `from` in `text`.
std::string Edited(std::string text, const std::string &from, const std::string &to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
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

    const std::string path = PathOf("two.dvptc");
    ASSERT_TRUE(protocol.Save(path, &m_ctx));
    EXPECT_EQ(Read(path), kTwoFieldTx);
}

TEST_F(ProtocolFiles, TxRoundTripKeepsEveryAttribute)
{
    TxProtocol saved;
    FillTx(saved);
    const std::string path = PathOf("all.dvptc");
    ASSERT_TRUE(saved.Save(path, &m_ctx));

    TxProtocol loaded;
    loaded.AddField(-1)->SetName("replaced by the load");
    ASSERT_TRUE(loaded.Load(path, &m_ctx));
    EXPECT_EQ(loaded.GetValueCountPerField(), 3);
    ExpectSameTx(saved, loaded);

    // Saving the loaded protocol reproduces the file byte for byte.
    const std::string again = PathOf("again.dvptc");
    ASSERT_TRUE(loaded.Save(again, &m_ctx));
    EXPECT_EQ(Read(path), Read(again));
}

TEST_F(ProtocolFiles, TextBytesSurviveWhateverTheirEncoding)
{
    // Names arrive in the local 8-bit encoding: Latin-1 bytes, broken or overlong UTF-8 and
    // noncharacters must come back byte for byte, also where the text has to be quoted.
    const std::string texts[] = {
        "Temp\xE9rature: \x01",
        "\xFF\xFE",
        "- caf\xE9",
        "\xC0\x80 \xED\xA0\x80 \xEF\xBF\xBE \xF4\x90\x80\x80",
        "\xF4\x8F\xB8\x80 marker-like \xF4\x8F\xBB\xBF",
        "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xC2\x85 \xEF\xBB\xBF",
        std::string("nul\0inside\n\"quoted\"\\", 20),
    };
    TxProtocol saved;
    RxProtocol savedRx;
    for (const std::string &text : texts) {
        TxField *field = saved.AddField(-1);
        field->SetName(text);
        field->GetValueMetaInfo(0)->SetParamList(text);
        RxField *rxField = savedRx.AddField(-1);
        rxField->SetName(text);
        rxField->GetValueMetaInfo()->SetParamList(text);
    }
    ASSERT_TRUE(saved.Save(PathOf("texts.dvptc"), &m_ctx));
    ASSERT_TRUE(savedRx.Save(PathOf("texts.yaml"), &m_ctx));
    TxProtocol loaded;
    RxProtocol loadedRx;
    ASSERT_TRUE(loaded.Load(PathOf("texts.dvptc"), &m_ctx));
    ASSERT_TRUE(loadedRx.Load(PathOf("texts.yaml"), &m_ctx));
    ExpectSameTx(saved, loaded);
    ASSERT_EQ(loadedRx.GetFieldCount(), saved.GetFieldCount());
    for (int i = 0; i < loadedRx.GetFieldCount(); ++i) {
        EXPECT_EQ(loadedRx.GetField(i)->GetName(), texts[i]);
        EXPECT_EQ(loadedRx.GetField(i)->GetValueMetaInfo()->GetParamList(), texts[i]);
    }
}

TEST_F(ProtocolFiles, TxLoadReadsHandWrittenForms)
{
    // Another version text, yes/no booleans, generator names in other case, unknown names.
    std::string text = Edited(kTwoFieldTx, "fileVersion: 1.0", "fileVersion: draft 7");
    text = Edited(text, "enable: true", "enable: yes");
    text = Edited(text, "generator: Sequence", "generator: sequence");
    text = Edited(text, "generator: Fixed", "generator: Wobble");
    TxProtocol protocol;
    ASSERT_TRUE(protocol.Load(Write("hand.dvptc", text), &m_ctx));
    ASSERT_EQ(protocol.GetFieldCount(), 2);
    EXPECT_TRUE(protocol.GetField(0)->IsEnabled());
    EXPECT_EQ(protocol.GetField(0)->GetValueMetaInfo(0)->GetValueGeneratorType(), Fixed);
    EXPECT_EQ(protocol.GetField(1)->GetValueMetaInfo(0)->GetValueGeneratorType(), Sequence);
    EXPECT_EQ(protocol.GetField(1)->GetEndian(), BigEndian);
    EXPECT_FALSE(protocol.GetField(1)->IsEnabled());
}

TEST_F(ProtocolFiles, RxRoundTripKeepsAttributesAndResetsCoefficient)
{
    RxProtocol saved;
    struct Spec
    {
        const char *name;
        int typeId;
        Endianness endian;
        bool enabled;
        ValueGeneratorType generator;
        const char *params;
        int graph;
        int form;
        RxValueMetaInfo::FieldFlag flag;
    };
    const Spec specs[] = {
        {"head", 10, LittleEndian, true, Fixed, "0xAA, 0x55", -1, -1, RxValueMetaInfo::HeadFlag},
        {"volts", 21, BigEndian, true, Fixed, "0.5", 3, 7, RxValueMetaInfo::NoFlag},
        {"", 2, LittleEndian, false, Block, "4", -1, 2, RxValueMetaInfo::NoFlag},
        {"end: ok", 10, LittleEndian, true, Fixed, "0x0D", 0, 0, RxValueMetaInfo::TailFlag},
    };
    for (const Spec &spec : specs) {
        RxField *field = saved.AddField(-1);
        field->SetName(spec.name);
        field->SetTypeId(spec.typeId);
        field->SetEndian(spec.endian);
        field->SetEnabled(spec.enabled);
        RxValueMetaInfo *value = field->GetValueMetaInfo();
        value->SetValueGeneratorType(spec.generator);
        value->SetParamList(spec.params);
        value->SetGraphId(spec.graph);
        value->SetFormId(spec.form);
        value->SetFlag(spec.flag);
        value->SetCoefficient(2.5f);
    }
    // A new field has an empty parameter text, which must survive as empty, not as null.
    saved.AddField(-1);

    const std::string path = PathOf("rx.yaml");
    ASSERT_TRUE(saved.Save(path, &m_ctx));
    const std::string text = Read(path);
    EXPECT_EQ(
        text.rfind(
            "fileFormat: dorvane rx-protocol file\nfileVersion: 1.0\nprotocol:\n  fields: 5\nfields:\n", 0),
        0u)
        << text;
    EXPECT_EQ(text.find("values"), std::string::npos);

    RxProtocol loaded;
    ASSERT_TRUE(loaded.Load(path, &m_ctx));
    ASSERT_EQ(loaded.GetFieldCount(), 5);
    for (int i = 0; i < 4; ++i) {
        const Spec &spec = specs[i];
        const RxField *field = loaded.GetField(i);
        const RxValueMetaInfo *value = field->GetValueMetaInfo();
        EXPECT_EQ(field->GetName(), spec.name);
        EXPECT_EQ(field->GetTypeId(), spec.typeId);
        EXPECT_EQ(field->GetEndian(), spec.endian);
        EXPECT_EQ(field->IsEnabled(), spec.enabled);
        EXPECT_EQ(value->GetValueGeneratorType(), spec.generator);
        EXPECT_EQ(value->GetParamList(), spec.params);
        EXPECT_EQ(value->GetGraphId(), spec.graph);
        EXPECT_EQ(value->GetFormId(), spec.form);
        EXPECT_EQ(value->GetFlag(), spec.flag);
        EXPECT_FLOAT_EQ(value->GetCoefficient(), 1.0f);
    }
    EXPECT_EQ(loaded.GetField(4)->GetValueMetaInfo()->GetParamList(), "");
}

TEST_F(ProtocolFiles, RxLaterMetaEntryOverwritesEarlier)
{
    const std::string text = std::string(kOneFieldRx)
                             + "      - generator: Block\n"
                               "        params: 8\n"
                               "        graph: 4\n"
                               "        form: 5\n"
                               "        flag: 0\n";
    RxProtocol protocol;
    ASSERT_TRUE(protocol.Load(Write("two-meta.yaml", text), &m_ctx));
    ASSERT_EQ(protocol.GetFieldCount(), 1);
    const RxValueMetaInfo *value = protocol.GetField(0)->GetValueMetaInfo();
    EXPECT_EQ(value->GetValueGeneratorType(), Block);
    EXPECT_EQ(value->GetParamList(), "8");
    EXPECT_EQ(value->GetGraphId(), 4);
    EXPECT_EQ(value->GetFormId(), 5);
    EXPECT_EQ(value->GetFlag(), RxValueMetaInfo::NoFlag);
}

TEST_F(ProtocolFiles, TitlesAreNotInterchangeable)
{
    TxProtocol tx;
    tx.AddField(-1)->SetName("kept");
    RxProtocol rx;
    rx.AddField(-1)->SetName("kept");

    EXPECT_FALSE(tx.Load(Write("rx.yaml", kOneFieldRx), &m_ctx));
    EXPECT_FALSE(rx.Load(Write("tx.dvptc", kTwoFieldTx), &m_ctx));
    EXPECT_FALSE(tx.Load(Write("case.dvptc", Edited(kTwoFieldTx, "protocol file", "Protocol file")), &m_ctx));

    // A refused title is detected before anything is replaced.
    ASSERT_EQ(tx.GetFieldCount(), 1);
    EXPECT_EQ(tx.GetField(0)->GetName(), "kept");
    ASSERT_EQ(rx.GetFieldCount(), 1);
    EXPECT_EQ(rx.GetField(0)->GetName(), "kept");
}

TEST_F(ProtocolFiles, TxLoadRefusesIncompleteDocuments)
{
    const std::pair<const char *, std::string> cases[] = {
        {"no fileFormat", Edited(kTwoFieldTx, "fileFormat: dorvane protocol file\n", "")},
        {"no fileVersion", Edited(kTwoFieldTx, "fileVersion: 1.0\n", "")},
        {"null fileVersion", Edited(kTwoFieldTx, "fileVersion: 1.0", "fileVersion: ~")},
        {"no protocol", Edited(kTwoFieldTx, "protocol:\n  fields: 2\n  values: 1\n", "")},
        {"no values", Edited(kTwoFieldTx, "  values: 1\n", "")},
        {"values not a number", Edited(kTwoFieldTx, "values: 1", "values: one")},
        {"no columns", Edited(kTwoFieldTx, "values: 1", "values: 0")},
        {"negative columns", Edited(kTwoFieldTx, "values: 1", "values: -3")},
        {"too many columns", Edited(kTwoFieldTx, "values: 1", "values: 4")},
        {"huge columns", Edited(kTwoFieldTx, "values: 1", "values: 99999999999999999999")},
        {"header count not a number", Edited(kTwoFieldTx, "fields: 2", "fields: two")},
        {"protocol is a scalar",
         Edited(kTwoFieldTx, "protocol:\n  fields: 2\n  values: 1\n", "protocol: 3\n")},
        {"null field list", Edited(kTwoFieldTx, "fields:\n  - name: a", "fields: ~\nx:\n  - name: a")},
        {"tid not a number", Edited(kTwoFieldTx, "tid: 10", "tid: ten")},
        {"tid out of range", Edited(kTwoFieldTx, "tid: 10", "tid: 4294967296")},
        {"enable not a boolean", Edited(kTwoFieldTx, "enable: true", "enable: 2")},
        {"name is a mapping", Edited(kTwoFieldTx, "name: a", "name: {x: 1}")},
        {"field is a scalar", Edited(kTwoFieldTx, "  - name: a\n", "  - 17\n  - name: a\n")},
        {"no params", Edited(kTwoFieldTx, "        params: 0xAA\n", "")},
        {"null generator", Edited(kTwoFieldTx, "generator: Fixed", "generator: ~")},
    };
    for (const auto &entry : cases) {
        TxProtocol protocol;
        EXPECT_FALSE(protocol.Load(Write("refused.dvptc", entry.second), &m_ctx)) << entry.first;
    }
}

TEST_F(ProtocolFiles, RxLoadRefusesIncompleteDocuments)
{
    const std::pair<const char *, std::string> cases[] = {
        {"no protocol", Edited(kOneFieldRx, "protocol:\n  fields: 1\n", "")},
        {"null protocol", Edited(kOneFieldRx, "protocol:\n  fields: 1\n", "protocol:\n")},
        {"no fields", Edited(kOneFieldRx, "fields:\n  - name", "other:\n  - name")},
        {"no name", Edited(kOneFieldRx, "  - name: head\n    tid", "  - tid")},
        {"no endian", Edited(kOneFieldRx, "    endian: 1\n", "")},
        {"no graph", Edited(kOneFieldRx, "        graph: -1\n", "")},
        {"no form", Edited(kOneFieldRx, "        form: -1\n", "")},
        {"no flag", Edited(kOneFieldRx, "        flag: 1\n", "")},
        {"flag not a number", Edited(kOneFieldRx, "flag: 1", "flag: head")},
        {"graph out of range", Edited(kOneFieldRx, "graph: -1", "graph: -99999999999")},
    };
    for (const auto &entry : cases) {
        RxProtocol protocol;
        EXPECT_FALSE(protocol.Load(Write("refused.yaml", entry.second), &m_ctx)) << entry.first;
    }
}

TEST_F(ProtocolFiles, FieldWithoutMetaKeepsEarlierFields)
{
    const std::string tx
        = Edited(kTwoFieldTx, "    meta:\n      - generator: Sequence\n        params: 0,1\n", "");
    TxProtocol txProtocol;
    EXPECT_FALSE(txProtocol.Load(Write("tx.dvptc", tx), &m_ctx));
    ASSERT_EQ(txProtocol.GetFieldCount(), 1);
    EXPECT_EQ(txProtocol.GetField(0)->GetName(), "a");
    EXPECT_EQ(txProtocol.GetField(0)->GetValueMetaInfo(0)->GetParamList(), "0xAA");

    const std::string rx = std::string(kOneFieldRx)
                           + "  - name: broken\n"
                             "    tid: 3\n"
                             "    endian: 1\n"
                             "    enable: true\n"
                             "  - name: never read\n";
    RxProtocol rxProtocol;
    rxProtocol.AddField(-1);
    rxProtocol.AddField(-1);
    rxProtocol.AddField(-1);
    EXPECT_FALSE(rxProtocol.Load(Write("rx.yaml", rx), &m_ctx));
    ASSERT_EQ(rxProtocol.GetFieldCount(), 1);
    EXPECT_EQ(rxProtocol.GetField(0)->GetName(), "head");
}

TEST_F(ProtocolFiles, LoadSurvivesAnythingThatIsNotADocument)
{
    std::string deep(100000, '[');
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 131) & 0xFF);
    }
    const std::pair<const char *, std::string> cases[] = {
        {"empty", ""},
        {"scalar", "dorvane protocol file"},
        {"sequence", "- fileFormat: dorvane protocol file\n"},
        {"syntax error", "fileFormat: [dorvane\n  protocol: {\n"},
        {"tab indentation", "fileFormat: x\n\tfileVersion: 1\n"},
        {"deep nesting", deep},
        {"binary", binary},
        {"alias loop", "a: &x [*x]\n"},
    };
    for (const auto &entry : cases) {
        const std::string path = Write("junk", entry.second);
        TxProtocol tx;
        RxProtocol rx;
        EXPECT_FALSE(tx.Load(path, &m_ctx)) << entry.first;
        EXPECT_FALSE(rx.Load(path, &m_ctx)) << entry.first;
    }
    TxProtocol tx;
    EXPECT_FALSE(tx.Load(PathOf("missing.dvptc"), &m_ctx));
    EXPECT_FALSE(tx.Load(m_dir.string(), &m_ctx));
    EXPECT_FALSE(tx.Load(Write("ok.dvptc", kTwoFieldTx), nullptr));
}

TEST_F(ProtocolFiles, SaveFailureLeavesOldFileAndNoLeftovers)
{
    TxProtocol protocol;
    FillTx(protocol);
    const std::string path = PathOf("kept.dvptc");
    const std::string old = "fileFormat: the old file\n";
    Write("kept.dvptc", old);

    // A directory where the file should be, and a directory that does not exist.
    fs::create_directory(m_dir / "sub");
    EXPECT_FALSE(protocol.Save(PathOf("sub"), &m_ctx));
    EXPECT_TRUE(fs::is_directory(m_dir / "sub"));
    EXPECT_FALSE(protocol.Save(PathOf("none/x.dvptc"), &m_ctx));
    EXPECT_FALSE(protocol.Save("", &m_ctx));
    EXPECT_FALSE(protocol.Save(path, nullptr));

    // A file size limit makes the write itself fail part-way (this works for root, too).
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

    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(FileCount(), 2) << "a temporary file was left behind";

    ASSERT_TRUE(protocol.Save(path, &m_ctx));
    TxProtocol loaded;
    ASSERT_TRUE(loaded.Load(path, &m_ctx));
    ExpectSameTx(protocol, loaded);
}

TEST_F(ProtocolFiles, SaveIntoReadOnlyDirectoryFailsAndKeepsOldFile)
{
    if (::geteuid() == 0) {
        GTEST_SKIP() << "running as root: directory permissions do not stop writing";
    }
    RxProtocol protocol;
    protocol.AddField(-1)->SetName("new");
    const std::string path = PathOf("rx.yaml");
    ASSERT_TRUE(protocol.Save(path, &m_ctx));
    const std::string old = Read(path);

    protocol.GetField(0)->SetName("newer");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(protocol.Save(path, &m_ctx));
    fs::permissions(m_dir, fs::perms::owner_all);
    EXPECT_EQ(Read(path), old);
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(ProtocolFiles, SaveKeepsPermissionsAndLinks)
{
    TxProtocol protocol;
    protocol.AddField(-1);
    const std::string target = PathOf("target.dvptc");
    Write("target.dvptc", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(target, m_dir / "link.dvptc");

    ASSERT_TRUE(protocol.Save(PathOf("link.dvptc"), &m_ctx));
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.dvptc"));
    EXPECT_NE(Read(target), "old");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace

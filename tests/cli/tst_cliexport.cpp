// dorvane-cli export: the program writes a dissector and a C header from the
// documents on disk; tshark and gcc read what it wrote.
#include "peers.h"

#include <dorvane/Core.h>
#include <dorvane/capturewriter.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <cstring>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    Result r;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished(3000);
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

Result cli(const QStringList &arguments)
{
    return run(QStringLiteral(DORVANE_CLI_PROGRAM), QStringList{QStringLiteral("export")} + arguments);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// One telemetry frame as the device simulator sends it:
// AA 55 | counter u16 | sine float | ramp float | sum u8 | 0D 0A, little endian.
QByteArray telemetryFrame(quint16 counter, float sine, float ramp)
{
    QByteArray body;
    body.append(char(counter & 0xFF)).append(char(counter >> 8));
    char bytes[4];
    std::memcpy(bytes, &sine, 4);
    body.append(bytes, 4);
    std::memcpy(bytes, &ramp, 4);
    body.append(bytes, 4);
    quint8 sum = 0;
    for (char c : qAsConst(body))
        sum = quint8(sum + quint8(c));
    return QByteArray("\xAA\x55") + body + char(sum) + QByteArray("\x0D\x0A");
}

} // namespace

class TestCliExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_context.Initialize(); }

    // The sample receive protocol's dissector, written by the program, shows
    // a capture of the simulator's frames with the values the workbench's
    // parser decodes from the same bytes.
    void receiveDissectorShowsWhatTheWorkbenchDecodes()
    {
        const QString tshark = missingProgram(QStringLiteral("tshark"));
        if (!tshark.isEmpty())
            DORVANE_PEER_MISSING(qPrintable(tshark + QStringLiteral(" (Debian package tshark)")));
        QTemporaryDir dir;
        const QString document
            = QStringLiteral(DORVANE_SOURCE_DIR "/resources/samples/devsim-telemetry.dvprx");
        const QString lua = dir.filePath(QStringLiteral("telemetry.lua"));
        const Result exported
            = cli({QStringLiteral("--dissector"), lua, QStringLiteral("--name"), QStringLiteral("devsim"),
                   QStringLiteral("--port"), QStringLiteral("udp:7301"), document});
        QVERIFY2(exported.exitCode == 0, exported.err.constData());
        QVERIFY(readAll(lua).contains("DissectorTable.get(\"udp.port\"):add(7301, proto)"));

        QByteArray stream;
        for (int n = 0; n < 12; ++n) {
            stream += telemetryFrame(quint16(65530 + n), float(100.0 * std::sin(2 * M_PI * n / 12.0)),
                                     float(100.0 * n / 12.0));
        }
        // The capture cuts frames apart the way chunks of a serial port do.
        const QString capture = dir.filePath(QStringLiteral("telemetry.pcapng"));
        {
            CaptureWriter writer;
            CaptureOptions options;
            options.path = QFile::encodeName(capture).toStdString();
            QVERIFY(writer.Start(options));
            for (int at = 0, i = 0; at < stream.size(); ++i) {
                const int size = qMin(stream.size() - at, i % 2 ? 15 : 30);
                CaptureChunk chunk;
                chunk.wallUs = 1700000000000000LL + i * 1000;
                chunk.bytes = stream.mid(at, size).toStdString();
                QVERIFY(writer.Append(std::move(chunk)));
                at += size;
            }
            writer.Stop();
            QCOMPARE(writer.GetStatus(), CaptureWriter::Status::Stopped);
        }

        // What the workbench decodes from the same bytes, one list per field.
        RxProtocol protocol;
        QVERIFY(protocol.Load(QFile::encodeName(document).toStdString(), &m_context));
        ProtocolParser parser;
        QVERIFY(parser.Build(&protocol));
        QList<double> decoded[4];
        for (int at = 0;;) {
            const auto result = parser.Update(stream.constData() + at, stream.size() - at, false);
            if (result.status != ProtocolParser::FrameDecoded)
                break;
            const auto &values = parser.GetFrameValues();
            decoded[0] << values[0].value.GetUShort();
            decoded[1] << double(values[1].value.GetFloat());
            decoded[2] << double(values[2].value.GetFloat());
            decoded[3] << values[3].value.GetUChar();
            at += result.frameEnd;
        }
        QCOMPARE(decoded[0].size(), 12);

        // A packet with two frames lists each field's values with commas.
        const char *fields[4] = {"devsim.counter", "devsim.sine", "devsim.ramp", "devsim.sum"};
        for (int f = 0; f < 4; ++f) {
            const Result shown
                = run(QStringLiteral("tshark"),
                      {QStringLiteral("-n"), QStringLiteral("-X"), QStringLiteral("lua_script:") + lua,
                       QStringLiteral("-r"), capture, QStringLiteral("-T"), QStringLiteral("fields"),
                       QStringLiteral("-e"), QLatin1String(fields[f])});
            QVERIFY2(shown.exitCode == 0, shown.err.constData());
            const QStringList values = QString::fromLatin1(shown.out)
                                           .simplified()
                                           .replace(QLatin1Char(' '), QLatin1Char(','))
                                           .split(QLatin1Char(','));
            QCOMPARE(values.size(), decoded[f].size());
            for (int frame = 0; frame < values.size(); ++frame)
                QVERIFY2(qAbs(values[frame].toDouble() - decoded[f][frame]) < 1e-4,
                         qPrintable(QStringLiteral("%1 frame %2: %3")
                                        .arg(QLatin1String(fields[f]))
                                        .arg(frame)
                                        .arg(values[frame])));
        }
    }

    // The header of a transmit protocol's second value column, whose array
    // is longer than the first's, compiles warning-free, and its setters lay
    // out the very bytes the frame stream builds for that column.
    void transmitHeaderBuildsTheChosenColumnsFrame()
    {
        const QString gcc = missingProgram(QStringLiteral("gcc"));
        if (!gcc.isEmpty())
            DORVANE_PEER_MISSING(qPrintable(gcc + QStringLiteral(" (Debian package gcc)")));
        QTemporaryDir dir;
        TxProtocol protocol;
        struct Def
        {
            const char *name;
            int typeId;
            Endianness endian;
            ValueGeneratorType generator;
            const char *first;
            const char *second;
        };
        const Def defs[] = {{"head", 10, LittleEndian, Fixed, "0x7E", "0x7E"},
                            {"address", 11, BigEndian, Fixed, "0x1234", "0xBEEF"},
                            {"level", 3, LittleEndian, Fixed, "-5", "100000"},
                            {"gain", 21, BigEndian, Fixed, "0.25", "-1.5"},
                            {"data", 10, LittleEndian, Array, "1,2", "9,8,7"}};
        protocol.AppendValueColumn();
        for (const Def &def : defs) {
            TxField *field = protocol.AddField(-1);
            field->SetName(def.name);
            field->SetTypeId(def.typeId);
            field->SetEndian(def.endian);
            for (int column = 0; column < 2; ++column) {
                ValueMetaInfo *value = field->GetValueMetaInfo(column);
                value->SetValueGeneratorType(def.generator);
                value->SetParamList(column ? def.second : def.first);
            }
        }
        const QString document = dir.filePath(QStringLiteral("link.dvptc"));
        QVERIFY(protocol.Save(QFile::encodeName(document).toStdString(), &m_context));
        ProtocolStream stream;
        QVERIFY(stream.Build(&protocol, 1));
        const QByteArray built(stream.GetData(), stream.GetDataSize());

        const QString header = dir.filePath(QStringLiteral("link.h"));
        Result exported = cli({QStringLiteral("--c-header"), header, QStringLiteral("--column"),
                               QStringLiteral("1"), document});
        QVERIFY2(exported.exitCode == 0, exported.err.constData());
        QFile program(dir.filePath(QStringLiteral("main.c")));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#include \"link.h\"\n#include <stdio.h>\n"
                      "int main(void)\n{\n    struct link_frame f;\n    link_frame_init(&f);\n"
                      "    link_set_head(&f, 0x7E);\n    link_set_address(&f, 0xBEEF);\n"
                      "    link_set_level(&f, 100000);\n    link_set_gain(&f, -1.5);\n"
                      "    for (size_t i = 0; i < LINK_DATA_COUNT; ++i)\n        link_set_data(&f, i, "
                      "(uint8_t)(9 - i));\n"
                      "    const unsigned char *b = (const unsigned char *)&f;\n"
                      "    for (unsigned i = 0; i < LINK_FRAME_SIZE; ++i)\n        printf(\"%02x\", b[i]);\n"
                      "    return 0;\n}\n");
        program.close();
        const QString binary = dir.filePath(QStringLiteral("frame"));
        const Result compiled
            = run(QStringLiteral("gcc"),
                  {QStringLiteral("-std=c11"), QStringLiteral("-Wall"), QStringLiteral("-Wextra"),
                   QStringLiteral("-Werror"), QStringLiteral("-o"), binary, program.fileName()});
        QVERIFY2(compiled.exitCode == 0, (compiled.err + readAll(header)).constData());
        QCOMPARE(run(binary, {}).out, built.toHex());

        // A column the protocol does not have is refused, and the header stays.
        const QByteArray before = readAll(header);
        exported = cli({QStringLiteral("--c-header"), header, QStringLiteral("--column"), QStringLiteral("2"),
                        document});
        QCOMPARE(exported.exitCode, 2);
        QVERIFY2(exported.err.contains("2 value column(s)"), exported.err.constData());
        QCOMPARE(readAll(header), before);
    }

    // Usage faults, documents that are not protocols and outputs that cannot
    // be written exit 2 with the reason, and never touch an existing output.
    void faultsExit2AndKeepTheOldOutput()
    {
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("old.lua"));
        {
            QFile old(output);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("-- the previous dissector\n");
        }
        const QString sample = QStringLiteral(DORVANE_SOURCE_DIR "/resources/samples/devsim-telemetry.dvprx");
        const QString notProtocol
            = QStringLiteral(DORVANE_SOURCE_DIR "/resources/samples/devsim-modbus.dvits");
        const QString flagless = dir.filePath(QStringLiteral("flagless.dvprx"));
        {
            RxProtocol protocol;
            RxField *head = protocol.AddField(-1);
            head->SetTypeId(10);
            head->GetValueMetaInfo()->SetFlag(RxValueMetaInfo::HeadFlag);
            QVERIFY(protocol.Save(QFile::encodeName(flagless).toStdString(), &m_context));
        }
        const struct
        {
            QStringList arguments;
            const char *reason;
        } cases[] = {
            {{sample}, "export needs --dissector OUT.lua or --c-header OUT.h"},
            {{QStringLiteral("--c-header"), output, QStringLiteral("--port"), QStringLiteral("tcp:80"),
              sample},
             "--port belongs to --dissector"},
            {{QStringLiteral("--dissector"), output, notProtocol},
             "not a readable transmit- or receive-protocol"},
            {{QStringLiteral("--dissector"), output, QStringLiteral("--column"), QStringLiteral("1"), sample},
             "--column belongs to transmit protocols"},
            {{QStringLiteral("--dissector"), output, flagless}, "is a flag without constants"},
            {{QStringLiteral("--c-header"), flagless, flagless}, "would replace the protocol document"},
        };
        const QByteArray document = readAll(flagless);
        for (const auto &c : cases) {
            const Result r = cli(c.arguments);
            QVERIFY2(r.exitCode == 2, qPrintable(c.arguments.join(QLatin1Char(' '))));
            QVERIFY2(r.err.contains(c.reason), r.err.constData());
            QCOMPARE(readAll(output), QByteArray("-- the previous dissector\n"));
            QCOMPARE(readAll(flagless), document);
        }
        const Result unwritable
            = cli({QStringLiteral("--dissector"), dir.filePath(QStringLiteral("missing/out.lua")), sample});
        QCOMPARE(unwritable.exitCode, 2);
        QVERIFY2(unwritable.err.contains("missing/out.lua: cannot be written"), unwritable.err.constData());
        QVERIFY(run(QStringLiteral(DORVANE_CLI_PROGRAM), {QStringLiteral("--help")})
                    .out.contains("dorvane-cli export"));
    }

private:
    Context m_context;
};

QTEST_GUILESS_MAIN(TestCliExport)
#include "tst_cliexport.moc"

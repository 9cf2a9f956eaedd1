// The sample documents of Data/samples, read with the readers the windows
// use: the transmit protocols build the Modbus requests that devsim answers,
// the protocol set finds its protocols beside itself, the instruct set holds
// the same requests, and the receive protocol compiles to devsim's frame.
#include "model/instructset.h"
#include "model/txprotocolset.h"

#include <dorvane/Core.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kSamples = QStringLiteral(DORVANE_SAMPLES_DIR);

QByteArray frameOf(const TxProtocol &protocol, int column)
{
    ProtocolStream stream;
    if (!stream.Build(&protocol, column))
        return QByteArray("build failed");
    stream.Update();
    return QByteArray(stream.GetData(), stream.GetDataSize());
}

} // namespace

class SamplesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_context.Initialize(); }
    void transmitProtocolsBuildTheModbusRequests();
    void protocolSetLoadsFromAnyDirectory();
    void instructSetHoldsTheRequests();
    void receiveProtocolMatchesTheTelemetryFrame();

private:
    Context m_context;
};

void SamplesTest::transmitProtocolsBuildTheModbusRequests()
{
    TxProtocol read;
    QVERIFY(read.Load(QFile::encodeName(kSamples + QStringLiteral("/devsim-modbus-read.dvptc")).toStdString(),
                      &m_context));
    QCOMPARE(read.GetValueCountPerField(), 2);
    QCOMPARE(frameOf(read, 0).toHex(' '), QByteArray("01 03 00 00 00 02 c4 0b"));
    QCOMPARE(frameOf(read, 1).toHex(' '), QByteArray("01 03 00 01 00 01 d5 ca"));
    TxProtocol write;
    QVERIFY(
        write.Load(QFile::encodeName(kSamples + QStringLiteral("/devsim-modbus-write.dvptc")).toStdString(),
                   &m_context));
    QCOMPARE(frameOf(write, 0).toHex(' '), QByteArray("01 06 00 01 be ef e8 26"));
}

void SamplesTest::protocolSetLoadsFromAnyDirectory()
{
    // Installed, the samples lie elsewhere: the set names its files
    // relative to itself, so a copy in another directory still loads.
    QTemporaryDir dir;
    for (const QString &name : QDir(kSamples).entryList({QStringLiteral("*.dv*")}, QDir::Files))
        QVERIFY(QFile::copy(kSamples + QLatin1Char('/') + name, dir.filePath(name)));
    TxProtocolSet set(&m_context);
    QVERIFY2(set.Load(dir.filePath(QStringLiteral("devsim-modbus.dvpts"))), qPrintable(set.errorString()));
    QVERIFY(set.skippedPaths().isEmpty());
    QCOMPARE(set.itemCount(), 3);
    QCOMPARE(set.itemAt(0)->path, dir.filePath(QStringLiteral("devsim-modbus-read.dvptc")));
    QCOMPARE(frameOf(*set.itemAt(1)->protocol, set.itemAt(1)->valueIndex).toHex(' '),
             QByteArray("01 06 00 01 be ef e8 26"));
    QCOMPARE(set.itemAt(2)->valueIndex, 1);
    QCOMPARE(frameOf(*set.itemAt(2)->protocol, 1).toHex(' '), QByteArray("01 03 00 01 00 01 d5 ca"));
}

void SamplesTest::instructSetHoldsTheRequests()
{
    InstructSet set;
    QVERIFY(set.load(kSamples + QStringLiteral("/devsim-modbus.dvits")));
    QCOMPARE(set.count(), 6);
    QCOMPARE(set.at(0)->title, QStringLiteral("read registers 0 and 1"));
    QCOMPARE(set.at(0)->content, QStringLiteral("01 03 00 00 00 02 C4 0B"));
    QCOMPARE(set.at(0)->textMode, 0);
    QCOMPARE(set.at(0)->interval, 500);
    QCOMPARE(set.at(5)->textMode, 1);
    // The write instruct sends what the write protocol builds.
    TxProtocol write;
    QVERIFY(
        write.Load(QFile::encodeName(kSamples + QStringLiteral("/devsim-modbus-write.dvptc")).toStdString(),
                   &m_context));
    QCOMPARE(set.at(1)->content.toLatin1(), frameOf(write, 0).toHex(' ').toUpper());
}

void SamplesTest::receiveProtocolMatchesTheTelemetryFrame()
{
    RxProtocol protocol;
    QVERIFY(protocol.Load(
        QFile::encodeName(kSamples + QStringLiteral("/devsim-telemetry.dvprx")).toStdString(), &m_context));
    ProtocolParser parser;
    QVERIFY(parser.Build(&protocol));
    QCOMPARE(parser.GetFrameSize(), 15);
    // Counter 0x0102, sine 1.5, ramp -2, sum 0x42, after a garbage byte.
    const QByteArray bytes = QByteArray::fromHex("13 AA 55 02 01 00 00 C0 3F 00 00 00 C0 42 0D 0A");
    const ProtocolParser::PRResult result = parser.Update(bytes.constData(), bytes.size(), false);
    QCOMPARE(result.status, int(ProtocolParser::FrameDecoded));
    QCOMPARE(result.headOffset, 1);
    QCOMPARE(result.frameEnd, bytes.size());
    const std::vector<FrameValue> &values = parser.GetFrameValues();
    QCOMPARE(int(values.size()), 4);
    QCOMPARE(int(values[0].value.GetUShort()), 0x0102);
    QCOMPARE(values[1].value.GetFloat(), 1.5f);
    QCOMPARE(values[2].value.GetFloat(), -2.0f);
    QCOMPARE(int(values[3].value.GetUChar()), 0x42);
}

QTEST_GUILESS_MAIN(SamplesTest)
#include "tst_samples.moc"

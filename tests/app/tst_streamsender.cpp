// The frame sender every sending window shares, and the conversion of a
// transmit text into the parameter text of an Array value.
#include "apptestsupport.h"

#include "model/transmittext.h"
#include "services/streamsender.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QThread>

namespace {

// A protocol of one unsigned-byte field per column, column k holding k + 1.
std::unique_ptr<TxProtocol> columnProtocol(int columns)
{
    auto protocol = std::make_unique<TxProtocol>();
    while (protocol->GetValueCountPerField() < columns)
        protocol->AppendValueColumn();
    TxField *field = protocol->AddField(0);
    field->SetTypeId(10);
    for (int c = 0; c < columns; ++c)
        field->GetValueMetaInfo(c)->SetParamList(std::to_string(c + 1));
    return protocol;
}

bool openPty(ChannelProxy &proxy, const PseudoTerminal &pty, TimingStrategy timing = CoarseTiming)
{
    SerialChannelParams params;
    params.portName = pty.slavePath();
    params.baudRate = 115200;
    params.timing = timing;
    return proxy.open(params);
}

} // namespace

class TestStreamSender : public QObject
{
    Q_OBJECT

private slots:
    void transmitTextConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("hex with comment and lone digit") << "aa bb // comment\nc" << 0 << "0x[aa bb 0c]";
        QTest::newRow("hex digits paired and padded") << "1 2 abc" << 0 << "0x[01 02 ab 0c]";
        QTest::newRow("hex run split into bytes, junk dropped") << " 0102g03;\n\n\n" << 0 << "0x[01 02 03]";
        QTest::newRow("hex only comments") << "// nothing\n//" << 0 << "0x[]";
        QTest::newRow("text escapes quote and backslash") << "a\"b\\c" << 1 << "\"a\\\"b\\\\c\"";
        QTest::newRow("empty stays empty") << "" << 0 << "";
        QTest::newRow("unknown mode unchanged") << "aa zz" << 7 << "aa zz";
    }
    void transmitTextConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(QString, expected);
        QCOMPARE(convertTransmitText(text, mode), expected);
    }

    void roundRobinAndSelection()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelProxy proxy;
        QVERIFY(openPty(proxy, pty));
        StreamSender sender(&proxy);
        const auto protocol = columnProtocol(3);

        QVERIFY(!sender.addStream(protocol.get(), 3));
        QVERIFY(!sender.addStream(nullptr, 0));
        QVERIFY(!sender.sendNext());
        for (int c = 0; c < 3; ++c)
            QVERIFY(sender.addStream(protocol.get(), c));
        QCOMPARE(sender.streamCount(), 3);

        QVERIFY(sender.selectAll());
        for (int i = 0; i < 4; ++i)
            QVERIFY(sender.sendNext());
        QVERIFY(sender.selectAll());
        QVERIFY(sender.sendNext());
        QVERIFY(sender.selectOne(2));
        QVERIFY(sender.sendNext());
        QVERIFY(sender.sendNext());
        QCOMPARE(readMaster(pty.master(), 7), QByteArray("\x01\x02\x03\x01\x01\x03\x03", 7));

        QVERIFY(!sender.selectOne(3));
        QVERIFY(!sender.sendNext());
        sender.clear();
        QVERIFY(!sender.selectAll());
    }

    void transmitProtocolArrivesAtTheFarEnd()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelProxy proxy;
        QVERIFY(openPty(proxy, pty));
        StreamSender sender(&proxy);
        const auto hex = makeTransmitProtocol(QStringLiteral("1 2 abc"), HexTextMode);
        const auto text = makeTransmitProtocol(QStringLiteral("a\"\\"), PlainTextMode);
        QVERIFY(sender.addStream(hex.get(), 0));
        QVERIFY(sender.addStream(text.get(), 0));
        QVERIFY(sender.selectAll());
        QVERIFY(sender.sendNext());
        QVERIFY(sender.sendNext());
        QCOMPARE(readMaster(pty.master(), 7), QByteArray("\x01\x02\xab\x0c"
                                                         "a\"\\",
                                                         7));
    }

    // Rebuilding, selecting and resetting on this thread while the worker
    // sends from the same sender at 1 ms: nothing crashes, every frame that
    // arrives is whole (the sanitizer builds check the rest).
    void rebuildWhilePeriodicSendingRuns()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelProxy proxy;
        QVERIFY(openPty(proxy, pty, HighResolutionTiming));
        StreamSender sender(&proxy);
        const auto protocol = columnProtocol(3);
        for (int c = 0; c < 3; ++c)
            QVERIFY(sender.addStream(protocol.get(), c));
        QVERIFY(sender.selectAll());
        sender.startPeriodSend(1);
        QByteArray seen;
        for (int round = 0; round < 200; ++round) {
            sender.clear();
            for (int c = 0; c < 3; ++c)
                sender.addStream(protocol.get(), c);
            round % 2 ? sender.selectAll() : sender.selectOne(round % 3);
            sender.resetGenerators();
            seen += readMaster(pty.master(), 1, 1, false);
        }
        sender.stopPeriodSend();
        proxy.close();
        seen += readMaster(pty.master(), 1 << 20, 50);
        QVERIFY(!seen.isEmpty());
        for (const char byte : seen)
            QVERIFY(byte >= 1 && byte <= 3);
    }

    // A history or instruct row may go while the channel still ticks into
    // its sender: the sending stops and no tick reaches the freed sender
    // (the sanitizer builds catch a late one).
    void destroyedSenderStopsItsPeriodicSending_data()
    {
        QTest::addColumn<int>("timing");
        QTest::newRow("precise") << int(PreciseTiming);
        QTest::newRow("high resolution") << int(HighResolutionTiming);
    }
    void destroyedSenderStopsItsPeriodicSending()
    {
        QFETCH(int, timing);
        PseudoTerminal pty;
        if (!pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        ChannelProxy proxy;
        QVERIFY(openPty(proxy, pty, TimingStrategy(timing)));
        const auto protocol = columnProtocol(1);
        for (int round = 0; round < 20; ++round) {
            auto *sender = new StreamSender(&proxy);
            QVERIFY(sender->addStream(protocol.get(), 0));
            QVERIFY(sender->selectAll());
            sender->startPeriodSend(1);
            QVERIFY(!readMaster(pty.master(), 2, 3000, false).isEmpty());
            delete sender;
            QElapsedTimer clock;
            clock.start();
            while (proxy.isPeriodSendRun() && clock.elapsed() < 5000)
                QThread::msleep(1);
            QVERIFY(!proxy.isPeriodSendRun());
        }
        // The channel itself is still fine for the next sender.
        StreamSender next(&proxy);
        QVERIFY(next.addStream(protocol.get(), 0));
        QVERIFY(next.selectAll());
        readMaster(pty.master(), 1 << 20, 50);
        QVERIFY(next.sendNext());
        QCOMPARE(readMaster(pty.master(), 1), QByteArray("\x01"));
    }
};

DORVANE_APP_TEST_MAIN(TestStreamSender)
#include "tst_streamsender.moc"

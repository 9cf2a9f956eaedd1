// Hours of use compressed: many cycles of opening, periodic sending and
// closing, and a storm of TCP clients, each checked for leaked descriptors.
// The cycle count comes from DORVANE_SOAK_CYCLES (default 1000).
#include "apptestsupport.h"

#include "streamsender.h"
#include "transmittext.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>

#include <QDir>
#include <QSignalSpy>
#include <QTcpSocket>

#include <vector>

namespace {

int soakCycles()
{
    const int cycles = qEnvironmentVariableIntValue("DORVANE_SOAK_CYCLES");
    return cycles > 0 ? cycles : 1000;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size());
}

NetChannelParams serverParams(TimingStrategy timing = CoarseTiming)
{
    NetChannelParams p(TcpServer);
    p.localAddress = QStringLiteral("127.0.0.1");
    p.timing = timing;
    return p;
}

quint16 listeningPort(const ChannelProxy &proxy)
{
    const QString prefix = QStringLiteral("Tcp Server127.0.0.1:");
    const QString profile = proxy.channelProfile();
    return profile.startsWith(prefix) ? quint16(profile.mid(prefix.size()).toUInt()) : 0;
}

const TimingStrategy kStrategies[] = {CoarseTiming, PreciseTiming, HighResolutionTiming};

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    // Every cycle opens the port in the next strategy, lets periodic sending
    // run until frames arrive, writes once from this thread and closes.
    void periodicSendingCyclesOnAPseudoTerminal()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            QSKIP("no pseudo-terminal available (openpty failed)");
        ChannelProxy proxy;
        StreamSender sender(&proxy);
        const auto protocol = makeTransmitProtocol(QStringLiteral("a5"), HexTextMode);
        QVERIFY(sender.addStream(protocol.get(), 0));
        QVERIFY(sender.selectAll());
        SerialChannelParams params;
        params.portName = pty.slavePath();
        params.baudRate = 115200;

        int descriptors = -1;
        const int cycles = soakCycles();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            params.timing = kStrategies[cycle % 3];
            QVERIFY2(proxy.open(params), qPrintable(QStringLiteral("cycle %1").arg(cycle)));
            sender.startPeriodSend(1);
            QVERIFY(proxy.write("\x5a", 1));
            QByteArray seen;
            QElapsedTimer clock;
            clock.start();
            while (!(seen.contains('\xa5') && seen.contains('\x5a')) && clock.elapsed() < 5000)
                seen += readMaster(pty.master(), 1, 50);
            QVERIFY2(seen.contains('\xa5') && seen.contains('\x5a'),
                     qPrintable(QStringLiteral("cycle %1 saw %2").arg(cycle).arg(QString::fromLatin1(seen.toHex()))));
            sender.stopPeriodSend();
            proxy.close();
            readMaster(pty.master(), 1 << 20, 2);
            // Counted after the first cycle, once the worker's own handles exist.
            if (cycle == 0)
                descriptors = openDescriptors();
        }
        // Qt may give back a handle it held lazily; a leak only ever adds.
        QVERIFY2(openDescriptors() <= descriptors, qPrintable(QString::number(openDescriptors())));
    }

    void periodicSendingCyclesOnATcpServer()
    {
        ChannelProxy proxy;
        StreamSender sender(&proxy);
        const auto protocol = makeTransmitProtocol(QStringLiteral("a5"), HexTextMode);
        QVERIFY(sender.addStream(protocol.get(), 0));
        QVERIFY(sender.selectAll());
        QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);

        int descriptors = -1;
        const int cycles = soakCycles();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            QVERIFY(proxy.open(serverParams(kStrategies[cycle % 3])));
            QTcpSocket client;
            client.connectToHost(QHostAddress::LocalHost, listeningPort(proxy));
            QVERIFY(client.waitForConnected(5000));
            QTRY_COMPARE_WITH_TIMEOUT(connected.count(), cycle + 1, 5000);
            sender.startPeriodSend(1);
            QVERIFY(proxy.write("\x5a", 1));
            QByteArray seen;
            QElapsedTimer clock;
            clock.start();
            while (!(seen.contains('\xa5') && seen.contains('\x5a')) && clock.elapsed() < 5000) {
                client.waitForReadyRead(5);
                seen += client.readAll();
                QCoreApplication::processEvents();
            }
            QVERIFY2(seen.contains('\xa5') && seen.contains('\x5a'), qPrintable(QStringLiteral("cycle %1").arg(cycle)));
            sender.stopPeriodSend();
            proxy.close();
            client.abort();
            if (cycle == 0)
                descriptors = openDescriptors();
        }
        // Qt may give back a handle it held lazily; a leak only ever adds.
        QVERIFY2(openDescriptors() <= descriptors, qPrintable(QString::number(openDescriptors())));
    }

    // Clients come four at a time: three are taken, the fourth waits until
    // the others leave; never more than three at once, nothing leaks.
    void tcpClientStormKeepsTheLimitAndLeaksNothing()
    {
        ChannelProxy proxy;
        int current = 0;
        int most = 0;
        connect(&proxy, &ChannelProxy::tcpClientConnected, this, [&] { most = qMax(most, ++current); });
        connect(&proxy, &ChannelProxy::tcpClientDisconnected, this, [&] { --current; });
        QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
        QSignalSpy disconnected(&proxy, &ChannelProxy::tcpClientDisconnected);
        QVERIFY(proxy.open(serverParams()));
        const quint16 port = listeningPort(proxy);

        int descriptors = -1;
        const int rounds = soakCycles() / 4;
        for (int round = 0; round < rounds; ++round) {
            std::vector<std::unique_ptr<QTcpSocket>> clients;
            for (int i = 0; i < 4; ++i) {
                clients.push_back(std::make_unique<QTcpSocket>());
                clients.back()->connectToHost(QHostAddress::LocalHost, port);
            }
            for (auto &client : clients)
                QVERIFY(client->waitForConnected(10000));
            QTRY_COMPARE_WITH_TIMEOUT(connected.count(), round * 4 + 3, 10000);
            for (auto &client : clients)
                round % 2 ? client->abort() : client->disconnectFromHost();
            QTRY_COMPARE_WITH_TIMEOUT(disconnected.count(), round * 4 + 4, 10000);
            QCOMPARE(connected.count(), round * 4 + 4);
            clients.clear();
            QCoreApplication::processEvents();
            if (round == 0)
                descriptors = openDescriptors();
        }
        QCOMPARE(most, 3);
        QCOMPARE(current, 0);
        // Qt may give back a handle it held lazily; a leak only ever adds.
        QVERIFY2(openDescriptors() <= descriptors, qPrintable(QString::number(openDescriptors())));
        proxy.close();
    }
};

DORVANE_APP_TEST_MAIN(TestSoak)
#include "tst_soak.moc"

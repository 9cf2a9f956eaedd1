// The network channels driven directly, as the worker thread drives them,
// for what the proxy never lets a caller reach: writes to a channel that was
// closed or never bound, and records of the wrong kind.
#include "tcpclientchannel.h"
#include "tcpserverchannel.h"
#include "udpchannel.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

NetChannelParams udpParams(quint16 remotePort, quint16 localPort = 0, TimingStrategy timing = CoarseTiming)
{
    NetChannelParams p(Udp);
    p.timing = timing;
    p.localAddress = QStringLiteral("127.0.0.1");
    p.localPort = localPort;
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = remotePort;
    return p;
}

int pendingAfter(QUdpSocket &socket, int ms)
{
    socket.waitForReadyRead(ms);
    int count = 0;
    while (socket.hasPendingDatagrams()) {
        socket.receiveDatagram();
        ++count;
    }
    return count;
}

} // namespace

class NetChannelDirectTest : public QObject
{
    Q_OBJECT
private slots:
    void udpWriteAfterCloseSendsNothing_data();
    void udpWriteAfterCloseSendsNothing();
    void udpThatFailedToBindNeverSends();
    void recordsOfTheWrongKindAreRefused();
    void tcpWritesWithoutConnectionAreRefused();
};

void NetChannelDirectTest::udpWriteAfterCloseSendsNothing_data()
{
    QTest::addColumn<int>("timing");
    QTest::newRow("coarse") << int(CoarseTiming);
    QTest::newRow("high resolution") << int(HighResolutionTiming);
}

void NetChannelDirectTest::udpWriteAfterCloseSendsNothing()
{
    QFETCH(int, timing);
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    UdpChannel channel;
    QSignalSpy written(&channel, &Channel::bytesWritten);
    QVERIFY(channel.configure(udpParams(peer.localPort(), 0, TimingStrategy(timing))));
    QVERIFY(channel.open());
    QVERIFY(channel.write("a", 1));
    QCOMPARE(pendingAfter(peer, 1000), 1);

    channel.close();
    QVERIFY(!channel.isOpen());
    QVERIFY(!channel.write("b", 1));
    QCOMPARE(pendingAfter(peer, 200), 0);
    QCOMPARE(written.count(), 1);
    // A second close changes nothing.
    channel.close();
    QVERIFY(!channel.write("c", 1));
}

void NetChannelDirectTest::udpThatFailedToBindNeverSends()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(kLoopback, 0, QAbstractSocket::DontShareAddress));
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    UdpChannel channel;
    QSignalSpy written(&channel, &Channel::bytesWritten);
    QVERIFY(!channel.configure(udpParams(peer.localPort(), holder.localPort())));
    QVERIFY(!channel.write("x", 1));
    QCOMPARE(pendingAfter(peer, 200), 0);
    QCOMPARE(written.count(), 0);
    channel.close();
}

void NetChannelDirectTest::recordsOfTheWrongKindAreRefused()
{
    ChannelParams base;
    base.type = Udp;
    QVERIFY(!UdpChannel().configure(base));
    base.type = TcpClient;
    QVERIFY(!TcpClientChannel().configure(base));
    base.type = TcpServer;
    QVERIFY(!TcpServerChannel().configure(base));

    // A network record whose type names another channel.
    QVERIFY(!UdpChannel().configure(NetChannelParams(TcpServer)));
    QVERIFY(!TcpClientChannel().configure(NetChannelParams(Udp)));
    QVERIFY(!TcpServerChannel().configure(NetChannelParams(TcpClient)));
}

void NetChannelDirectTest::tcpWritesWithoutConnectionAreRefused()
{
    TcpClientChannel client;
    QSignalSpy clientWritten(&client, &Channel::bytesWritten);
    NetChannelParams p(TcpClient);
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = 9;
    QVERIFY(client.configure(p));
    QVERIFY(!client.write("x", 1));
    QVERIFY(!client.write(nullptr, 4));
    QCOMPARE(clientWritten.count(), 0);

    TcpServerChannel server;
    QSignalSpy serverWritten(&server, &Channel::bytesWritten);
    NetChannelParams s(TcpServer);
    s.localAddress = QStringLiteral("127.0.0.1");
    QVERIFY(server.configure(s));
    QVERIFY(server.open());
    QVERIFY(!server.write("x", 1));
    QCOMPARE(serverWritten.count(), 0);
    server.close();
    QVERIFY(!server.isOpen());
}

QTEST_GUILESS_MAIN(NetChannelDirectTest)
#include "tst_netchanneldirect.moc"

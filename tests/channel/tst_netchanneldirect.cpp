// The UDP channel driven directly, as the worker thread drives it, for what
// the proxy never lets a caller reach: writes to a channel that was closed or
// never bound.
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

QTEST_GUILESS_MAIN(NetChannelDirectTest)
#include "tst_netchanneldirect.moc"

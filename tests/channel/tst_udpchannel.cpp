// The UDP channel through the proxy, with QUdpSocket peers on 127.0.0.1:
// unicast both ways, the shared-address bind and bind failures, closing in
// every timing strategy, multicast on the loopback interface, and datagram
// floods of large and of tiny datagrams.
#include <dorvane/Channel.h>

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <atomic>
#include <thread>

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

NetChannelParams udpParams(quint16 remotePort, quint16 localPort = 0)
{
    NetChannelParams p(Udp);
    p.localAddress = QStringLiteral("127.0.0.1");
    p.localPort = localPort;
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = remotePort;
    return p;
}

// The channel's own port, read back from its profile "UDP a:p -> ...".
quint16 localPort(const ChannelProxy &proxy)
{
    const QString profile = proxy.channelProfile();
    const int colon = profile.indexOf(QLatin1Char(':'));
    const int arrow = profile.indexOf(QStringLiteral(" -> "));
    return colon > 0 && arrow > colon ? quint16(profile.mid(colon + 1, arrow - colon - 1).toUInt()) : 0;
}

QList<QByteArray> payloads(const QSignalSpy &spy)
{
    QList<QByteArray> all;
    for (const QList<QVariant> &args : spy)
        all.append(args.at(1).toByteArray());
    return all;
}

QList<QByteArray> receiveAll(QUdpSocket &socket, int waitMs = 200)
{
    QList<QByteArray> all;
    while (socket.hasPendingDatagrams() || socket.waitForReadyRead(waitMs)) {
        while (socket.hasPendingDatagrams())
            all.append(socket.receiveDatagram().data());
    }
    return all;
}

QNetworkInterface loopbackInterface()
{
    for (const QNetworkInterface &candidate : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry &entry : candidate.addressEntries()) {
            if (entry.ip() == kLoopback)
                return candidate;
        }
    }
    return QNetworkInterface();
}

QHostAddress randomGroup()
{
    return QHostAddress(QStringLiteral("239.255.%1.%2")
                            .arg(QRandomGenerator::global()->bounded(1, 255))
                            .arg(QRandomGenerator::global()->bounded(1, 255)));
}

} // namespace

class UdpChannelTest : public QObject
{
    Q_OBJECT
private slots:
    void unicastBothWays();
    void chunksCarryWorkerStampsOnePerDatagram();
    void sharedBindAndBindFailures();
    void closeStopsSendingInEveryStrategy_data();
    void closeStopsSendingInEveryStrategy();
    void multicastOnLoopback();
    void floodNeverHoldsTheWorker();
    void tinyDatagramFloodQueuesBoundedChunks();
};

void UdpChannelTest::unicastBothWays()
{
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QVERIFY(proxy.open(udpParams(peer.localPort())));
    QVERIFY(proxy.isOpen());
    const quint16 port = localPort(proxy);
    QVERIFY(port != 0);
    QCOMPARE(proxy.channelProfile(),
             QStringLiteral("UDP 127.0.0.1:%1 -> 127.0.0.1:%2").arg(port).arg(peer.localPort()));

    proxy.write("one", 3);
    proxy.write("two", 3);
    QCOMPARE(receiveAll(peer), QList<QByteArray>({"one", "two"}));
    QTRY_COMPARE(written.count(), 2);

    // One signal per datagram, never merged or split.
    peer.writeDatagram("alpha", kLoopback, port);
    peer.writeDatagram("be", kLoopback, port);
    peer.writeDatagram(QByteArray(40000, 'g'), kLoopback, port);
    QTRY_COMPARE(arrived.count(), 3);
    QCOMPARE(payloads(arrived), QList<QByteArray>({"alpha", "be", QByteArray(40000, 'g')}));
}

void UdpChannelTest::chunksCarryWorkerStampsOnePerDatagram()
{
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy chunks(&proxy, &ChannelProxy::chunkArrived);
    QSignalSpy written(&proxy, &ChannelProxy::chunkWritten);
    QVERIFY(proxy.open(udpParams(peer.localPort())));
    const quint16 port = localPort(proxy);

    // More than one batch's worth, in one burst.
    const qint64 before = channelMonotonicUs();
    const int count = 600;
    for (int i = 0; i < count; ++i)
        peer.writeDatagram(QByteArray::number(i), kLoopback, port);
    QTRY_COMPARE(chunks.count(), count);
    const qint64 after = channelMonotonicUs();
    QCOMPARE(arrived.count(), count);

    qint64 previous = before;
    for (int i = 0; i < count; ++i) {
        const ChannelChunk chunk = chunks.at(i).at(0).value<ChannelChunk>();
        QCOMPARE(chunk.bytes, QByteArray::number(i));
        QCOMPARE(arrived.at(i).at(1).toByteArray(), chunk.bytes);
        QCOMPARE(arrived.at(i).at(0).toDateTime(), chunk.time);
        QVERIFY(chunk.source.isEmpty());
        QVERIFY(chunk.monotonicUs >= previous && chunk.monotonicUs <= after);
        previous = chunk.monotonicUs;
    }
    // Both clocks tell the same span, and the wall-clock time reads as local.
    const ChannelChunk first = chunks.first().at(0).value<ChannelChunk>();
    const ChannelChunk last = chunks.last().at(0).value<ChannelChunk>();
    const qint64 wallSpanMs = first.time.msecsTo(last.time);
    QVERIFY2(qAbs(wallSpanMs - (last.monotonicUs - first.monotonicUs) / 1000) <= 20,
             qPrintable(QString::number(wallSpanMs)));
    QVERIFY(qAbs(first.time.msecsTo(QDateTime::currentDateTime())) < 5000);
    QCOMPARE(first.time.offsetFromUtc(), QDateTime::currentDateTime().offsetFromUtc());

    const qint64 beforeWrite = channelMonotonicUs();
    proxy.write("out", 3);
    QTRY_COMPARE(written.count(), 1);
    const ChannelChunk out = written.at(0).at(0).value<ChannelChunk>();
    QCOMPARE(out.bytes, QByteArray("out"));
    QVERIFY(out.monotonicUs >= beforeWrite && out.monotonicUs <= channelMonotonicUs());
}

void UdpChannelTest::sharedBindAndBindFailures()
{
    {
        // Two sockets may share the port when both ask for it.
        QUdpSocket other;
        QVERIFY(other.bind(kLoopback, 0, QAbstractSocket::ShareAddress));
        ChannelProxy proxy;
        QVERIFY(proxy.open(udpParams(9, other.localPort())));
        QCOMPARE(localPort(proxy), other.localPort());
    }
    {
        QUdpSocket exclusive;
        QVERIFY(exclusive.bind(kLoopback, 0, QAbstractSocket::DontShareAddress));
        ChannelProxy proxy;
        QVERIFY(!proxy.open(udpParams(9, exclusive.localPort())));
        QVERIFY(!proxy.isOpen());
        QCOMPARE(proxy.channelProfile(), QString());
        // Writing without a channel is harmless.
        QVERIFY(proxy.write("x", 1));
    }
    {
        ChannelProxy proxy;
        NetChannelParams p = udpParams(9);
        p.localAddress = QStringLiteral("not-an-address");
        QVERIFY(!proxy.open(p));
        QCOMPARE(proxy.channelProfile(), QString());
    }
}

void UdpChannelTest::closeStopsSendingInEveryStrategy_data()
{
    QTest::addColumn<int>("timing");
    QTest::newRow("coarse") << int(CoarseTiming);
    QTest::newRow("precise") << int(PreciseTiming);
    QTest::newRow("high resolution") << int(HighResolutionTiming);
}

void UdpChannelTest::closeStopsSendingInEveryStrategy()
{
    QFETCH(int, timing);
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    NetChannelParams p = udpParams(peer.localPort());
    p.timing = TimingStrategy(timing);
    QVERIFY(proxy.open(p));
    proxy.write("before", 6);
    QCOMPARE(receiveAll(peer), QList<QByteArray>({"before"}));

    proxy.close();
    QVERIFY(!proxy.isOpen());
    QTRY_COMPARE(written.count(), 1);
    proxy.write("after", 5);
    QVERIFY(receiveAll(peer).isEmpty());
    QCOMPARE(written.count(), 1);
}

void UdpChannelTest::multicastOnLoopback()
{
    const QNetworkInterface loopback = loopbackInterface();
    if (!loopback.isValid())
        QSKIP("no interface carries 127.0.0.1");
    const QHostAddress group = randomGroup();

    // A member of the group on the loopback interface, as a device would be.
    QUdpSocket member;
    QVERIFY(member.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::ShareAddress));
    if (!member.joinMulticastGroup(group, loopback))
        QSKIP("this machine does not join multicast groups on the loopback interface");
    member.setMulticastInterface(loopback);
    {
        QUdpSocket probe;
        probe.bind(kLoopback, 0);
        probe.setMulticastInterface(loopback);
        probe.writeDatagram("probe", group, member.localPort());
        if (receiveAll(member, 500) != QList<QByteArray>({"probe"}))
            QSKIP("this machine does not route multicast on the loopback interface");
    }

    ChannelProxy proxy;
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    NetChannelParams p = udpParams(member.localPort());
    p.remoteAddress = QStringLiteral("127.0.0.2"); // not used while a group is set
    p.multicastAddress = group.toString();
    QVERIFY(proxy.open(p));
    const quint16 port = localPort(proxy);
    QVERIFY(proxy.channelProfile().endsWith(
        QStringLiteral(" -> (M)%1:%2").arg(group.toString()).arg(member.localPort())));

    proxy.write("to the group", 12);
    QCOMPARE(receiveAll(member, 500), QList<QByteArray>({"to the group"}));
    QTRY_COMPARE(written.count(), 1);

    // The member answers the group and the channel, as one of its members, hears it.
    member.writeDatagram("from the group", group, port);
    QTRY_COMPARE(payloads(arrived), QList<QByteArray>({"from the group"}));
}

void UdpChannelTest::floodNeverHoldsTheWorker()
{
    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QUdpSocket peer;
    QVERIFY(peer.bind(kLoopback, 0));
    QVERIFY(proxy.open(udpParams(peer.localPort())));
    const quint16 port = localPort(proxy);

    auto flood = [port](int ms, std::atomic<int> *sent) {
        QUdpSocket socket;
        const QByteArray datagram(16000, 'f');
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            if (socket.writeDatagram(datagram, kLoopback, port) > 0)
                sent->fetch_add(1);
        }
    };

    // While this thread does not take what arrives, the channel stops reading
    // instead of queueing the whole flood for it.
    std::atomic<int> sentWhileBusy{0};
    std::thread busyFlood(flood, 600, &sentWhileBusy);
    QThread::msleep(800);
    busyFlood.join();
    int queued = -1;
    while (queued != arrived.count()) {
        queued = arrived.count();
        QTest::qWait(100);
    }

    // Requests still reach the worker while datagrams pour in.
    std::atomic<int> sent{0};
    std::thread liveFlood(flood, 1000, &sent);
    QTRY_VERIFY(arrived.count() > queued);
    QElapsedTimer clock;
    clock.start();
    proxy.write("through", 7);
    QTRY_COMPARE(written.count(), 1);
    proxy.close();
    const qint64 closeMs = clock.elapsed();
    liveFlood.join();
    QVERIFY2(closeMs < 3000, qPrintable(QString::number(closeMs)));

    // 16000-byte datagrams: the channel holds back at about 8 MiB.
    if (sentWhileBusy.load() < 8000)
        QSKIP("the flood was too slow on this machine to tell a held reader from a free one");
    QVERIFY2(queued < 3000500, qPrintable(QStringLiteral("%1 of %2").arg(queued).arg(sentWhileBusy.load())));
}

void UdpChannelTest::tinyDatagramFloodQueuesBoundedChunks()
{
    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QVERIFY(proxy.open(udpParams(9)));
    const quint16 port = localPort(proxy);

    // Datagrams of 0 to 8 bytes, as fast as the peer can send them, while this
    // (the receiving) thread is held busy for a second.
    std::atomic<bool> flooding{true};
    std::atomic<int> sent{0};
    std::thread flood([&] {
        QUdpSocket socket;
        const QByteArray bytes("12345678");
        for (int i = 0; flooding.load(); ++i) {
            if (socket.writeDatagram(bytes.left(i % 9), kLoopback, port) >= 0)
                sent.fetch_add(1);
        }
    });
    QThread::msleep(1000);
    flooding.store(false);
    flood.join();

    // What the channel queued while this thread was busy, plus what the
    // socket's 4 MiB kernel buffer still held for it (some ten thousand tiny
    // datagrams, each taking a few hundred bytes of it): never the whole flood.
    int queued = -1;
    while (queued != arrived.count()) {
        queued = arrived.count();
        QTest::qWait(200);
    }
    for (const QList<QVariant> &args : arrived)
        QVERIFY(args.at(1).toByteArray().size() <= 8);

    // Having caught up, the channel reads again.
    QUdpSocket peer;
    peer.writeDatagram("after the flood", kLoopback, port);
    QTRY_VERIFY(!arrived.isEmpty() && arrived.last().at(1).toByteArray() == "after the flood");

    if (sent.load() < 40000)
        QSKIP("the flood was too slow on this machine to tell a held reader from a free one");
    QVERIFY2(queued < 25000, qPrintable(QStringLiteral("%1 of %2").arg(queued).arg(sent.load())));
}

QTEST_GUILESS_MAIN(UdpChannelTest)
#include "tst_udpchannel.moc"

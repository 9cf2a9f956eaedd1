// The TCP client channel through the proxy, against a QTcpServer on 127.0.0.1:
// connecting and the states it reports, traffic both ways, the peer leaving,
// refused connections and their error text, binding, and a peer that floods
// a receiver which is not taking its bytes.
#include "spiedbytes.h"

#include <dorvane/Channel.h>

#include <QLoggingCategory>
#include <QMutex>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

NetChannelParams clientParams(quint16 remotePort, const QString &localAddress = QString(),
                              quint16 localPort = 0)
{
    NetChannelParams p(TcpClient);
    p.localAddress = localAddress;
    p.localPort = localPort;
    p.remoteAddress = QStringLiteral("127.0.0.1");
    p.remotePort = remotePort;
    return p;
}

// A port on which nothing listens (for as long as the test needs it).
quint16 closedPort()
{
    QTcpServer probe;
    if (!probe.listen(kLoopback, 0))
        return 0;
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

// A plain listening socket on 127.0.0.1, for peers that must behave below
// what QTcpSocket allows; a receive window when one is given. -1 on failure.
int rawListener(quint16 *port, int receiveWindow = 0)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener < 0)
        return -1;
    if (receiveWindow > 0)
        ::setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &receiveWindow, sizeof receiveWindow);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(listener, 4) != 0
        || ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        ::close(listener);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return listener;
}

// Catches the channel's debug lines, which come from the worker thread.
QMutex gLogLock;
QStringList gLog;
void captureLog(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg)
        return;
    QMutexLocker lock(&gLogLock);
    gLog.append(message);
}

} // namespace

class TcpClientChannelTest : public QObject
{
    Q_OBJECT
private slots:
    void connectsAndCarriesTrafficBothWays();
    void refusedConnectionSaysWhyAndStaysUnbound();
    void peerCloseDeliversLastBytesAndReportsClosed();
    void closeByUserEndsTheConnection();
    void bindsToGivenLocalAddressOrFailsToConfigure();
    void floodIsHeldBackWhileReceiverIsBusy();
    void closeWithUnsentBytesReportsClosedOnce();
    void reconnectsWithBackOffUntilClosed();
};

void TcpClientChannelTest::connectsAndCarriesTrafficBothWays()
{
    QTcpServer server;
    QVERIFY(server.listen(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy states(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);

    {
        QMutexLocker lock(&gLogLock);
        gLog.clear();
    }
    // The socket states go to a debug category that is off by default.
    QLoggingCategory::setFilterRules(QStringLiteral("dorvane.channel.tcpclient.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    // The connection normally completes after open returns.
    proxy.open(clientParams(server.serverPort()));
    QTRY_COMPARE(states.count(), 1);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(states.at(0).at(0).value<ChannelType>(), TcpClient);
    QCOMPARE(states.at(0).at(1).value<ChanneState>(), Opened);
    QVERIFY(proxy.isOpen());
    {
        QMutexLocker lock(&gLogLock);
        QVERIFY2(gLog.contains(QStringLiteral("TCP client socket state: ConnectedState")),
                 qPrintable(gLog.join(QLatin1Char('|'))));
    }

    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *peer = server.nextPendingConnection();
    QCOMPARE(proxy.channelProfile(), QStringLiteral("Tcp Client127.0.0.1:%1 -> 127.0.0.1:%2")
                                         .arg(peer->peerPort())
                                         .arg(server.serverPort()));

    QVERIFY(proxy.write("ping", 4));
    QTRY_COMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(1).toByteArray(), QByteArray("ping"));
    QTRY_COMPARE(peer->bytesAvailable(), qint64(4));
    QCOMPARE(peer->readAll(), QByteArray("ping"));

    peer->write("pong");
    QTRY_COMPARE(spiedBytes(arrived), QByteArray("pong"));
}

void TcpClientChannelTest::refusedConnectionSaysWhyAndStaysUnbound()
{
    const quint16 port = closedPort();
    QVERIFY(port != 0);
    ChannelProxy proxy;
    QSignalSpy errors(&proxy, &ChannelProxy::channelError);
    QSignalSpy states(&proxy, &ChannelProxy::stateChanged);

    QVERIFY(!proxy.open(clientParams(port)));
    QTRY_COMPARE(errors.count(), 1);
    QVERIFY2(errors.at(0).at(0).toString().contains(QStringLiteral("refused"), Qt::CaseInsensitive),
             qPrintable(errors.at(0).at(0).toString()));
    QVERIFY(!proxy.isOpen());
    // An empty local address means no bind: nothing local to show.
    QCOMPARE(proxy.channelProfile(), QStringLiteral("Tcp Client:0 -> 127.0.0.1:%1").arg(port));
    QTRY_VERIFY(!states.isEmpty());
    QCOMPARE(states.last().at(1).value<ChanneState>(), Closed);
    // Writing to a failed connection is refused quietly.
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QVERIFY(proxy.write("x", 1));
    QTest::qWait(50);
    QCOMPARE(written.count(), 0);
}

void TcpClientChannelTest::peerCloseDeliversLastBytesAndReportsClosed()
{
    QTcpServer server;
    QVERIFY(server.listen(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy states(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy errors(&proxy, &ChannelProxy::channelError);
    proxy.open(clientParams(server.serverPort()));
    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *peer = server.nextPendingConnection();
    QTRY_COMPARE(states.count(), 1);

    peer->write("last words");
    peer->disconnectFromHost();
    QTRY_COMPARE(states.count(), 2);
    QCOMPARE(states.at(1).at(1).value<ChanneState>(), Closed);
    QCOMPARE(spiedBytes(arrived), QByteArray("last words"));
    QVERIFY(!proxy.isOpen());
    // A peer closing its end is the normal end of a connection, no error.
    QTest::qWait(50);
    QCOMPARE(errors.count(), 0);
}

void TcpClientChannelTest::closeByUserEndsTheConnection()
{
    QTcpServer server;
    QVERIFY(server.listen(kLoopback, 0));
    ChannelProxy proxy;
    QSignalSpy states(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy errors(&proxy, &ChannelProxy::channelError);
    proxy.open(clientParams(server.serverPort()));
    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *peer = server.nextPendingConnection();
    QTRY_VERIFY(proxy.isOpen());

    proxy.close();
    QVERIFY(!proxy.isOpen());
    QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
    QTRY_COMPARE(states.count(), 2);
    QCOMPARE(states.at(1).at(1).value<ChanneState>(), Closed);
    QCOMPARE(errors.count(), 0);
}

void TcpClientChannelTest::bindsToGivenLocalAddressOrFailsToConfigure()
{
    QTcpServer server;
    QVERIFY(server.listen(kLoopback, 0));
    {
        ChannelProxy proxy;
        const quint16 localPort = closedPort();
        proxy.open(clientParams(server.serverPort(), QStringLiteral("127.0.0.1"), localPort));
        QTRY_VERIFY(server.hasPendingConnections());
        QCOMPARE(server.nextPendingConnection()->peerPort(), localPort);
    }
    {
        // The listening server holds the port.
        ChannelProxy proxy;
        QVERIFY(
            !proxy.open(clientParams(server.serverPort(), QStringLiteral("127.0.0.1"), server.serverPort())));
        QCOMPARE(proxy.channelProfile(), QString());
    }
    {
        ChannelProxy proxy;
        QVERIFY(!proxy.open(clientParams(server.serverPort(), QStringLiteral("not-an-address"), 0)));
        QCOMPARE(proxy.channelProfile(), QString());
    }
}

void TcpClientChannelTest::floodIsHeldBackWhileReceiverIsBusy()
{
    // A raw peer on its own thread writes as fast as the channel lets it,
    // while this thread (the receiver of bytesArrived) is busy.
    quint16 port = 0;
    const int listener = rawListener(&port);
    QVERIFY(listener >= 0);

    ChannelProxy proxy;
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    proxy.open(clientParams(port));
    const int peer = ::accept(listener, nullptr, nullptr);
    QVERIFY(peer >= 0);
    QTRY_VERIFY(proxy.isOpen());

    std::atomic<bool> busy{true};
    std::atomic<qint64> pushedWhileBusy{0};
    std::atomic<qint64> pushed{0};
    constexpr qint64 kTotal = 96 * 1024 * 1024;
    std::thread writer([&] {
        QByteArray chunk(64 * 1024, '\0');
        quint8 next = 0;
        while (pushed.load() < kTotal) {
            for (char &c : chunk)
                c = char(next++);
            const ssize_t sent = ::send(peer, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL);
            if (sent <= 0)
                break;
            pushed.fetch_add(sent);
            if (busy.load())
                pushedWhileBusy.store(pushed.load());
            // Whatever was not taken goes out with the next pass.
            next = quint8(next - (chunk.size() - sent));
        }
        ::shutdown(peer, SHUT_WR);
    });

    // Without a limit the worker would keep reading and queueing; with it the
    // kernel's window soon stops the peer.
    QThread::msleep(1500);
    const qint64 heldAt = pushedWhileBusy.load();
    busy.store(false);
    QVERIFY2(heldAt < 48 * 1024 * 1024, qPrintable(QString::number(heldAt)));

    // Once the receiver takes its bytes again, everything arrives intact.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            qint64 total = 0;
            for (const QList<QVariant> &args : arrived)
                total += args.at(1).toByteArray().size();
            return total == kTotal;
        }(),
        60000);
    writer.join();
    quint8 expected = 0;
    for (const QList<QVariant> &args : arrived) {
        const QByteArray bytes = args.at(1).toByteArray();
        for (char c : bytes) {
            if (quint8(c) != expected)
                QFAIL("bytes out of order");
            ++expected;
        }
    }
    ::close(peer);
    ::close(listener);
}

void TcpClientChannelTest::closeWithUnsentBytesReportsClosedOnce()
{
    // A peer that accepts and never reads: what the channel writes piles up
    // unsent, and the user closes in the middle of it.
    // A small window: the kernel takes little for it, the rest stays in the
    // channel's socket.
    quint16 port = 0;
    const int listener = rawListener(&port, 4096);
    QVERIFY(listener >= 0);

    ChannelProxy proxy;
    QSignalSpy states(&proxy, &ChannelProxy::stateChanged);
    const QByteArray chunk(512 * 1024, 'x');
    constexpr int kCycles = 12;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        proxy.open(clientParams(port));
        const int peer = ::accept(listener, nullptr, nullptr);
        QVERIFY(peer >= 0);
        QTRY_VERIFY(proxy.isOpen());
        // More than the kernel's send buffer takes; the close that follows
        // runs after these writes on the channel's thread.
        for (int i = 0; i < 16; ++i)
            proxy.write(chunk.constData(), chunk.size());
        proxy.close();
        ::close(peer);
    }
    QTRY_COMPARE(states.count(), 2 * kCycles);
    QTest::qWait(100);
    QCOMPARE(states.count(), 2 * kCycles);
    for (int i = 0; i < states.count(); ++i)
        QCOMPARE(states.at(i).at(1).value<ChanneState>(), i % 2 == 0 ? Opened : Closed);
    ::close(listener);
}

void TcpClientChannelTest::reconnectsWithBackOffUntilClosed()
{
    QTcpServer server;
    QVERIFY(server.listen(kLoopback, 0));
    const quint16 port = server.serverPort();
    ChannelProxy proxy;
    QSignalSpy state(&proxy, &ChannelProxy::stateChanged);
    QSignalSpy reconnecting(&proxy, &ChannelProxy::reconnectingChanged);
    QSignalSpy errors(&proxy, &ChannelProxy::channelError);
    NetChannelParams params = clientParams(port);
    params.autoReconnect = true;
    proxy.open(params);
    QVERIFY(server.waitForNewConnection(5000));
    QTRY_VERIFY(proxy.isOpen());

    // The peer goes away and is gone for a while: attempts 0.5 s and 1.5 s
    // after the loss fail quietly, the next one, 2 s later, finds it back.
    server.close();
    delete server.nextPendingConnection();
    QTRY_VERIFY(proxy.isReconnecting());
    QTRY_COMPARE(reconnecting.count(), 1);
    QElapsedTimer lost;
    lost.start();
    QTest::qWait(1700);
    QVERIFY(!proxy.isOpen());
    QVERIFY(server.listen(kLoopback, port));
    QTRY_VERIFY_WITH_TIMEOUT(proxy.isOpen(), 5000);
    // Back at the third attempt, 0.5 + 1 + 2 s after the loss; the clock started
    // when the loss was seen, which on a busy machine is a few hundred ms late.
    QVERIFY2(lost.elapsed() >= 2600, qPrintable(QString::number(lost.elapsed())));
    QTRY_COMPARE(reconnecting.count(), 2);
    QVERIFY(!proxy.isReconnecting());
    // One Closed for the loss, one Opened for each connection; no notice per attempt.
    QTRY_COMPARE(state.count(), 3);
    QCOMPARE(state.at(1).at(1).value<ChanneState>(), Closed);
    QCOMPARE(state.at(2).at(1).value<ChanneState>(), Opened);
    QVERIFY(errors.count() <= 1);

    // A close by the user ends the retries.
    QTRY_VERIFY(server.hasPendingConnections());
    delete server.nextPendingConnection();
    QTRY_VERIFY(proxy.isReconnecting());
    proxy.close();
    QVERIFY(!proxy.isReconnecting());
    QVERIFY(!server.waitForNewConnection(1500));
}

QTEST_GUILESS_MAIN(TcpClientChannelTest)
#include "tst_tcpclientchannel.moc"

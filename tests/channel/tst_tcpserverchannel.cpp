// The TCP server channel through the proxy, with QTcpSocket clients on
// 127.0.0.1: the three-client limit and the client that waits for a place,
// the client texts, traffic to and from every client, a client that stops
// reading, closing, and a storm of clients that come and go.
#include "spiedbytes.h"

#include <dorvane/Channel.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

const QHostAddress kLoopback(QHostAddress::LocalHost);

NetChannelParams serverParams(quint16 port = 0)
{
    NetChannelParams p(TcpServer);
    p.localAddress = QStringLiteral("127.0.0.1");
    p.localPort = port;
    return p;
}

// The port the server listens on, read back from its profile.
quint16 listeningPort(const ChannelProxy &proxy)
{
    const QString profile = proxy.channelProfile();
    const QString prefix = QStringLiteral("Tcp Server 127.0.0.1:");
    return profile.startsWith(prefix) ? quint16(profile.mid(prefix.size()).toUInt()) : 0;
}

std::unique_ptr<QTcpSocket> connectClient(quint16 port)
{
    auto client = std::make_unique<QTcpSocket>();
    client->connectToHost(kLoopback, port);
    return client;
}

QString textOf(const QTcpSocket &client)
{
    return QStringLiteral("127.0.0.1:%1").arg(client.localPort());
}

QStringList texts(const QSignalSpy &spy)
{
    QStringList all;
    for (const QList<QVariant> &args : spy)
        all.append(args.at(0).toString());
    return all;
}

} // namespace

class TcpServerChannelTest : public QObject
{
    Q_OBJECT
private slots:
    void listensAndDescribesItself();
    void fourthClientWaitsUntilOneLeaves();
    void writesReachEveryClientAndCountOnce();
    void writeToReachesOnlyTheChosenClient();
    void clientThatStopsReadingNeitherBlocksNorCountsTwice();
    void closeEndsEveryClient();
    void clientsComingAndGoingNeverUseUpThePlaces();
};

void TcpServerChannelTest::listensAndDescribesItself()
{
    ChannelProxy proxy;
    QVERIFY(proxy.open(serverParams()));
    QVERIFY(proxy.isOpen());
    QVERIFY(listeningPort(proxy) != 0);

    // A port that is taken makes open fail; the closed channel stays.
    QTcpServer holder;
    QVERIFY(holder.listen(kLoopback, 0));
    QVERIFY(!proxy.open(serverParams(holder.serverPort())));
    QVERIFY(!proxy.isOpen());
    QVERIFY(!proxy.open([] {
        NetChannelParams p = serverParams();
        p.localAddress = QStringLiteral("not-an-address");
        return p;
    }()));
}

void TcpServerChannelTest::fourthClientWaitsUntilOneLeaves()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy disconnected(&proxy, &ChannelProxy::tcpClientDisconnected);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QSignalSpy chunks(&proxy, &ChannelProxy::chunkArrived);
    QSignalSpy waitingSpy(&proxy, &ChannelProxy::tcpClientWaiting);
    QVERIFY(proxy.open(serverParams()));
    const quint16 port = listeningPort(proxy);

    // All four at once, so that they may reach the server in one burst.
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 4; ++i)
        clients.push_back(connectClient(port));
    for (auto &client : clients)
        QVERIFY(client->waitForConnected(5000));
    QTRY_COMPARE(connected.count(), 3);
    QTest::qWait(300);
    QCOMPARE(connected.count(), 3);

    // Each client is known by its own "address:port".
    QStringList waiting;
    for (auto &client : clients)
        waiting.append(textOf(*client));
    for (const QString &taken : texts(connected))
        QVERIFY(waiting.removeOne(taken));
    QCOMPARE(waiting.size(), 1);
    // The one kept waiting is named as such, once.
    QTRY_COMPARE(texts(waitingSpy), waiting);
    QTcpSocket *fourth = nullptr;
    QTcpSocket *leaving = nullptr;
    for (auto &client : clients)
        (textOf(*client) == waiting.first() ? fourth : leaving) = client.get();
    fourth->write("late");
    QTest::qWait(100);
    QCOMPARE(arrived.count(), 0);

    const QString leavingText = textOf(*leaving);
    leaving->disconnectFromHost();
    QTRY_COMPARE(disconnected.count(), 1);
    QCOMPARE(disconnected.at(0).at(0).toString(), leavingText);
    QTRY_COMPARE(connected.count(), 4);
    QCOMPARE(connected.at(3).at(0).toString(), waiting.first());
    QTRY_COMPARE(spiedBytes(arrived), QByteArray("late"));
    // What it sent is labelled with it.
    QCOMPARE(chunks.count(), 1);
    QCOMPARE(chunks.at(0).at(0).value<ChannelChunk>().source, waiting.first());
    QCOMPARE(waitingSpy.count(), 1);
}

void TcpServerChannelTest::writeToReachesOnlyTheChosenClient()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy written(&proxy, &ChannelProxy::chunkWritten);
    QVERIFY(proxy.open(serverParams()));
    auto chosen = connectClient(listeningPort(proxy));
    auto other = connectClient(listeningPort(proxy));
    QTRY_COMPARE(connected.count(), 2);

    QVERIFY(proxy.writeTo(textOf(*chosen), "only you", 8));
    QTRY_COMPARE(chosen->bytesAvailable(), qint64(8));
    QCOMPARE(chosen->readAll(), QByteArray("only you"));
    QCOMPARE(written.count(), 1);
    const ChannelChunk chunk = written.at(0).at(0).value<ChannelChunk>();
    QCOMPARE(chunk.source, textOf(*chosen));
    QCOMPARE(chunk.bytes, QByteArray("only you"));

    // A client that is not there gets nothing and nothing is echoed; a
    // write to all is labelled with no client.
    QVERIFY(proxy.writeTo(QStringLiteral("127.0.0.1:1"), "nobody", 6));
    QVERIFY(proxy.write("all", 3));
    QTRY_COMPARE(written.count(), 2);
    QVERIFY(written.at(1).at(0).value<ChannelChunk>().source.isEmpty());
    QTRY_COMPARE(other->bytesAvailable(), qint64(3));
    QCOMPARE(other->readAll(), QByteArray("all"));
    QTRY_COMPARE(chosen->bytesAvailable(), qint64(3));

    NetChannelParams udp(Udp);
    udp.localAddress = QStringLiteral("127.0.0.1");
    QVERIFY(proxy.open(udp));
    QVERIFY(!proxy.writeTo(textOf(*chosen), "x", 1));
}

void TcpServerChannelTest::writesReachEveryClientAndCountOnce()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QSignalSpy arrived(&proxy, &ChannelProxy::bytesArrived);
    QVERIFY(proxy.open(serverParams()));
    // Without clients nothing is written.
    proxy.write("lost", 4);

    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(connectClient(listeningPort(proxy)));
    QTRY_COMPARE(connected.count(), 3);
    QCOMPARE(written.count(), 0);

    proxy.write("hello", 5);
    for (auto &client : clients) {
        QTRY_COMPARE(client->bytesAvailable(), qint64(5));
        QCOMPARE(client->readAll(), QByteArray("hello"));
    }
    QTRY_COMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(1).toByteArray(), QByteArray("hello"));

    // Bytes from different clients arrive alike.
    clients[0]->write("a");
    QTRY_COMPARE(arrived.count(), 1);
    clients[2]->write("c");
    QTRY_COMPARE(spiedBytes(arrived), QByteArray("ac"));
}

void TcpServerChannelTest::clientThatStopsReadingNeitherBlocksNorCountsTwice()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy written(&proxy, &ChannelProxy::bytesWritten);
    QVERIFY(proxy.open(serverParams()));
    auto reader = connectClient(listeningPort(proxy));
    // A raw socket with a small window that nobody reads until the end.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    QVERIFY(stalled >= 0);
    const int window = 4096;
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(listeningPort(proxy));
    QVERIFY(::connect(stalled, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    QTRY_COMPARE(connected.count(), 2);

    constexpr int kChunks = 64;
    const QByteArray chunk(512 * 1024, 'z');
    qint64 received = 0;
    for (int i = 0; i < kChunks; ++i) {
        proxy.write(chunk.constData(), chunk.size());
        // The live peer keeps up, while the stalled one falls behind.
        QTRY_VERIFY_WITH_TIMEOUT((received += reader->readAll().size()) == qint64(i + 1) * chunk.size(),
                                 20000);
    }
    QTRY_COMPARE(written.count(), kChunks);

    // The client that did not read was not handed everything to keep.
    const timeval wait{0, 300000};
    ::setsockopt(stalled, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    qint64 stalledTotal = 0;
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t got = ::recv(stalled, buffer.data(), buffer.size(), 0);
        if (got <= 0)
            break;
        stalledTotal += got;
    }
    ::close(stalled);
    QVERIFY2(stalledTotal < kChunks * chunk.size(), qPrintable(QString::number(stalledTotal)));
}

void TcpServerChannelTest::closeEndsEveryClient()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy disconnected(&proxy, &ChannelProxy::tcpClientDisconnected);
    QVERIFY(proxy.open(serverParams()));
    const quint16 port = listeningPort(proxy);
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(connectClient(port));
    QTRY_COMPARE(connected.count(), 3);

    proxy.close();
    QVERIFY(!proxy.isOpen());
    for (auto &client : clients)
        QTRY_COMPARE(client->state(), QAbstractSocket::UnconnectedState);
    QTRY_COMPARE(disconnected.count(), 3);
    QCOMPARE(texts(disconnected), texts(connected));
    // Nobody listens any more.
    auto late = connectClient(port);
    QVERIFY(!late->waitForConnected(1000));
}

void TcpServerChannelTest::clientsComingAndGoingNeverUseUpThePlaces()
{
    ChannelProxy proxy;
    QSignalSpy connected(&proxy, &ChannelProxy::tcpClientConnected);
    QSignalSpy disconnected(&proxy, &ChannelProxy::tcpClientDisconnected);
    QVERIFY(proxy.open(serverParams()));
    const quint16 port = listeningPort(proxy);

    // Clients that connect, send and leave at once, many at a time, some
    // before the server has even taken them.
    constexpr int kRounds = 20;
    constexpr int kBurst = 5;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < kRounds; ++round) {
        // A server whose places leak stops taking clients, and connects stall.
        QVERIFY2(clock.elapsed() < 30000, "clients are no longer taken");
        std::vector<std::unique_ptr<QTcpSocket>> burst;
        for (int i = 0; i < kBurst; ++i)
            burst.push_back(connectClient(port));
        for (auto &client : burst) {
            // Every client must reach the kernel's accept queue, or the
            // count below waits for a connection that never was; on a busy
            // machine a connect can take more than a second.
            QVERIFY(client->waitForConnected(10000));
            client->write("x");
            client->flush();
            if (round % 2)
                client->abort();
            else
                client->disconnectFromHost();
        }
    }
    // Every one of them is taken in the end and reported as gone.
    QTRY_VERIFY_WITH_TIMEOUT(disconnected.count() == kRounds * kBurst, 60000);
    QCOMPARE(connected.count(), kRounds * kBurst);

    // Every place is free again.
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 3; ++i)
        clients.push_back(connectClient(port));
    QTRY_COMPARE(connected.count(), kRounds * kBurst + 3);
}

QTEST_GUILESS_MAIN(TcpServerChannelTest)
#include "tst_tcpserverchannel.moc"

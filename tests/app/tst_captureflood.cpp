// "Log to File" under a flood: a server on 127.0.0.1 pours 100 MB into the
// application's TCP client while a raw capture runs; the file must hold
// every byte, in order, while the dialogue view leaves chunks out.
#include "apptestsupport.h"

#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguecapture.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"

#include <QCryptographicHash>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <atomic>
#include <thread>

namespace {

// Sanitizer builds run several times slower: a tenth of the flood still
// outruns the view many times over.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr qint64 kFloodBytes = 10 * 1024 * 1024;
#else
constexpr qint64 kFloodBytes = 100 * 1024 * 1024;
#endif

// A listening socket on 127.0.0.1 whose one client gets kFloodBytes of a
// pattern no shift or repeat of a block would leave unchanged, written as
// fast as the kernel takes them from a thread of its own.
class FloodServer
{
public:
    FloodServer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_listen, 1) != 0
            || ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~FloodServer()
    {
        m_go = true;
        m_release = true;
        // Wakes an accept that never got its client.
        if (m_listen >= 0)
            ::shutdown(m_listen, SHUT_RDWR);
        if (m_thread.joinable())
            m_thread.join();
        if (m_listen >= 0)
            ::close(m_listen);
    }

    quint16 port() const { return m_port; }

    // Accepts the client at once; the flood waits for pour().
    void start()
    {
        m_thread = std::thread([this] {
            const int client = ::accept(m_listen, nullptr, nullptr);
            if (client < 0)
                return;
            while (!m_go)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            QCryptographicHash hash(QCryptographicHash::Sha256);
            QByteArray block(64 * 1024, Qt::Uninitialized);
            quint64 state = 0x9E3779B97F4A7C15ull;
            qint64 sent = 0;
            while (sent < kFloodBytes) {
                for (int i = 0; i < block.size(); i += 8) {
                    state ^= state << 13;
                    state ^= state >> 7;
                    state ^= state << 17;
                    memcpy(block.data() + i, &state, 8);
                }
                const int size = int(qMin<qint64>(block.size(), kFloodBytes - sent));
                hash.addData(block.constData(), size);
                int offset = 0;
                while (offset < size) {
                    const ssize_t n
                        = ::send(client, block.constData() + offset, size_t(size - offset), MSG_NOSIGNAL);
                    if (n <= 0) {
                        ::close(client);
                        return;
                    }
                    offset += int(n);
                }
                sent += size;
            }
            m_digest = hash.result();
            m_sent = sent;
            ::shutdown(client, SHUT_WR);
            // Held open until the test is done, so the client's end comes from it.
            while (!m_release)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ::close(client);
        });
    }
    void pour() { m_go = true; }
    void release() { m_release = true; }
    qint64 sent() const { return m_sent; }
    QByteArray digest() const { return m_sent == kFloodBytes ? m_digest : QByteArray(); }

private:
    int m_listen = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_go{false};
    std::atomic<bool> m_release{false};
    std::atomic<qint64> m_sent{0};
    QByteArray m_digest; // written before m_sent, read after it
};

QByteArray fileDigest(const QString &path, qint64 *size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    *size = file.size();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

class TestCaptureFlood : public QObject
{
    Q_OBJECT

private slots:
    void captureHoldsEveryByteOfAFloodWhileTheViewSkips()
    {
        MainWindow *main = Application::instance()->mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(main));
        DialogueWindow *dialogue = main->dialogueWindow();
        ChannelProxy *channel = Application::instance()->channelProxy();

        FloodServer server;
        QVERIFY(server.port() != 0);
        server.start();
        NetChannelParams params(TcpClient);
        params.remoteAddress = QStringLiteral("127.0.0.1");
        params.remotePort = server.port();
        channel->open(params);
        QTRY_VERIFY(channel->isOpen());

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("flood.bin"));
        QVERIFY(dialogue->startCapture(path, false, 0));
        const qint64 droppedBefore = dialogue->echoEdit()->droppedBytes();

        QElapsedTimer clock;
        clock.start();
        server.pour();
        QTRY_VERIFY_WITH_TIMEOUT(dialogue->capture()->fileSize() >= quint64(kFloodBytes), 120000);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(server.sent(), kFloodBytes);
        dialogue->stopCapture();
        server.release();
        channel->close();

        qint64 size = 0;
        const QByteArray digest = fileDigest(path, &size);
        QCOMPARE(size, kFloodBytes);
        QCOMPARE(digest.toHex(), server.digest().toHex());
        // The view could not draw it all and said it left bytes out; the
        // file did not.
        QVERIFY(dialogue->echoEdit()->droppedBytes() > droppedBefore);
        qInfo("%lld MB captured in %lld ms", kFloodBytes / (1024 * 1024), elapsed);
    }
};

DORVANE_APP_TEST_MAIN(TestCaptureFlood)
#include "tst_captureflood.moc"

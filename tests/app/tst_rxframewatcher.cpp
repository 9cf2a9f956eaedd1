// The frame watcher on its own thread: frames cut from a stream and from
// packets, the payload it publishes, and the bounds that keep a flood or a
// protocol that never matches from growing its buffers.
#include "apptestsupport.h"

#include "services/rxframewatcher.h"

#include <dorvane/Core.h>

#include <QSemaphore>

#include <cstring>

namespace {

struct FieldDef
{
    int typeId;
    const char *params;
    int flag; // 0 value, 1 head, 2 tail
};

// Head AA 55, a little-endian 16-bit value, an 8-bit value, tail 0D: 7 bytes.
const FieldDef kFramed[] = {{10, "0xAA,0x55", 1}, {11, "", 0}, {10, "", 0}, {10, "0x0D", 2}};
// Head AA, an 8-bit value, a flag 77 checked in place, tail 0D.
const FieldDef kChecked[] = {{10, "0xAA", 1}, {10, "", 0}, {10, "0x77", 1}, {10, "0x0D", 2}};
// Neither head nor tail: every chunk is one frame of one 16-bit value.
const FieldDef kBare[] = {{11, "", 0}};

template<size_t N>
std::unique_ptr<RxProtocol> protocolOf(const FieldDef (&fields)[N])
{
    auto protocol = std::make_unique<RxProtocol>();
    for (const FieldDef &def : fields) {
        RxField *field = protocol->AddField(-1);
        field->SetTypeId(def.typeId);
        RxValueMetaInfo *value = field->GetValueMetaInfo();
        value->SetParamList(def.params);
        if (def.flag == 1)
            value->SetHeadFlag();
        else if (def.flag == 2)
            value->SetTailFlag();
    }
    return protocol;
}

// The measured values of one published frame, as integers.
QList<int> valuesOf(const QByteArray &payload)
{
    qint32 count = 0;
    std::memcpy(&count, payload.constData(), sizeof count);
    if (payload.size() != int(sizeof count) + count * int(sizeof(FrameValue)))
        return {-1};
    QList<int> values;
    for (int i = 0; i < count; ++i) {
        FrameValue record;
        std::memcpy(&record, payload.constData() + sizeof count + i * sizeof(FrameValue), sizeof record);
        values << record.value.GetInt();
    }
    return values;
}

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Blocks the thread it is moved to until released.
class ThreadBlocker : public QObject
{
    Q_OBJECT

public:
    QSemaphore held;
    QSemaphore released;

public slots:
    void block()
    {
        held.release();
        released.acquire();
    }
};

// Keeps the watcher's thread busy while it lives, so no timing step runs.
class WorkerHold
{
public:
    explicit WorkerHold(RxFrameWatcher *watcher)
        : m_blocker(new ThreadBlocker)
    {
        m_blocker->moveToThread(watcher->workerThread());
        QMetaObject::invokeMethod(m_blocker, "block", Qt::QueuedConnection);
        m_blocker->held.acquire();
    }
    ~WorkerHold()
    {
        m_blocker->released.release();
        // Goes on its own thread once the slot has returned.
        m_blocker->deleteLater();
    }

private:
    ThreadBlocker *m_blocker;
};

} // namespace

class TestRxFrameWatcher : public QObject
{
    Q_OBJECT

    std::unique_ptr<RxFrameWatcher> m_watcher;
    QList<QList<int>> m_frames;

    // Waits for the frames to arrive, and a few steps more for any extra.
    bool waitForFrames(int count)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_frames.size() < count && clock.elapsed() < 5000)
            QTest::qWait(5);
        QTest::qWait(50);
        return m_frames.size() == count;
    }

private slots:
    void init()
    {
        m_frames.clear();
        m_watcher = std::make_unique<RxFrameWatcher>();
        connect(m_watcher.get(), &RxFrameWatcher::frameArrived, this,
                [this](const QByteArray &payload) { m_frames << valuesOf(payload); });
    }
    void cleanup() { m_watcher.reset(); }

    void applicationOwnsOneRunningWatcher()
    {
        QVERIFY(dvApp->frameWatcher());
        QVERIFY(dvApp->frameWatcher()->workerThread()->isRunning());
        QVERIFY(!dvApp->frameWatcher()->isTimingCycleRunning());
        // Nothing is kept while no timing cycle runs.
        dvApp->frameWatcher()->inputData(QByteArray(100, 'x'));
        QCOMPARE(dvApp->frameWatcher()->pendingBytes(), 0);
    }

    // One and a half frames, garbage first: one frame now, the rest with the
    // next chunk; many frames in one chunk all come out in order.
    void streamFrames()
    {
        QVERIFY(m_watcher->setProtocol(protocolOf(kFramed)));
        m_watcher->startTimingCycle();
        m_watcher->inputData(hex("0102aa"
                                 "aa55020103"
                                 "0d"
                                 "aa5503"));
        QVERIFY(waitForFrames(1));
        QCOMPARE(m_frames.value(0), (QList<int>{0x0102, 3}));
        QCOMPARE(m_watcher->pendingBytes(), 3);
        m_watcher->inputData(hex("00040d"));
        QVERIFY(waitForFrames(2));
        QCOMPARE(m_frames.value(1), (QList<int>{3, 4}));

        QByteArray many;
        for (int i = 0; i < 500; ++i)
            many += hex("aa55") + QByteArray(1, char(i & 0xFF)) + QByteArray(1, char(i >> 8)) + hex("000d");
        m_watcher->inputData(many);
        QVERIFY(waitForFrames(502));
        QCOMPARE(m_frames.value(501), (QList<int>{499, 0}));
        QCOMPARE(m_watcher->pendingBytes(), 0);
    }

    // A frame whose checked flag does not match publishes nothing and its
    // bytes go; bytes that can no longer start a head go too.
    void badFramesAndGarbageAreDropped()
    {
        QVERIFY(m_watcher->setProtocol(protocolOf(kChecked)));
        m_watcher->startTimingCycle();
        m_watcher->inputData(hex("aa0166"
                                 "0d"
                                 "aa0277"
                                 "0d"));
        QVERIFY(waitForFrames(1));
        QCOMPARE(m_frames.value(0), QList<int>{2});
        m_watcher->inputData(QByteArray(5000, '\x11'));
        QTRY_VERIFY(m_watcher->pendingBytes() < 4);
        m_watcher->inputData(hex("aa0377") + hex("0d"));
        QVERIFY(waitForFrames(2));
        QCOMPARE(m_watcher->droppedBytes(), 0);
    }

    // Each packet is one candidate: an incomplete one is dropped after one
    // try and never joins the next.
    void packetFrames()
    {
        QVERIFY(m_watcher->setProtocol(protocolOf(kFramed)));
        m_watcher->setPacketMode(true);
        m_watcher->startTimingCycle();
        m_watcher->inputData(hex("aa550500"));
        m_watcher->inputData(hex("060d"));
        m_watcher->inputData(hex("aa550700080d"));
        QVERIFY(waitForFrames(1));
        QCOMPARE(m_frames.value(0), (QList<int>{7, 8}));
        QCOMPARE(m_watcher->pendingPackets(), 0);
    }

    // Bytes and packets that come while the watcher's thread is busy stay
    // within their bounds, the oldest dropped and counted; once it steps
    // again, a stream whose head was dropped recovers at the next frame.
    void boundsHold()
    {
        QVERIFY(m_watcher->setProtocol(protocolOf(kFramed)));
        m_watcher->startTimingCycle();
        {
            const WorkerHold hold(m_watcher.get());
            m_watcher->inputData(hex("aa55"));
            for (int i = 0; i < 16; ++i)
                m_watcher->inputData(QByteArray(64 * 1024, '\x01'));
            m_watcher->inputData(QByteArray(100, '\x01'));
            QCOMPARE(m_watcher->pendingBytes(), RxFrameWatcher::maxStreamBytes);
            QCOMPARE(m_watcher->droppedBytes(), 102);
        }
        m_watcher->inputData(hex("aa55090009"
                                 "0d"));
        QVERIFY(waitForFrames(1));
        QCOMPARE(m_frames.value(0), (QList<int>{9, 9}));
        QCOMPARE(m_watcher->pendingBytes(), 0);

        m_watcher->setPacketMode(true);
        {
            const WorkerHold hold(m_watcher.get());
            for (int i = 0; i < RxFrameWatcher::maxPackets + 5; ++i)
                m_watcher->inputData(QByteArray(1, char(i)));
            QCOMPARE(m_watcher->pendingPackets(), RxFrameWatcher::maxPackets);
            QCOMPARE(m_watcher->droppedPackets(), 5);
        }
        QTRY_COMPARE(m_watcher->pendingPackets(), 0);
        // Stopping forgets what waits and keeps nothing more.
        m_watcher->stopTimingCycle();
        m_watcher->inputData(hex("aa55010001"
                                 "0d"));
        QCOMPARE(m_watcher->pendingPackets(), 0);
    }
};

DORVANE_APP_TEST_MAIN(TestRxFrameWatcher)
#include "tst_rxframewatcher.moc"

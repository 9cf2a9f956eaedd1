#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QThread>
#include <QVector>

#include <dorvane/app_export.h>
#include <dorvane/protocolparser.h>

#include <atomic>
#include <memory>
#include <mutex>

class Context;
class FrameRelay;
class FrameRoleCheck;
class QTimer;
class RxProtocol;

// Cuts the received bytes into frames of a receive protocol on a thread of
// its own and publishes the measured values of every frame.
//
// Received chunks come in on the GUI thread through inputData(); every 10 ms,
// while the timing cycle runs, the watcher's thread parses what has arrived:
// in stream mode the chunks are one byte stream cut at the protocol's head
// and tail patterns, in packet mode each chunk is one candidate frame.
// Bytes are kept only while the timing cycle runs, and never more than
// maxStreamBytes of stream or maxPackets packets: the oldest make room and
// are counted as dropped. frameArrived is emitted on the thread that made
// the watcher (the GUI thread), so a slow receiver never holds up parsing.
class DORVANE_APP_EXPORT RxFrameWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int maxStreamBytes = 1 << 20;
    static constexpr int maxPackets = 10000;

    struct Packet
    {
        int sequence = 0;
        // Milliseconds since midnight, local time.
        int arrivalTime = 0;
        QByteArray data;
        // The host's monotonic clock at arrival, nanoseconds.
        qint64 arrivalNs = 0;
    };

    // The monotonic clock that frames are stamped with, nanoseconds.
    static qint64 monotonicNs();

    // Starts the watcher's thread, which runs until the watcher is destroyed.
    explicit RxFrameWatcher(QObject *parent = nullptr);
    // The context names the data types a protocol file may use; without one
    // loadProtocolFile refuses every file.
    explicit RxFrameWatcher(Context *context, QObject *parent = nullptr);
    ~RxFrameWatcher() override;

    // Builds the parser from the protocol, on the watcher's thread; the
    // watcher keeps the protocol. False when it cannot be built (nothing is
    // parsed until a protocol builds).
    bool setProtocol(std::unique_ptr<RxProtocol> protocol);
    // Reads a receive-protocol document and uses it.
    bool loadProtocolFile(const QString &path);

    bool isPacketMode() const { return m_packetMode.load(); }
    // Switching mode forgets what is waiting in either mode.
    void setPacketMode(bool packet);

    // Emit the timing-cycle signals; from any thread but the watcher's own.
    void startTimingCycle();
    void stopTimingCycle();
    bool isTimingCycleRunning() const { return m_cycleRunning.load(); }

    // Bytes and packets thrown away to keep within the bounds, since start.
    qint64 droppedBytes() const { return m_droppedBytes.load(); }
    qint64 droppedPackets() const { return m_droppedPackets.load(); }
    // What waits to be parsed, in bytes (stream) or packets.
    int pendingBytes() const;
    int pendingPackets() const;

    QThread *workerThread() { return &m_thread; }
    // Frames a busy receiving thread had not taken yet when more arrived.
    qint64 droppedFrames() const { return m_droppedFrames.load(); }
    static constexpr int maxUndeliveredFrames = 10000;
    // Bytes passed over while looking for a frame, in frames that could not
    // be decoded, and in packets that held no frame, since the watcher began.
    qint64 skippedBytes() const { return m_skippedBytes.load(); }

    // What the protocol's field roles found since it was set: frames whose
    // checksum failed (they are not published), counts the counter skipped
    // and frames that repeated its count.
    struct RoleCounts
    {
        qint64 checkedFrames = 0;
        qint64 checksumFailures = 0;
        qint64 sequenceGaps = 0;
        qint64 sequenceRepeats = 0;
        bool checksum = false; // the protocol has a checksum role that is checked
        bool sequence = false; // and a counter role
    };
    RoleCounts roleCounts() const;
    // The counts start again from 0 at the next parse step.
    void resetRoleCounts() { m_resetRoleCounts.store(true); }
    // Why a role of the protocol is not checked; empty when all are.
    QString roleProblem() const;

signals:
    void sigStartTimingCycle();
    void sigStopTimingCycle();
    // A 32-bit count N in host byte order, then the N frame values of the
    // frame, 32 bytes each, as the parser holds them.
    void frameArrived(QByteArray data);
    // Emitted just before frameArrived with the same payload and the
    // monotonicNs() time at which the chunk holding the frame's last byte
    // arrived.
    void frameArrivedAt(qint64 arrivalNs, QByteArray data);

public slots:
    // Takes one received chunk; called on the GUI thread.
    void inputData(const QByteArray &data);

private slots:
    void adoptProtocol();
    void applyPacketMode();
    void shutDownWorker();
    void onStartTimingCycle();
    void onStopTimingCycle();
    void timingStep();

private:
    Context *m_context = nullptr;
    void streamStep();
    void packetStep();
    void publish(qint64 arrivalNs);
    // The arrival time of the stream byte at offset in m_stream.
    qint64 arrivalOfStreamByte(int offset) const;
    // Drops the front of the worker's stream, keeping the rest.
    void dropStreamFront(int count);
    void clearQueues();
    // Moves the frames published in this step to the outbox.
    void flushOutbox();
    // Hands published frames to the thread that made the watcher.
    void deliverFrames();
    // Runs a slot of the watcher on its thread and waits for it.
    void runOnWorker(const char *slot);

    std::unique_ptr<RxProtocol> m_protocol;
    std::unique_ptr<ProtocolParser> m_parser;
    // The worker's own; its counts are published under m_mutex after each step.
    std::unique_ptr<FrameRoleCheck> m_roleCheck;
    RoleCounts m_roleCounts;
    std::atomic<bool> m_resetRoleCounts{false};
    QString m_roleProblem;
    // True when the frame at data passes its role checks (or has none).
    bool checkRoles(const char *data, const ProtocolParser::PRResult &r);
    void publishRoleCounts();
    QThread m_thread;
    QTimer *m_timer = nullptr;
    std::atomic<bool> m_packetMode{false};
    std::atomic<bool> m_cycleRunning{false};

    // Guarded by m_mutex: what the GUI thread has handed in.
    mutable std::mutex m_mutex;
    QByteArray m_streamInput;
    QList<Packet> m_packets;
    int m_packetCounter = 0;
    // Where each stream chunk ends, counted in bytes since the watcher began,
    // and when it arrived.
    struct ArrivalMark
    {
        qint64 end;
        qint64 ns;
    };
    QVector<ArrivalMark> m_inputMarks;
    qint64 m_inputTotal = 0;

    QList<QByteArray> m_outbox;
    QVector<qint64> m_outboxTimes;
    bool m_buildResult = false;
    std::unique_ptr<RxProtocol> m_pendingProtocol;
    std::atomic<bool> m_pendingPacketMode{false};

    // The worker's own: stream bytes taken over from m_streamInput.
    QByteArray m_stream;
    std::atomic<int> m_streamSize{0};
    // The stream count of the byte just past m_stream, and the marks of the
    // chunks m_stream holds.
    qint64 m_streamEnd = 0;
    QVector<ArrivalMark> m_streamMarks;
    QList<QByteArray> m_published;
    QVector<qint64> m_publishedTimes;

    // Lives on the constructing thread; frameArrived is emitted there.
    std::unique_ptr<FrameRelay> m_relay;
    friend class FrameRelay;

    std::atomic<qint64> m_droppedBytes{0};
    std::atomic<qint64> m_droppedPackets{0};
    std::atomic<qint64> m_droppedFrames{0};
    std::atomic<qint64> m_skippedBytes{0};
};

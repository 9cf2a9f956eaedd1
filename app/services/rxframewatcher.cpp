#include "services/rxframewatcher.h"

#include <dorvane/Core.h>

#include <dorvane/framerolecheck.h>
#include <dorvane/protocolparser.h>
#include <dorvane/rxprotocol.h>

#include <QTime>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstring>

// Lives on the thread that made the watcher and hands the published frames
// on there.
class FrameRelay : public QObject
{
    Q_OBJECT

public:
    explicit FrameRelay(RxFrameWatcher *watcher)
        : m_watcher(watcher)
    {
    }

public slots:
    void deliver() { m_watcher->deliverFrames(); }

private:
    RxFrameWatcher *m_watcher;
};

namespace {

constexpr int kTimingStepMs = 10;
// Frames handed to the receiving thread per event.
constexpr int kDeliverySlice = 256;

} // namespace

RxFrameWatcher::RxFrameWatcher(QObject *parent)
    : RxFrameWatcher(nullptr, parent)
{
}

RxFrameWatcher::RxFrameWatcher(Context *context, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_protocol(std::make_unique<RxProtocol>())
    , m_parser(std::make_unique<ProtocolParser>())
    , m_roleCheck(std::make_unique<FrameRoleCheck>())
    , m_relay(std::make_unique<FrameRelay>(this))
{
    m_timer = new QTimer(this);
    m_timer->setInterval(kTimingStepMs);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &RxFrameWatcher::timingStep);
    connect(this, &RxFrameWatcher::sigStartTimingCycle, this, &RxFrameWatcher::onStartTimingCycle,
            Qt::BlockingQueuedConnection);
    connect(this, &RxFrameWatcher::sigStopTimingCycle, this, &RxFrameWatcher::onStopTimingCycle,
            Qt::BlockingQueuedConnection);
    moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("RxFrameWatcher"));
    m_thread.start();
}

RxFrameWatcher::~RxFrameWatcher()
{
    // The parser, the protocol and the timer go on the thread that used them.
    runOnWorker("shutDownWorker");
    m_thread.quit();
    m_thread.wait();
    // Orders what the worker did last before the members go.
    std::lock_guard<std::mutex> lock(m_mutex);
    m_outbox.clear();
    m_outboxTimes.clear();
}

qint64 RxFrameWatcher::monotonicNs()
{
    // steady_clock is CLOCK_MONOTONIC here, the clock QElapsedTimer reads.
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Requests cross to the worker as slots, and what they carry lies in members
// under the mutex: the sanitizer cannot see Qt's queue, but sees the mutex.
void RxFrameWatcher::runOnWorker(const char *slot)
{
    const bool here = QThread::currentThread() == &m_thread || !m_thread.isRunning();
    QMetaObject::invokeMethod(this, slot, here ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
}

void RxFrameWatcher::shutDownWorker()
{
    delete m_timer;
    m_timer = nullptr;
    m_cycleRunning.store(false);
    m_stream.clear();
    m_streamMarks.clear();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_parser.reset();
    m_protocol.reset();
    m_roleCheck.reset();
    m_streamInput.clear();
    m_inputMarks.clear();
    m_packets.clear();
}

bool RxFrameWatcher::setProtocol(std::unique_ptr<RxProtocol> protocol)
{
    if (!protocol)
        return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pendingProtocol = std::move(protocol);
    }
    // Blocking: the worker has adopted the protocol when this returns.
    runOnWorker("adoptProtocol");
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_buildResult;
}

void RxFrameWatcher::adoptProtocol()
{
    std::unique_ptr<RxProtocol> adopted;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        adopted = std::move(m_pendingProtocol);
    }
    if (!adopted)
        return;
    auto parser = std::make_unique<ProtocolParser>();
    const bool built = parser->Build(adopted.get());
    std::string problem;
    m_roleCheck->Build(adopted.get(), &problem);
    // A new protocol starts on a clean stream.
    m_stream.clear();
    m_streamMarks.clear();
    m_streamSize.store(0);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_buildResult = built;
    m_roleProblem = QString::fromStdString(problem);
    m_roleCounts = RoleCounts();
    m_roleCounts.checksum = m_roleCheck->ChecksChecksum();
    m_roleCounts.sequence = m_roleCheck->ChecksSequence();
    m_parser = std::move(parser);
    m_protocol = std::move(adopted);
    m_streamInput.clear();
    m_inputMarks.clear();
    m_packets.clear();
}

bool RxFrameWatcher::loadProtocolFile(const QString &path)
{
    auto protocol = std::make_unique<RxProtocol>();
    if (!m_context || !protocol->Load(path.toLocal8Bit().toStdString(), m_context))
        return false;
    return setProtocol(std::move(protocol));
}

void RxFrameWatcher::setPacketMode(bool packet)
{
    m_pendingPacketMode.store(packet);
    runOnWorker("applyPacketMode");
}

void RxFrameWatcher::applyPacketMode()
{
    m_packetMode.store(m_pendingPacketMode.load());
    clearQueues();
}

void RxFrameWatcher::startTimingCycle()
{
    if (QThread::currentThread() == &m_thread)
        onStartTimingCycle();
    else
        emit sigStartTimingCycle();
}

void RxFrameWatcher::stopTimingCycle()
{
    if (QThread::currentThread() == &m_thread)
        onStopTimingCycle();
    else
        emit sigStopTimingCycle();
}

int RxFrameWatcher::pendingBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streamInput.size() + m_streamSize.load();
}

int RxFrameWatcher::pendingPackets() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_packets.size();
}

void RxFrameWatcher::inputData(const QByteArray &data)
{
    // Nothing is kept while nothing parses.
    if (data.isEmpty() || !m_cycleRunning.load())
        return;
    const qint64 now = monotonicNs();
    if (!m_packetMode.load()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streamInput.append(data);
        m_inputTotal += data.size();
        m_inputMarks.append({m_inputTotal, now});
        const int excess = m_streamInput.size() - maxStreamBytes;
        if (excess > 0) {
            m_streamInput.remove(0, excess);
            m_droppedBytes.fetch_add(excess);
            // Marks of chunks wholly thrown away go with them.
            const qint64 start = m_inputTotal - m_streamInput.size();
            int gone = 0;
            while (gone < m_inputMarks.size() - 1 && m_inputMarks.at(gone).end <= start)
                ++gone;
            m_inputMarks.remove(0, gone);
        }
        return;
    }
    Packet packet;
    packet.arrivalTime = QTime::currentTime().msecsSinceStartOfDay();
    packet.arrivalNs = now;
    packet.data = data;
    std::lock_guard<std::mutex> lock(m_mutex);
    packet.sequence = ++m_packetCounter;
    m_packets.append(packet);
    while (m_packets.size() > maxPackets) {
        m_packets.removeFirst();
        m_droppedPackets.fetch_add(1);
    }
}

void RxFrameWatcher::onStartTimingCycle()
{
    if (!m_timer)
        return;
    m_timer->start();
    m_cycleRunning.store(true);
}

void RxFrameWatcher::onStopTimingCycle()
{
    if (m_timer)
        m_timer->stop();
    m_cycleRunning.store(false);
    clearQueues();
}

void RxFrameWatcher::clearQueues()
{
    m_stream.clear();
    m_streamMarks.clear();
    m_streamSize.store(0);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streamInput.clear();
    m_inputMarks.clear();
    m_packets.clear();
}

void RxFrameWatcher::timingStep()
{
    if (m_resetRoleCounts.exchange(false) && m_roleCheck) {
        m_roleCheck->Reset();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_roleCounts.checkedFrames = m_roleCounts.checksumFailures = 0;
        m_roleCounts.sequenceGaps = m_roleCounts.sequenceRepeats = 0;
    }
    if (m_packetMode.load())
        packetStep();
    else
        streamStep();
}

void RxFrameWatcher::dropStreamFront(int count)
{
    m_stream.remove(0, count);
    m_streamSize.store(m_stream.size());
    const qint64 start = m_streamEnd - m_stream.size();
    int gone = 0;
    while (gone < m_streamMarks.size() && m_streamMarks.at(gone).end <= start)
        ++gone;
    m_streamMarks.remove(0, gone);
}

qint64 RxFrameWatcher::arrivalOfStreamByte(int offset) const
{
    const qint64 position = m_streamEnd - m_stream.size() + offset;
    // The chunk holding a byte is the first one that ends past it.
    const auto mark = std::upper_bound(m_streamMarks.cbegin(), m_streamMarks.cend(), position,
                                       [](qint64 at, const ArrivalMark &m) { return at < m.end; });
    if (mark != m_streamMarks.cend())
        return mark->ns;
    return m_streamMarks.isEmpty() ? monotonicNs() : m_streamMarks.last().ns;
}

void RxFrameWatcher::streamStep()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stream.append(m_streamInput);
        m_streamInput.clear();
        m_streamMarks += m_inputMarks;
        m_inputMarks.clear();
        m_streamEnd = m_inputTotal;
    }
    const int excess = m_stream.size() - maxStreamBytes;
    if (excess > 0) {
        m_droppedBytes.fetch_add(excess);
        dropStreamFront(excess);
    }
    m_streamSize.store(m_stream.size());
    if (!m_parser || !m_parser->IsReady()) {
        // Nothing can be cut from these bytes.
        dropStreamFront(m_stream.size());
        return;
    }

    // Every complete frame waiting is handled now, not one per step. The
    // parsed front is cut once at the end, not after every frame.
    int consumed = 0;
    while (consumed < m_stream.size()) {
        const char *data = m_stream.constData() + consumed;
        const int available = m_stream.size() - consumed;
        const ProtocolParser::PRResult r = m_parser->Update(data, available, false);
        if (r.status == ProtocolParser::FrameDecoded || r.status == ProtocolParser::DecodingFailed) {
            if (r.frameEnd <= 0)
                break;
            // A frame that could not be decoded leaves its bytes but publishes nothing.
            const int end = qMin(r.frameEnd, available);
            if (r.status == ProtocolParser::FrameDecoded) {
                if (checkRoles(data, r))
                    publish(arrivalOfStreamByte(consumed + end - 1));
                if (r.headOffset > 0)
                    m_skippedBytes.fetch_add(r.headOffset);
            } else {
                m_skippedBytes.fetch_add(end);
            }
            consumed += end;
            continue;
        }
        if (r.status == ProtocolParser::HeadNotFound) {
            // Only the last bytes may still begin a head; a head is never
            // longer than a frame.
            const int keep = qMax(0, m_parser->GetFrameSize() - 1);
            if (available > keep) {
                consumed += available - keep;
                m_skippedBytes.fetch_add(available - keep);
            }
        } else if (r.headOffset > 0) {
            // The head was found further on: no frame starts before it.
            consumed += r.headOffset;
            m_skippedBytes.fetch_add(r.headOffset);
        }
        break;
    }
    dropStreamFront(consumed);
    publishRoleCounts();
    flushOutbox();
}

void RxFrameWatcher::packetStep()
{
    QList<Packet> packets;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        packets.swap(m_packets);
    }
    if (!m_parser || !m_parser->IsReady())
        return;
    // A packet is one candidate frame: parsed once, then gone.
    for (const Packet &packet : qAsConst(packets)) {
        const ProtocolParser::PRResult r
            = m_parser->Update(packet.data.constData(), packet.data.size(), true);
        if (r.status == ProtocolParser::FrameDecoded) {
            if (checkRoles(packet.data.constData(), r))
                publish(packet.arrivalNs);
            if (r.headOffset > 0)
                m_skippedBytes.fetch_add(r.headOffset);
        } else {
            m_skippedBytes.fetch_add(packet.data.size());
        }
    }
    publishRoleCounts();
    flushOutbox();
}

bool RxFrameWatcher::checkRoles(const char *data, const ProtocolParser::PRResult &r)
{
    if (!m_roleCheck->IsChecking() || r.headOffset < 0 || r.frameEnd <= r.headOffset)
        return true;
    return m_roleCheck->Check(reinterpret_cast<const unsigned char *>(data) + r.headOffset,
                              std::size_t(r.frameEnd - r.headOffset));
}

void RxFrameWatcher::publishRoleCounts()
{
    if (!m_roleCheck->IsChecking())
        return;
    const FrameRoleCheck::Counts &c = m_roleCheck->GetCounts();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_roleCounts.checkedFrames = qint64(c.frames);
    m_roleCounts.checksumFailures = qint64(c.checksumFailures);
    m_roleCounts.sequenceGaps = qint64(c.sequenceGaps);
    m_roleCounts.sequenceRepeats = qint64(c.sequenceRepeats);
}

RxFrameWatcher::RoleCounts RxFrameWatcher::roleCounts() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_roleCounts;
}

QString RxFrameWatcher::roleProblem() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_roleProblem;
}

void RxFrameWatcher::publish(qint64 arrivalNs)
{
    const std::vector<FrameValue> &values = m_parser->GetFrameValues();
    const qint32 count = qint32(values.size());
    if (count <= 0)
        return;
    static_assert(sizeof(FrameValue) == 32, "frame values are handed on as 32-byte records");
    QByteArray payload(int(sizeof count + values.size() * sizeof(FrameValue)), Qt::Uninitialized);
    std::memcpy(payload.data(), &count, sizeof count);
    std::memcpy(payload.data() + sizeof count, values.data(), values.size() * sizeof(FrameValue));
    m_published.append(payload);
    m_publishedTimes.append(arrivalNs);
}

void RxFrameWatcher::flushOutbox()
{
    if (m_published.isEmpty())
        return;
    bool idle = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        idle = m_outbox.isEmpty();
        m_outbox.append(m_published);
        m_outboxTimes += m_publishedTimes;
        const int excess = m_outbox.size() - maxUndeliveredFrames;
        if (excess > 0) {
            m_outbox.erase(m_outbox.begin(), m_outbox.begin() + excess);
            m_outboxTimes.remove(0, excess);
            m_droppedFrames.fetch_add(excess);
        }
    }
    m_published.clear();
    m_publishedTimes.clear();
    if (idle)
        QMetaObject::invokeMethod(m_relay.get(), "deliver", Qt::QueuedConnection);
}

void RxFrameWatcher::deliverFrames()
{
    // A burst is handed on in slices, so the receiving thread keeps serving
    // its other events between them.
    QList<QByteArray> frames;
    QVector<qint64> times;
    bool more = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_outbox.size() <= kDeliverySlice) {
            frames.swap(m_outbox);
            times.swap(m_outboxTimes);
        } else {
            frames = m_outbox.mid(0, kDeliverySlice);
            times = m_outboxTimes.mid(0, kDeliverySlice);
            m_outbox.erase(m_outbox.begin(), m_outbox.begin() + kDeliverySlice);
            m_outboxTimes.remove(0, kDeliverySlice);
            more = true;
        }
    }
    // The next slice waits for the timers too, so a flood of frames never
    // keeps the receiving thread's timers from running.
    if (more)
        QTimer::singleShot(1, m_relay.get(), &FrameRelay::deliver);
    for (int i = 0; i < frames.size(); ++i) {
        emit frameArrivedAt(times.at(i), frames.at(i));
        emit frameArrived(frames.at(i));
    }
}

#include "rxframewatcher.moc"

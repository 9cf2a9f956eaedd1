#include "clirun.h"

#include "services/signalwatcher.h"

#include "chunkprinter.h"
#include "expectation.h"
#include "framesource.h"
#include "periodsender.h"

#include <dorvane/capturewriter.h>
#include <dorvane/channelproxy.h>
#include <dorvane/ticktiming.h>

#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QUdpSocket>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// How many of the last received bytes a failed expectation shows.
constexpr int RecentBytes = 64;
// Connecting waits this long unless --timeout says otherwise.
constexpr int DefaultConnectMs = 5000;
// After the last write the bytes still sit in the channel's buffers; closing
// at once could cut them off. A serial line also needs the time the last
// frame takes on the wire.
constexpr int DrainMs = 20;
constexpr int MaxDrainMs = 10000;
constexpr int StatsDrainPollMs = 5;
// How long the channel may take to report a write it was handed before the
// run counts the frame as refused.
constexpr int ConfirmMs = 2000;
constexpr int ReasonWaitMs = 100;

std::int64_t wallNowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::int64_t monotonicNowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QString hostPort(const QString &host, quint16 port)
{
    return host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2").arg(host).arg(port)
                                           : QStringLiteral("%1:%2").arg(host).arg(port);
}

} // namespace

CliRun::CliRun(const CliOptions &options, Context *context, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_context(context)
{
    for (QTimer *timer :
         {&m_connectTimer, &m_sendTimer, &m_expectTimer, &m_durationTimer, &m_drainTimer, &m_confirmTimer}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&m_sendTimer, &QTimer::timeout, this, &CliRun::sendStep);
    connect(&m_drainTimer, &QTimer::timeout, this, [this] {
        // The figures of --stats want the last request's reply, or its window closed.
        if (m_options.stats) {
            m_pairing.Expire(monotonicNowUs());
            if (m_pairing.IsWaiting())
                return m_drainTimer.start(StatsDrainPollMs);
        }
        finish(ExitOk);
    });
    // The channel layer drops a write it cannot make without a word; the
    // missing written report is the only sign.
    connect(&m_confirmTimer, &QTimer::timeout, this, [this] {
        finish(ExitChannel, QStringLiteral("%1: the channel took %2 of %3 frame(s)")
                                .arg(m_channelText)
                                .arg(m_chunksWritten)
                                .arg(m_framesToSend));
    });
    connect(&m_expectTimer, &QTimer::timeout, this, [this] {
        finish(ExitExpectationNotMet,
               QStringLiteral("no match within %1 ms: %2").arg(m_options.timeoutMs).arg(unmetExpectations()));
    });
    connect(&m_durationTimer, &QTimer::timeout, this, [this] {
        const QString unmet = unmetExpectations();
        if (unmet.isEmpty())
            finish(ExitOk);
        else
            finish(ExitExpectationNotMet, QStringLiteral("the duration ran out: %1").arg(unmet));
    });
}

CliRun::~CliRun()
{
    close();
}

int CliRun::exec()
{
    if (!prepare())
        return m_status;
    QTimer::singleShot(0, this, &CliRun::openChannel);
    return QCoreApplication::exec();
}

bool CliRun::prepare()
{
    const CliOptions &o = m_options;
    QString error;
    m_source = std::make_unique<FrameSource>(m_context);
    if (!m_source->load(o, &error)) {
        m_status = ExitUsage;
        std::fprintf(stderr, "dorvane-cli: %s\n", qPrintable(error));
        return false;
    }
    if (!o.expectFrames.isEmpty()) {
        m_frames = std::make_unique<FrameMatcher>();
        if (!m_frames->load(o.expectFrames, m_context, &error)) {
            m_status = ExitUsage;
            std::fprintf(stderr, "dorvane-cli: %s\n", qPrintable(error));
            return false;
        }
    }
    if (!o.expectBytes.isEmpty())
        m_bytes = std::make_unique<BytePatternMatcher>(o.expectBytes, o.expectMask);
    if (!o.expectText.isEmpty())
        m_text = std::make_unique<TextPatternMatcher>(o.expectText);

    // With a receive protocol the decoded values are the output; chunks
    // join them only when asked for by --raw or --json.
    const bool chunks = !o.quiet && (!m_frames || o.output != CliOptions::Output::Hex);
    m_printer = std::make_unique<ChunkPrinter>(o.output, chunks);
    if (m_frames && !o.quiet) {
        m_frames->setFrameHandler([this](const std::vector<FrameMatcher::Value> &values) {
            m_printer->frame(wallNowUs(), values);
        });
    }

    switch (o.channel) {
    case CliOptions::Channel::Serial:
        m_channelText = o.serialPath;
        break;
    case CliOptions::Channel::TcpClient:
        m_channelText = QStringLiteral("TCP client to %1").arg(hostPort(o.remoteHost, o.remotePort));
        break;
    case CliOptions::Channel::TcpServer:
        m_channelText
            = QStringLiteral("TCP server on %1")
                  .arg(hostPort(o.localAddress.isEmpty() ? QStringLiteral("0.0.0.0") : o.localAddress,
                                o.localPort));
        break;
    case CliOptions::Channel::Udp:
        m_channelText
            = QStringLiteral("UDP on %1")
                  .arg(hostPort(o.localAddress.isEmpty() ? QStringLiteral("0.0.0.0") : o.localAddress,
                                o.localPort));
        if (!o.remoteHost.isEmpty())
            m_channelText += QStringLiteral(" to %1").arg(hostPort(o.remoteHost, o.remotePort));
        break;
    case CliOptions::Channel::None:
        break;
    }

    if (!o.capturePath.isEmpty()) {
        m_capture = std::make_unique<CaptureWriter>();
        // Said once, when it happens, from the writer's thread; the exit
        // status follows from the writer's state at the end.
        m_capture->SetFailureCallback([](const std::string &reason) {
            std::fprintf(stderr, "dorvane-cli: the capture stopped: %s\n", reason.c_str());
        });
        CaptureOptions capture;
        capture.path = QFile::encodeName(o.capturePath).toStdString();
        capture.interfaceName = m_channelText.toStdString();
        if (o.channel == CliOptions::Channel::Serial) {
            static const char *const parities[] = {"N", "?", "E", "O", "S", "M"};
            capture.interfaceDescription
                = QStringLiteral("%1,%2,%3,%4,%5")
                      .arg(o.serialPath)
                      .arg(o.baudRate)
                      .arg(o.dataBits)
                      .arg(o.stopBits == 3 ? QStringLiteral("1.5") : QString::number(o.stopBits))
                      .arg(QLatin1String(parities[o.parity]))
                      .toStdString();
        } else {
            capture.interfaceDescription = capture.interfaceName;
        }
        if (!m_capture->Start(capture)) {
            m_status = ExitUsage;
            std::fprintf(stderr, "dorvane-cli: cannot capture: %s\n", m_capture->GetError().c_str());
            return false;
        }
    }

    // SIGINT and SIGTERM end the run through the event loop, so the capture
    // file is complete; a reader that went away (`| head`) ends the output,
    // not the run.
    m_signalWatcher = new SignalWatcher(this);
    connect(m_signalWatcher, &SignalWatcher::stopRequested, this, &CliRun::onSignal);

    m_proxy = std::make_unique<ChannelProxy>();
    connect(m_proxy.get(), &ChannelProxy::bytesArrived, this, &CliRun::onArrived);
    connect(m_proxy.get(), &ChannelProxy::bytesWritten, this, &CliRun::onWritten);
    if (m_capture) {
        // The capture keeps the stamps the worker took at the read or write,
        // anchored to the wall clock once, so its µs never step back.
        m_captureWallOffsetUs = wallNowUs() - channelMonotonicUs();
        connect(m_proxy.get(), &ChannelProxy::chunkWritten, this,
                [this](const ChannelChunk &chunk) { capture(chunk, CaptureDirection::Written); });
        connect(m_proxy.get(), &ChannelProxy::chunkArrived, this,
                [this](const ChannelChunk &chunk) { capture(chunk, CaptureDirection::Received); });
    }
    m_pairing.SetWindowUs(qint64(m_options.replyWindowMs) * 1000);
    connect(m_proxy.get(), &ChannelProxy::chunkWritten, this,
            [this](const ChannelChunk &chunk) { onChunkWritten(chunk.monotonicUs); });
    connect(m_proxy.get(), &ChannelProxy::chunkArrived, this,
            [this](const ChannelChunk &chunk) { onChunkArrived(chunk.monotonicUs); });
    connect(m_proxy.get(), &ChannelProxy::stateChanged, this, &CliRun::onStateChanged);
    connect(m_proxy.get(), &ChannelProxy::channelError, this, &CliRun::onChannelError);
    if (m_options.stats) {
        m_timing = std::make_unique<TickTiming>();
        // Only the periodic sender's writes are ticks.
        connect(m_proxy.get(), &ChannelProxy::chunkWritten, this, [this](const ChannelChunk &chunk) {
            if (m_periodSender)
                m_timing->AddWrite(chunk.monotonicUs);
        });
        connect(m_proxy.get(), &ChannelProxy::chunkArrived, this,
                [this](const ChannelChunk &chunk) { m_timing->AddArrival(chunk.monotonicUs); });
    }
    connect(m_proxy.get(), &ChannelProxy::tcpClientConnected, this, [this](const QString &) {
        if (m_phase == Phase::WaitingForClient)
            channelReady();
    });
    return true;
}

void CliRun::openChannel()
{
    const CliOptions &o = m_options;
    if (o.channel == CliOptions::Channel::Serial) {
        SerialChannelParams params;
        params.timing = o.timing;
        params.portName = o.serialPath;
        params.baudRate = o.baudRate;
        params.dataBits = o.dataBits;
        params.stopBits = o.stopBits;
        params.parity = o.parity;
        params.flowControl = o.flow;
        if (!m_proxy->open(params))
            return finish(ExitChannel, openFailureReason());
        return channelReady();
    }

    const ChannelType types[] = {SerialPort, SerialPort, TcpClient, TcpServer, Udp};
    NetChannelParams params(types[int(o.channel)]);
    params.timing = o.timing;
    params.remoteAddress = o.remoteHost;
    params.remotePort = o.remotePort;
    params.localAddress = o.localAddress;
    params.localPort = o.localPort;
    params.multicastAddress = o.multicastGroup;
    if (o.channel != CliOptions::Channel::TcpClient && params.localAddress.isEmpty())
        params.localAddress = QStringLiteral("0.0.0.0");

    const bool opened = m_proxy->open(params);
    switch (o.channel) {
    case CliOptions::Channel::TcpClient:
        if (opened)
            return channelReady();
        m_phase = Phase::Connecting;
        connect(&m_connectTimer, &QTimer::timeout, this, [this] {
            finish(ExitChannel, QStringLiteral("%1: no connection within %2 ms")
                                    .arg(m_channelText)
                                    .arg(m_connectTimer.interval()));
        });
        m_connectTimer.start(o.timeoutGiven ? o.timeoutMs : DefaultConnectMs);
        return;
    case CliOptions::Channel::TcpServer:
        if (!opened)
            return finish(ExitChannel, openFailureReason());
        m_phase = Phase::WaitingForClient;
        if (o.timeoutGiven) {
            connect(&m_connectTimer, &QTimer::timeout, this, [this] {
                finish(
                    ExitChannel,
                    QStringLiteral("%1: no client within %2 ms").arg(m_channelText).arg(m_options.timeoutMs));
            });
            m_connectTimer.start(o.timeoutMs);
        }
        if (o.durationMs > 0)
            m_durationTimer.start(int(qMin<qint64>(o.durationMs, std::numeric_limits<int>::max())));
        return;
    default:
        if (!opened)
            return finish(ExitChannel, openFailureReason());
        return channelReady();
    }
}

QString CliRun::openFailureReason() const
{
    const CliOptions &o = m_options;
    QString reason;
    switch (o.channel) {
    case CliOptions::Channel::Serial: {
        // The channel says only that the port did not open; the system says why.
        const QByteArray path = QFile::encodeName(o.serialPath);
        const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            reason = QStringLiteral("the port is busy or is not a serial device");
        } else {
            reason = QString::fromLocal8Bit(std::strerror(errno));
        }
        break;
    }
    case CliOptions::Channel::TcpServer: {
        QTcpServer probe;
        if (!probe.listen(QHostAddress(o.localAddress.isEmpty() ? QStringLiteral("0.0.0.0") : o.localAddress),
                          o.localPort))
            reason = probe.errorString();
        break;
    }
    case CliOptions::Channel::Udp: {
        QUdpSocket probe;
        if (!probe.bind(QHostAddress(o.localAddress.isEmpty() ? QStringLiteral("0.0.0.0") : o.localAddress),
                        o.localPort, QUdpSocket::ShareAddress))
            reason = probe.errorString();
        break;
    }
    default:
        break;
    }
    if (reason.isEmpty())
        reason = QStringLiteral("the channel cannot be opened");
    return QStringLiteral("%1: %2").arg(m_channelText, reason);
}

void CliRun::channelReady()
{
    m_connectTimer.stop();
    m_phase = Phase::Sending;
    const CliOptions &o = m_options;
    if (o.durationMs > 0 && !m_durationTimer.isActive())
        m_durationTimer.start(int(qMin<qint64>(o.durationMs, std::numeric_limits<int>::max())));
    // Without an end to the sending the reply is waited for from the start.
    const bool endless = m_source->isEmpty() || o.count == 0;
    if (endless && o.hasExpectation() && o.durationMs == 0)
        m_expectTimer.start(o.timeoutMs);
    startSending();
}

void CliRun::startSending()
{
    const CliOptions &o = m_options;
    if (m_source->isEmpty())
        return sendingDone();
    const int items = m_source->itemCount();
    m_framesToSend = o.count == 0 ? 0 : o.count * items;

    const bool periodic = (items == 1 && o.count != 1) || (items > 1 && o.intervalMs > 0);
    if (periodic) {
        m_periodSender = std::make_unique<PeriodSender>(m_proxy.get(), m_source.get(), m_framesToSend);
        if (m_timing)
            m_timing->Start(std::int64_t(o.intervalMs > 0 ? o.intervalMs : 1000) * 1000);
        connect(
            m_periodSender.get(), &PeriodSender::finished, this,
            [this] {
                if (m_proxy)
                    m_proxy->stopPeriodSend();
                // Its last written report may have come already.
                if (m_phase == Phase::Sending)
                    m_confirmTimer.start(ConfirmMs);
            },
            Qt::QueuedConnection);
        m_proxy->startPeriodSend(m_periodSender.get(), o.intervalMs > 0 ? o.intervalMs : 1000);
        return;
    }
    sendStep();
}

void CliRun::sendStep()
{
    if (m_phase != Phase::Sending)
        return;
    const QByteArray frame = m_source->next();
    m_proxy->write(frame.constData(), frame.size());
    ++m_framesSent;
    if (m_framesToSend == 0 || m_framesSent < m_framesToSend)
        m_sendTimer.start(m_source->lastDelayMs());
    else
        m_confirmTimer.start(ConfirmMs);
}

int CliRun::drainMs() const
{
    if (m_chunksWritten == 0)
        return 0;
    if (m_options.channel != CliOptions::Channel::Serial)
        return DrainMs;
    // Ten bit times per byte (start, eight data, stop), half as much again to spare.
    const qint64 wireMs = m_lastWrittenBytes * 15000 / qMax(1, m_options.baudRate);
    return int(qMin<qint64>(DrainMs + wireMs, MaxDrainMs));
}

void CliRun::capture(const ChannelChunk &chunk, CaptureDirection direction)
{
    m_capture->Append(CaptureChunk{chunk.monotonicUs, chunk.monotonicUs + m_captureWallOffsetUs, direction,
                                   std::string(chunk.bytes.constData(), std::size_t(chunk.bytes.size())),
                                   chunk.source.toStdString()});
}

void CliRun::onWritten(const QDateTime &, const QByteArray &bytes)
{
    const std::int64_t wall = wallNowUs();
    ++m_chunksWritten;
    m_bytesWritten += bytes.size();
    m_lastWrittenBytes = bytes.size();
    m_printer->written(wall, bytes);
    if (m_phase == Phase::Sending && m_framesToSend > 0 && m_chunksWritten >= m_framesToSend) {
        m_confirmTimer.stop();
        sendingDone();
    }
}

void CliRun::sendingDone()
{
    if (m_phase != Phase::Sending)
        return;
    m_sendingDone = true;
    m_phase = Phase::Waiting;
    const CliOptions &o = m_options;
    if (o.durationMs > 0)
        return; // the duration ends the run
    if (o.hasExpectation()) {
        if (!m_expectTimer.isActive())
            m_expectTimer.start(o.timeoutMs);
        return checkDone();
    }
    if (!m_source->isEmpty())
        m_drainTimer.start(drainMs());
}

void CliRun::checkDone()
{
    if (m_phase == Phase::Finished || m_options.durationMs > 0)
        return;
    if (!m_options.hasExpectation() || !unmetExpectations().isEmpty())
        return;
    const bool endless = m_source->isEmpty() || m_options.count == 0;
    if (m_sendingDone || endless) {
        m_expectTimer.stop();
        m_drainTimer.start(drainMs());
    }
}

QString CliRun::patternText() const
{
    QStringList pairs;
    for (int i = 0; i < m_options.expectBytes.size(); ++i) {
        pairs << (m_options.expectMask[i]
                      ? QString::fromLatin1(m_options.expectBytes.mid(i, 1).toHex().toUpper())
                      : QStringLiteral("??"));
    }
    return pairs.join(QLatin1Char(' '));
}

QString CliRun::unmetExpectations() const
{
    QStringList unmet;
    if (m_bytes && !m_bytes->isMet())
        unmet << QStringLiteral("expected the bytes %1").arg(patternText());
    if (m_text && !m_text->isMet())
        unmet << QStringLiteral("expected text matching %1").arg(m_options.expectText);
    if (m_frames && m_frames->frameCount() < m_options.frames)
        unmet << QStringLiteral("expected %1 frame(s) of %2, decoded %3")
                     .arg(m_options.frames)
                     .arg(m_options.expectFrames)
                     .arg(m_frames->frameCount());
    if (unmet.isEmpty())
        return {};
    QString came;
    if (m_bytesReceived == 0)
        came = QStringLiteral("nothing was received");
    else if (m_bytesReceived <= m_recent.size())
        came = QStringLiteral("received %1 byte(s): %2")
                   .arg(m_bytesReceived)
                   .arg(QString::fromLatin1(m_recent.toHex(' ').toUpper()));
    else
        came = QStringLiteral("received %1 byte(s), the last %2: %3")
                   .arg(m_bytesReceived)
                   .arg(m_recent.size())
                   .arg(QString::fromLatin1(m_recent.toHex(' ').toUpper()));
    return unmet.join(QStringLiteral("; ")) + QStringLiteral("; ") + came;
}

void CliRun::onArrived(const QDateTime &, const QByteArray &bytes)
{
    const std::int64_t wall = wallNowUs();
    m_bytesReceived += bytes.size();
    m_recent += bytes.right(RecentBytes);
    if (m_recent.size() > RecentBytes)
        m_recent.remove(0, m_recent.size() - RecentBytes);
    m_printer->received(wall, bytes);
    if (m_phase == Phase::Finished)
        return;
    if (m_bytes)
        m_bytes->feed(bytes);
    if (m_text)
        m_text->feed(bytes);
    if (m_frames)
        m_frames->feed(bytes);
    checkDone();
}

void CliRun::onChunkWritten(qint64 monotonicUs)
{
    m_pairing.Request(monotonicUs);
}

void CliRun::onChunkArrived(qint64 monotonicUs)
{
    // With a receive protocol a reply is a frame: the chunk that completed it.
    // The chunk's bytes were fed to the matcher just before (bytesArrived
    // comes first).
    if (m_frames) {
        if (m_frames->frameCount() == m_pairedFrames)
            return;
        m_pairedFrames = m_frames->frameCount();
    }
    m_pairing.Reply(monotonicUs);
}

void CliRun::printHealthStats()
{
    m_pairing.Finish();
    const SampleStats::Summary rtt = m_pairing.RoundTrips().summary();
    std::fprintf(stderr, "dorvane-cli: replies: %llu of %llu request(s), %llu missing, window %lld ms",
                 static_cast<unsigned long long>(rtt.count),
                 static_cast<unsigned long long>(m_pairing.GetRequests()),
                 static_cast<unsigned long long>(m_pairing.GetMissing()),
                 static_cast<long long>(m_pairing.GetWindowUs() / 1000));
    if (rtt.count > 0)
        std::fprintf(stderr, "; round trip min %.3f ms, p50 %.3f ms, p99 %.3f ms, max %.3f ms",
                     rtt.min / 1000.0, rtt.p50 / 1000.0, rtt.p99 / 1000.0, rtt.max / 1000.0);
    std::fprintf(stderr, "\n");
    if (!m_frames)
        return;
    const FrameRoleCheck &check = m_frames->roleCheck();
    if (!m_frames->roleProblem().isEmpty())
        std::fprintf(stderr, "dorvane-cli: %s\n", qPrintable(m_frames->roleProblem()));
    if (!check.IsChecking())
        return;
    const FrameRoleCheck::Counts &c = check.GetCounts();
    std::fprintf(stderr, "dorvane-cli: frame checks: %llu frame(s)",
                 static_cast<unsigned long long>(c.frames));
    if (check.ChecksChecksum())
        std::fprintf(stderr, ", %llu checksum failure(s)",
                     static_cast<unsigned long long>(c.checksumFailures));
    if (check.ChecksSequence())
        std::fprintf(stderr, ", %llu sequence gap(s), %llu repeat(s)",
                     static_cast<unsigned long long>(c.sequenceGaps),
                     static_cast<unsigned long long>(c.sequenceRepeats));
    std::fprintf(stderr, "\n");
}

void CliRun::onStateChanged(ChannelType, ChanneState state)
{
    if (state == Opened) {
        if (m_phase == Phase::Connecting)
            channelReady();
        return;
    }
    if (m_phase == Phase::Finished)
        return;
    // The reason comes in channelError, which the socket may report just
    // after its state; it is given a moment.
    QTimer::singleShot(ReasonWaitMs, this, [this] {
        finish(ExitChannel, m_phase == Phase::Connecting
                                ? QStringLiteral("%1: the connection failed").arg(m_channelText)
                                : QStringLiteral("%1: the channel was lost").arg(m_channelText));
    });
}

void CliRun::onChannelError(const QString &message)
{
    if (m_phase == Phase::Finished)
        return;
    finish(ExitChannel, QStringLiteral("%1: %2").arg(m_channelText, message));
}

void CliRun::onSignal()
{
    finish(ExitInterrupted, QStringLiteral("interrupted"));
}

void CliRun::finish(int status, const QString &message)
{
    if (m_phase == Phase::Finished)
        return;
    m_phase = Phase::Finished;
    for (QTimer *timer :
         {&m_connectTimer, &m_sendTimer, &m_expectTimer, &m_durationTimer, &m_drainTimer, &m_confirmTimer})
        timer->stop();
    close();

    // A capture that stopped is a run whose record is incomplete.
    if (m_capture && m_capture->GetStatus() == CaptureWriter::Status::Failed && status == ExitOk)
        status = ExitUsage;
    if (m_capture && m_capture->GetLostChunks() > 0)
        std::fprintf(stderr,
                     "dorvane-cli: the capture lost %llu chunk(s), %llu byte(s): the disk did not keep up\n",
                     static_cast<unsigned long long>(m_capture->GetLostChunks()),
                     static_cast<unsigned long long>(m_capture->GetLostBytes()));
    if (m_options.stats) {
        if (m_timing)
            printTimingFigures();
        printHealthStats();
    }
    if (!message.isEmpty())
        std::fprintf(stderr, "dorvane-cli: %s\n", qPrintable(message));
    m_status = status;
    QCoreApplication::exit(status);
}

void CliRun::printTimingFigures() const
{
    // The names and units of the Timing dock.
    const TickTiming::Figures f = m_timing->GetFigures();
    if (m_periodSender) {
        std::fprintf(stderr,
                     "dorvane-cli: periodic sending: %lld frame(s) in %.3f s; requested period %lld µs "
                     "(%s Hz), achieved rate %s Hz\n",
                     static_cast<long long>(m_periodSender->framesSent()), double(f.spanUs) / 1e6,
                     static_cast<long long>(f.requestedPeriodUs), TickTiming::FormatHz(f.requestedHz).c_str(),
                     TickTiming::FormatHz(f.achievedHz).c_str());
        std::fprintf(stderr,
                     "dorvane-cli: period (µs): min %lld, mean %.1f, p50 %lld, p99 %lld, max %lld over %llu "
                     "period(s); late ticks %llu, skipped ticks %llu\n",
                     static_cast<long long>(f.period.min), f.period.mean,
                     static_cast<long long>(f.period.p50), static_cast<long long>(f.period.p99),
                     static_cast<long long>(f.period.max), static_cast<unsigned long long>(f.period.count),
                     static_cast<unsigned long long>(f.lateTicks),
                     static_cast<unsigned long long>(f.skippedTicks));
        const std::string shortfall = TickTiming::DescribeShortfall(f);
        if (!shortfall.empty())
            std::fprintf(stderr, "dorvane-cli: %s\n", shortfall.c_str());
    } else {
        std::fprintf(stderr, "dorvane-cli: no periodic sending ran\n");
    }
    if (f.rxGap.count > 0)
        std::fprintf(stderr,
                     "dorvane-cli: RX gap (µs): min %lld, p50 %lld, p99 %lld, max %lld over %llu gap(s)\n",
                     static_cast<long long>(f.rxGap.min), static_cast<long long>(f.rxGap.p50),
                     static_cast<long long>(f.rxGap.p99), static_cast<long long>(f.rxGap.max),
                     static_cast<unsigned long long>(f.rxGap.count));
}

void CliRun::close()
{
    if (m_proxy) {
        m_proxy->stopPeriodSend();
        m_proxy->close();
        // Chunks the worker reported before it stopped still wait in the
        // queue; they belong in the capture and the output.
        QCoreApplication::sendPostedEvents(m_proxy.get());
        QCoreApplication::sendPostedEvents(this);
        m_proxy->disconnect(this);
    }
    if (m_capture)
        m_capture->Stop();
    // Default actions again from here on; the watcher may be the sender of
    // the call that ends the run, so it goes once that call has returned.
    if (m_signalWatcher) {
        m_signalWatcher->deleteLater();
        m_signalWatcher = nullptr;
    }
}

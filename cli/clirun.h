#pragma once

#include "clioptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <dorvane/capturewriter.h>
#include <dorvane/channelchunk.h>
#include <dorvane/replypairing.h>

#include <memory>

class CaptureWriter;
class ChannelProxy;
class ChunkPrinter;
class Context;
class FrameSource;
class PeriodSender;
class BytePatternMatcher;
class TextPatternMatcher;
class FrameMatcher;
class SignalWatcher;
class TickTiming;

// Exit statuses of a run.
enum CliExit : int {
    ExitOk = 0,
    ExitExpectationNotMet = 1,
    ExitUsage = 2,
    ExitChannel = 3,
    ExitInterrupted = 130,
};

// One run of the program: opens the channel, sends, watches the received
// bytes for the expectations and ends with an exit status. Every wait has a
// timer: connecting, the first client (with --timeout), the reply, the
// duration. Lives on the main thread, which runs the event loop.
class CliRun : public QObject
{
    Q_OBJECT

public:
    CliRun(const CliOptions &options, Context *context, QObject *parent = nullptr);
    ~CliRun() override;

    // Runs to the end; the exit status.
    int exec();

private:
    enum class Phase { Starting, Connecting, WaitingForClient, Sending, Waiting, Finished };

    bool prepare();
    void openChannel();
    void channelReady();
    void startSending();
    void sendStep();
    void sendingDone();
    void checkDone();
    void finish(int status, const QString &message = QString());
    void close();
    void printTimingFigures() const;
    QString openFailureReason() const;
    QString unmetExpectations() const;
    QString patternText() const;
    int drainMs() const;

    void onArrived(const QDateTime &time, const QByteArray &bytes);
    void capture(const ChannelChunk &chunk, CaptureDirection direction);
    void onWritten(const QDateTime &time, const QByteArray &bytes);
    // Request and reply pairing by the chunks' monotonic stamps.
    void onChunkWritten(qint64 monotonicUs);
    void onChunkArrived(qint64 monotonicUs);
    void printHealthStats();
    void onStateChanged(ChannelType type, ChanneState state);
    void onChannelError(const QString &message);
    void onSignal();

    CliOptions m_options;
    Context *m_context;
    std::unique_ptr<ChannelProxy> m_proxy;
    std::unique_ptr<FrameSource> m_source;
    std::unique_ptr<PeriodSender> m_periodSender;
    // --stats: the written and received chunks' worker stamps.
    std::unique_ptr<TickTiming> m_timing;
    std::unique_ptr<ChunkPrinter> m_printer;
    std::unique_ptr<CaptureWriter> m_capture;
    std::int64_t m_captureWallOffsetUs = 0;
    std::unique_ptr<BytePatternMatcher> m_bytes;
    std::unique_ptr<TextPatternMatcher> m_text;
    std::unique_ptr<FrameMatcher> m_frames;
    SignalWatcher *m_signalWatcher = nullptr;

    Phase m_phase = Phase::Starting;
    int m_status = ExitOk;
    QString m_channelText;
    qint64 m_framesToSend = 0; // 0: until stopped
    qint64 m_framesSent = 0;   // by the main thread's own sends
    qint64 m_chunksWritten = 0;
    qint64 m_bytesWritten = 0;
    qint64 m_bytesReceived = 0;
    qint64 m_lastWrittenBytes = 0;
    QByteArray m_recent; // the last received bytes, for saying what came instead
    bool m_sendingDone = false;
    ReplyPairing m_pairing;
    int m_pairedFrames = 0; // frames of --expect-frames already taken as replies

    QTimer m_connectTimer;
    QTimer m_sendTimer;
    QTimer m_expectTimer;
    QTimer m_durationTimer;
    QTimer m_drainTimer;
    QTimer m_confirmTimer;
};

#include "transferqueue.h"

#include "channel.h"
#include "handoff.h"

#include <QFile>
#include <QTimer>

namespace {

// Unsent bytes the device may hold before the next piece waits: enough to
// keep a fast line busy between two steps, little enough that a 100 MB file
// never piles up in a socket's or port's buffer.
constexpr qint64 kMaxPendingWrite = 256 * 1024;
constexpr int kPendingRetryMs = 2;
// A chunk size beyond this is taken as this, so that a mistyped size cannot
// make one read hold the worker or the memory.
constexpr int kMaxChunkSize = 1024 * 1024;
constexpr qint64 kProgressEveryMs = 100;

} // namespace

struct TransferQueue::Job
{
    quint64 id = 0;
    bool isFile = false;
    QByteArray text;
    std::unique_ptr<QFile> file;
    QByteArray pending; // a read chunk not yet written
    qint64 total = 0;
    qint64 sent = 0;
    int charDelayMs = 0;
    int lineDelayMs = 0;
    int chunkSize = 0;
    int delayMs = 0;
};

TransferQueue::TransferQueue(Channel *channel)
    : QObject(channel)
    , m_channel(channel)
    , m_next(new QTimer(this))
{
    m_next->setSingleShot(true);
    m_next->setTimerType(Qt::PreciseTimer);
    connect(m_next, &QTimer::timeout, this, &TransferQueue::step);
}

TransferQueue::~TransferQueue() = default;

void TransferQueue::sendPaced(quint64 id, const QByteArray &bytes, int charDelayMs, int lineDelayMs)
{
    auto job = std::make_unique<Job>();
    job->id = id;
    job->text = bytes;
    job->total = bytes.size();
    job->charDelayMs = qMax(0, charDelayMs);
    job->lineDelayMs = qMax(0, lineDelayMs);
    m_jobs.push_back(std::move(job));
    if (m_jobs.size() == 1)
        scheduleNext(0);
}

void TransferQueue::sendFile(quint64 id, const QString &path, int chunkSize, int delayMs)
{
    auto job = std::make_unique<Job>();
    job->id = id;
    job->isFile = true;
    job->file = std::make_unique<QFile>(path);
    job->chunkSize = qBound(1, chunkSize, kMaxChunkSize);
    job->delayMs = qMax(0, delayMs);
    if (!job->file->open(QIODevice::ReadOnly)) {
        const QString message = tr("%1 cannot be read (%2)").arg(path, job->file->errorString());
        handoff::post([&] { emit finished(id, false, message); });
        return;
    }
    job->total = job->file->size();
    m_jobs.push_back(std::move(job));
    if (m_jobs.size() == 1)
        scheduleNext(0);
}

void TransferQueue::cancel(quint64 id)
{
    const QString message = tr("The send was cancelled");
    // The front one may be waiting for its timer; the others have not begun.
    for (auto it = m_jobs.begin(); it != m_jobs.end();) {
        if (id != 0 && (*it)->id != id) {
            ++it;
            continue;
        }
        const bool front = it == m_jobs.begin();
        const Job &job = **it;
        reportProgress(job, true);
        const quint64 doneId = job.id;
        it = m_jobs.erase(it);
        handoff::post([&] { emit finished(doneId, false, message); });
        if (front)
            m_next->stop();
    }
    if (!m_jobs.empty() && !m_next->isActive())
        scheduleNext(0);
}

void TransferQueue::abortAll(const QString &reason)
{
    m_next->stop();
    while (!m_jobs.empty())
        finishFront(false, reason);
}

void TransferQueue::scheduleNext(int delayMs)
{
    m_next->start(delayMs);
}

void TransferQueue::reportProgress(const Job &job, bool force)
{
    if (!force && m_sinceProgress.isValid() && m_sinceProgress.elapsed() < kProgressEveryMs)
        return;
    m_sinceProgress.start();
    const quint64 id = job.id;
    const qint64 sent = job.sent;
    const qint64 total = qMax(job.total, job.sent);
    handoff::post([&] { emit progress(id, sent, total); });
}

void TransferQueue::finishFront(bool completed, const QString &message)
{
    const quint64 id = m_jobs.front()->id;
    reportProgress(*m_jobs.front(), true);
    m_jobs.pop_front();
    handoff::post([&] { emit finished(id, completed, message); });
    if (!m_jobs.empty())
        scheduleNext(0);
}

void TransferQueue::step()
{
    if (m_jobs.empty())
        return;
    Job &job = *m_jobs.front();
    if (!m_channel->isOpen()) {
        finishFront(false, tr("The channel closed before the send was complete"));
        return;
    }
    if (m_channel->pendingWrite() > kMaxPendingWrite) {
        scheduleNext(kPendingRetryMs);
        return;
    }

    QByteArray piece;
    int delayMs = 0;
    if (job.isFile) {
        if (job.pending.isEmpty()) {
            job.pending = job.file->read(job.chunkSize);
            if (job.pending.isEmpty()) {
                if (job.file->error() != QFile::NoError)
                    finishFront(
                        false,
                        tr("%1 cannot be read (%2)").arg(job.file->fileName(), job.file->errorString()));
                else
                    finishFront(true, QString());
                return;
            }
        }
        piece = job.pending;
        delayMs = job.delayMs;
    } else {
        const int start = int(job.sent);
        int length = 1;
        if (job.charDelayMs == 0) {
            const int lf = job.lineDelayMs > 0 ? job.text.indexOf('\n', start) : -1;
            length = (lf < 0 ? job.text.size() : lf + 1) - start;
        }
        piece = job.text.mid(start, length);
        delayMs = job.charDelayMs + (piece.endsWith('\n') ? job.lineDelayMs : 0);
    }

    if (!m_channel->write(piece.constData(), piece.size())) {
        finishFront(false, m_channel->isOpen() ? tr("The channel refused the bytes")
                                               : tr("The channel closed before the send was complete"));
        return;
    }
    job.pending.clear();
    job.sent += piece.size();
    const bool done = job.isFile ? job.file->atEnd() : job.sent >= job.total;
    if (done) {
        finishFront(true, QString());
        return;
    }
    reportProgress(job, false);
    scheduleNext(delayMs);
}

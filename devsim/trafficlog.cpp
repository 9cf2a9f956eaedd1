#include "trafficlog.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

bool g_quiet = false;

void printLine(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

void traffic(const QString &endpoint, const char *direction, const QByteArray &bytes)
{
    if (g_quiet)
        return;
    printLine(stdout, QStringLiteral("%1 %2 %3 %4: %5")
                          .arg(TrafficLog::stamp(), endpoint, QLatin1String(direction))
                          .arg(bytes.size())
                          .arg(TrafficLog::hex(bytes)));
}

} // namespace

void TrafficLog::setQuiet(bool quiet)
{
    g_quiet = quiet;
}

bool TrafficLog::isQuiet()
{
    return g_quiet;
}

void TrafficLog::received(const QString &endpoint, const QByteArray &bytes)
{
    traffic(endpoint, "RX", bytes);
}

void TrafficLog::sent(const QString &endpoint, const QByteArray &bytes)
{
    traffic(endpoint, "TX", bytes);
}

void TrafficLog::note(const QString &text)
{
    printLine(stdout, text);
}

void TrafficLog::error(const QString &text)
{
    printLine(stderr, QStringLiteral("dorvane-devsim: ") + text);
}

QString TrafficLog::stamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto micros
        = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count() % 1000000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%06lld", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<long long>(micros));
    return QString::fromLatin1(text);
}

QString TrafficLog::hex(const QByteArray &bytes, int maxBytes)
{
    const int shown = qMin(int(bytes.size()), maxBytes);
    QString text = QString::fromLatin1(bytes.left(shown).toHex(' ').toUpper());
    if (shown < bytes.size())
        text += QStringLiteral(" … (%1 more)").arg(bytes.size() - shown);
    return text;
}

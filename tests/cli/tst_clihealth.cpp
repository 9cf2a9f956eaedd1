// dorvane-cli --stats against dorvane-devsim: the round trips of a device
// that answers after a delay, and the counter gaps of telemetry with frames
// left out.
#include "../devsim/devsimprocess.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(DORVANE_CLI_PROGRAM), arguments);
    Run r;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(3000);
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return r;
}

double figure(const QString &text, const QString &pattern)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : -1.0;
}

} // namespace

class TestCliHealth : public QObject
{
    Q_OBJECT

private slots:
    void statsGiveTheReplyDelayAsRoundTrip()
    {
        DevSimProcess devsim;
        QVERIFY2(devsim.start({QStringLiteral("--mode"), QStringLiteral("reply"), QStringLiteral("--request"),
                               QStringLiteral("01 03"), QStringLiteral("--response"),
                               QStringLiteral("01 83 02"), QStringLiteral("--delay"), QStringLiteral("20"),
                               QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--quiet")},
                              1),
                 "dorvane-devsim did not start");
        const Run r = runCli({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(devsim.tcpPort()),
                              QStringLiteral("--hex"), QStringLiteral("01 03"), QStringLiteral("--count"),
                              QStringLiteral("10"), QStringLiteral("--interval"), QStringLiteral("50"),
                              QStringLiteral("--quiet"), QStringLiteral("--stats")});
        devsim.terminate();
        QCOMPARE(r.exitCode, 0);
        // The last reply comes after the last send: the run waits for it.
        QVERIFY2(r.errors.contains(QStringLiteral("replies: 10 of 10 request(s), 0 missing")),
                 qPrintable(r.errors));
        const double p50 = figure(r.errors, QStringLiteral("round trip min [0-9.]+ ms, p50 ([0-9.]+) ms"));
        QVERIFY2(qAbs(p50 - 20.0) <= 2.0, qPrintable(r.errors));
    }

    void statsCountTheTelemetryFramesLeftOut()
    {
        QTemporaryDir dir;
        QFile sample(QStringLiteral(DORVANE_SAMPLES_DIR "/devsim-telemetry.dvprx"));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QString path = dir.filePath(QStringLiteral("counted.dvprx"));
        QFile counted(path);
        QVERIFY(counted.open(QIODevice::WriteOnly));
        counted.write(sample.readAll() + "roles:\n  sequenceField: 2\n");
        counted.close();

        DevSimProcess devsim;
        QVERIFY2(
            devsim.start({QStringLiteral("--mode"), QStringLiteral("telemetry"), QStringLiteral("--rate"),
                          QStringLiteral("500"), QStringLiteral("--drop"), QStringLiteral("20"),
                          QStringLiteral("--tcp"), QStringLiteral("0"), QStringLiteral("--quiet")},
                         1),
            "dorvane-devsim did not start");
        const Run r = runCli({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(devsim.tcpPort()),
                              QStringLiteral("--expect-frames"), path, QStringLiteral("--duration"),
                              QStringLiteral("1"), QStringLiteral("--quiet"), QStringLiteral("--stats")});
        devsim.terminate();
        QCOMPARE(r.exitCode, 0);
        const double frames = figure(r.errors, QStringLiteral("frame checks: (\\d+) frame"));
        const double gaps = figure(r.errors, QStringLiteral("(\\d+) sequence gap"));
        // A fifth of 500 a second is left out: about 100 gaps against 400 frames.
        QVERIFY2(frames > 200 && gaps > frames / 10 && gaps < frames, qPrintable(r.errors));
    }
};

QTEST_GUILESS_MAIN(TestCliHealth)

#include "tst_clihealth.moc"

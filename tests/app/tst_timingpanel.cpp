// The Timing dock during 1 ms periodic sending over a real UDP channel on
// 127.0.0.1 with an echoing peer: its figures equal those worked out again
// from a pcapng capture of the same run (the dialogue's Log to File), and
// its CSV export reads back as the same figures and samples.
#include "apptestsupport.h"

#include "model/transmittext.h"
#include "services/timingwatcher.h"
#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/timing/timingwindow.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/ticktiming.h>
#include <dorvane/wdxtoolbar.h>

#include <QDockWidget>
#include <QLabel>
#include <QMap>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QUdpSocket>

#include <cstring>

namespace {

MainWindow *mainWindow()
{
    return dvApp->mainWindow();
}

TimingWindow *panel()
{
    return mainWindow()->timingWindow();
}

QString label(const char *name)
{
    auto *l = panel()->findChild<QLabel *>(QLatin1String(name));
    return l ? l->text() : QStringLiteral("<no label %1>").arg(QLatin1String(name));
}

QToolButton *transmitButton(const QString &text)
{
    for (QToolButton *b : mainWindow()->transmitWindow()->findChildren<QToolButton *>())
        if (b->text() == text && !b->defaultAction())
            return b;
    return nullptr;
}

struct Stamps
{
    std::vector<std::int64_t> written;
    std::vector<std::int64_t> received;
    QString error;
};

template<typename T>
T readAt(const QByteArray &bytes, int at)
{
    T value;
    std::memcpy(&value, bytes.constData() + at, sizeof value);
    return value;
}

// The µs stamps of the Enhanced Packet Blocks of a little-endian pcapng
// file, by the direction in their epb_flags.
Stamps readPcapngStamps(const QString &path)
{
    Stamps out;
    const QByteArray file = readTestFile(path);
    int at = 0;
    while (at + 12 <= file.size()) {
        const quint32 type = readAt<quint32>(file, at);
        const quint32 length = readAt<quint32>(file, at + 4);
        if (length < 12 || length % 4 != 0 || at + int(length) > file.size()) {
            out.error = QStringLiteral("bad block at %1").arg(at);
            return out;
        }
        if (type == 6) {
            const std::int64_t stamp
                = (std::int64_t(readAt<quint32>(file, at + 12)) << 32) | readAt<quint32>(file, at + 16);
            const quint32 captured = readAt<quint32>(file, at + 20);
            int option = at + 28 + int((captured + 3) / 4 * 4);
            quint32 flags = 0;
            while (option + 4 <= at + int(length) - 4) {
                const quint16 code = readAt<quint16>(file, option);
                const quint16 size = readAt<quint16>(file, option + 2);
                if (code == 0)
                    break;
                if (code == 2 && size == 4)
                    flags = readAt<quint32>(file, option + 4);
                option += 4 + (size + 3) / 4 * 4;
            }
            if ((flags & 3) == 2)
                out.written.push_back(stamp);
            else
                out.received.push_back(stamp);
        }
        at += int(length);
    }
    return out;
}

// The five figures the dock shows for a summary.
QStringList shown(const SampleStats::Summary &s)
{
    return {QString::number(s.min), QString::number(s.mean, 'f', 1), QString::number(s.p50),
            QString::number(s.p99), QString::number(s.max)};
}

} // namespace

class TestTimingPanel : public QObject
{
    Q_OBJECT

    QUdpSocket *m_peer = nullptr;

    // Runs the transmit window's periodic sending at 1 ms, high-resolution
    // timing, for about the given time.
    void runSending(int ms)
    {
        TransmitWindow *transmit = mainWindow()->transmitWindow();
        transmit->setTransmitText(QStringLiteral("5a a5"), HexTextMode);
        QToolButton *period = transmitButton(QStringLiteral("Enable Period Send"));
        QVERIFY(period);
        period->setChecked(true);
        transmit->findChildren<QSpinBox *>().value(0)->setValue(1);
        QToolButton *send = transmitButton(QStringLiteral("Send"));
        QVERIFY(send);
        QTest::mouseClick(send, Qt::LeftButton);
        QTRY_VERIFY(panel()
                        ->findChild<QLabel *>(QStringLiteral("TimingState"))
                        ->text()
                        .contains(QStringLiteral("High resolution timers")));
        QTest::qWait(ms);
        const QString shot = qEnvironmentVariable("DORVANE_TIMING_SHOT");
        if (!shot.isEmpty())
            QGuiApplication::primaryScreen()->grabWindow(0).save(shot);
        QToolButton *stop = transmitButton(QStringLiteral("Stop Send"));
        QVERIFY(stop);
        QTest::mouseClick(stop, Qt::LeftButton);
        QTRY_VERIFY(!dvApp->channelProxy()->isPeriodSendRun());
        // The last echoes come back.
        QTest::qWait(300);
        period->setChecked(false);
    }

private slots:
    void init()
    {
        m_peer = new QUdpSocket(this);
        QVERIFY(m_peer->bind(QHostAddress(QHostAddress::LocalHost), quint16(0)));
        connect(m_peer, &QUdpSocket::readyRead, m_peer, [peer = m_peer] {
            while (peer->hasPendingDatagrams()) {
                const QNetworkDatagram d = peer->receiveDatagram();
                peer->writeDatagram(d.data(), d.senderAddress(), quint16(d.senderPort()));
            }
        });
        NetChannelParams params(Udp);
        params.localAddress = QStringLiteral("127.0.0.1");
        params.localPort = 0;
        params.remoteAddress = QStringLiteral("127.0.0.1");
        params.remotePort = m_peer->localPort();
        params.timing = HighResolutionTiming;
        QVERIFY(dvApp->channelProxy()->open(params));
        // The dock as a user opens it: hidden at first, shown by its action,
        // which sits right after "RX Frames".
        QDockWidget *dock = mainWindow()->findChild<QDockWidget *>(QStringLiteral("TimingPanel"));
        QVERIFY(dock);
        QCOMPARE(dock->windowTitle(), QStringLiteral("Timing"));
        const QList<QAction *> actions = mainWindow()->toolBar()->actions();
        int rx = -1;
        for (int i = 0; i < actions.size(); ++i)
            if (actions.at(i)->objectName() == QLatin1String("RxFramesAction"))
                rx = i;
        QVERIFY(rx >= 0 && rx + 1 < actions.size());
        QCOMPARE(actions.at(rx + 1)->text(), QStringLiteral("Timing"));
        if (!dock->isVisible())
            actions.at(rx + 1)->trigger();
        QTRY_VERIFY(dock->isVisible());
        QTest::mouseClick(panel()->findChild<QPushButton *>(QStringLiteral("ResetButton")), Qt::LeftButton);
        QCOMPARE(label("TickWrites"), QStringLiteral("0"));
    }

    void cleanup()
    {
        dvApp->channelProxy()->close();
        delete m_peer;
        m_peer = nullptr;
    }

    void figuresEqualThoseWorkedOutFromTheCapture()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("run.pcapng"));
        DialogueWindow *dialogue = mainWindow()->dialogueWindow();
        QVERIFY(dialogue->startCapture(path, false, 0));
        runSending(2000);
        dialogue->stopCapture();
        dvApp->timingWatcher()->refresh();

        const Stamps stamps = readPcapngStamps(path);
        QVERIFY2(stamps.error.isEmpty(), qPrintable(stamps.error));
        QVERIFY2(stamps.written.size() > 1000, qPrintable(QString::number(stamps.written.size())));
        QVERIFY(stamps.received.size() > 1000);
        TickTiming again;
        again.Start(1000);
        for (std::int64_t us : stamps.written)
            again.AddWrite(us);
        for (std::int64_t us : stamps.received)
            again.AddArrival(us);
        const TickTiming::Figures f = again.GetFigures();

        QCOMPARE(label("TickWrites"), QString::number(f.writes));
        QVERIFY2(label("LateTicks").startsWith(QString::number(f.lateTicks)), qPrintable(label("LateTicks")));
        QVERIFY2(label("SkippedTicks").startsWith(QString::number(f.skippedTicks)),
                 qPrintable(label("SkippedTicks")));
        QCOMPARE(label("AchievedRate"),
                 QStringLiteral("%1 Hz").arg(QString::fromStdString(TickTiming::FormatHz(f.achievedHz))));
        QCOMPARE(label("RequestedPeriod"), QStringLiteral("1000 µs (1 000 Hz)"));
        const char *periodNames[] = {"Period_min", "Period_mean", "Period_p50", "Period_p99", "Period_max"};
        const char *gapNames[] = {"RxGap_min", "RxGap_mean", "RxGap_p50", "RxGap_p99", "RxGap_max"};
        const QStringList periods = shown(f.period);
        const QStringList gaps = shown(f.rxGap);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(label(periodNames[i]), periods.at(i));
            QCOMPARE(label(gapNames[i]), gaps.at(i));
        }
        const QString shortfall = QString::fromStdString(TickTiming::DescribeShortfall(f));
        auto *sentence = panel()->findChild<QLabel *>(QStringLiteral("TimingShortfall"));
        QCOMPARE(sentence->text(), shortfall);
        QCOMPARE(sentence->isVisibleTo(panel()), !shortfall.isEmpty());
        qInfo("1 ms over UDP: %llu writes, p50 %lld us, p99 %lld us, late %llu, skipped %llu",
              static_cast<unsigned long long>(f.writes), static_cast<long long>(f.period.p50),
              static_cast<long long>(f.period.p99), static_cast<unsigned long long>(f.lateTicks),
              static_cast<unsigned long long>(f.skippedTicks));
    }

    void csvExportReadsBackAsTheFiguresAndSamples()
    {
        runSending(500);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("timing.csv"));
        QVERIFY(panel()->exportCsv(path));
        const TickTiming &timing = dvApp->timingWatcher()->timing();
        const TickTiming::Figures f = timing.GetFigures();

        QMap<QString, QString> figures;
        std::vector<std::int64_t> periods;
        std::vector<std::int64_t> gaps;
        const QList<QByteArray> lines = readTestFile(path).split('\n');
        QCOMPARE(lines.value(0), QByteArray("figure,value"));
        bool samples = false;
        for (const QByteArray &line : lines.mid(1)) {
            if (line.isEmpty())
                continue;
            const QList<QByteArray> cells = line.split(',');
            QCOMPARE(cells.size(), 2);
            if (line == "sample,us") {
                samples = true;
            } else if (!samples) {
                figures.insert(QString::fromLatin1(cells[0]), QString::fromLatin1(cells[1]));
            } else {
                QVERIFY(cells[0] == "period" || cells[0] == "rx_gap");
                (cells[0] == "period" ? periods : gaps).push_back(cells[1].toLongLong());
            }
        }
        QCOMPARE(figures.value(QStringLiteral("requested_period_us")), QStringLiteral("1000"));
        QCOMPARE(figures.value(QStringLiteral("writes")).toULongLong(), f.writes);
        QCOMPARE(figures.value(QStringLiteral("late_ticks")).toULongLong(), f.lateTicks);
        QCOMPARE(figures.value(QStringLiteral("skipped_ticks")).toULongLong(), f.skippedTicks);
        QCOMPARE(figures.value(QStringLiteral("period_p50_us")).toLongLong(), f.period.p50);
        QCOMPARE(figures.value(QStringLiteral("period_p99_us")).toLongLong(), f.period.p99);
        QCOMPARE(figures.value(QStringLiteral("rx_gap_max_us")).toLongLong(), f.rxGap.max);
        QCOMPARE(periods, timing.GetPeriods().retainedSamples());
        QCOMPARE(gaps, timing.GetRxGaps().retainedSamples());
        // The samples alone give the same percentiles again.
        SampleStats again;
        for (std::int64_t us : periods)
            again.add(us);
        QCOMPARE(again.summary().p99, f.period.p99);
        QCOMPARE(again.summary().count, f.period.count);

        // A place that cannot be written fails, and the file exported before stays whole.
        const QByteArray before = readTestFile(path);
        MessageBoxCatcher boxes; // the warning is modal
        QVERIFY(!panel()->exportCsv(dir.filePath(QStringLiteral("missing/dir/timing.csv"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing/dir/timing.csv"))));
        QCOMPARE(readTestFile(path), before);
    }
};

DORVANE_APP_TEST_MAIN(TestTimingPanel)
#include "tst_timingpanel.moc"

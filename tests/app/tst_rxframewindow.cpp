// The RX Frames window: its receive-protocol documents, the refusal of a
// protocol that cannot be parsed, decoding in stream and packet mode with
// the counts behind the values, a pause that loses nothing, the CSV export,
// the bounded history of the plot, and a real serial peer end to end.
#include "apptestsupport.h"

#include "services/rxframewatcher.h"
#include "shell/mainwindow.h"
#include "windows/rxframes/rxfieldtable.h"
#include "windows/rxframes/rxframewindow.h"
#include "windows/rxframes/rxplot.h"
#include "windows/rxframes/rxseries.h"
#include "windows/rxframes/rxvaluetable.h"

#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QToolBar>

#include <yaml-cpp/yaml.h>

namespace {

struct FieldDef
{
    int typeId;
    const char *name;
    const char *params;
    int flag; // 0 value, 1 head, 2 tail
    int graph;
};

// Head AA 55, a 16-bit value scaled by 0.5 on line 1, a signed 8-bit value
// on line 2, an unsigned 8-bit value on no line, tail 0D: 7 bytes.
const FieldDef kFrame[] = {{10, "head", "0xAA,0x55", 1, -1},
                           {11, "speed", "0.5", 0, 1},
                           {1, "offset", "", 0, 2},
                           {10, "level", "", 0, -1},
                           {10, "tail", "0x0D", 2, -1}};
constexpr int kFrameSize = 7;

QByteArray frameOf(quint16 speed, qint8 offset, quint8 level)
{
    QByteArray frame;
    frame.append(char(0xAA)).append(char(0x55));
    frame.append(char(speed & 0xFF)).append(char(speed >> 8));
    frame.append(char(offset)).append(char(level)).append(char(0x0D));
    return frame;
}

template<size_t N>
bool writeProtocol(const QString &path, const FieldDef (&defs)[N])
{
    RxProtocol protocol;
    for (const FieldDef &def : defs) {
        RxField *field = protocol.AddField(-1);
        field->SetName(def.name);
        field->SetTypeId(def.typeId);
        RxValueMetaInfo *value = field->GetValueMetaInfo();
        value->SetParamList(def.params);
        value->SetGraphId(def.graph);
        if (def.flag == 1)
            value->SetHeadFlag();
        else if (def.flag == 2)
            value->SetTailFlag();
    }
    return protocol.Save(QFile::encodeName(path).toStdString(), dvApp->context());
}

// A window of its own on a watcher of its own; the watcher outlives it.
struct Bench
{
    RxFrameWatcher watcher;
    RxFrameWindow window{&watcher, dvApp->context(), nullptr};
};

QAction *actionOf(QWidget *window, const char *name)
{
    return window->findChild<QAction *>(QLatin1String(name));
}

QList<QByteArrayList> csvRows(const QString &path)
{
    QList<QByteArrayList> rows;
    for (const QByteArray &line : readTestFile(path).split('\n')) {
        if (!line.isEmpty())
            rows << line.split(',');
    }
    return rows;
}

} // namespace

class TestRxFrameWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_protocolPath = m_dir.filePath(QStringLiteral("frame.dvprx"));
        QVERIFY(writeProtocol(m_protocolPath, kFrame));
    }

    void fileRoundTripKeepsFormatAndFields()
    {
        Bench bench;
        QVERIFY(bench.window.open(m_protocolPath));
        QCOMPARE(bench.window.fieldTable()->rowCount(), 5);
        // An edit through the table, then saved and read back.
        QTableWidgetItem *graph = bench.window.fieldTable()->item(3, RxFieldTable::GraphColumn);
        graph->setText(QStringLiteral("7"));
        QVERIFY(bench.window.isModified());
        const QString copy = m_dir.filePath(QStringLiteral("copy.dvprx"));
        QVERIFY(bench.window.saveTo(copy));
        QVERIFY(!bench.window.isModified());

        const YAML::Node doc = YAML::LoadFile(QFile::encodeName(copy).toStdString());
        QCOMPARE(doc["fileFormat"].as<std::string>(), std::string("dorvane rx-protocol file"));
        QCOMPARE(doc["fileVersion"].as<std::string>(), std::string("1.0"));
        QCOMPARE(doc["protocol"]["fields"].as<int>(), 5);
        QVERIFY(!doc["protocol"]["values"]);
        const YAML::Node level = doc["fields"][3];
        QCOMPARE(level["name"].as<std::string>(), std::string("level"));
        QCOMPARE(level["meta"].size(), size_t(1));
        QCOMPARE(level["meta"][0]["graph"].as<int>(), 7);
        QCOMPARE(doc["fields"][0]["meta"][0]["flag"].as<int>(), 1);
        QCOMPARE(doc["fields"][0]["meta"][0]["params"].as<std::string>(), std::string("0xAA,0x55"));
        QCOMPARE(doc["fields"][1]["meta"][0]["params"].as<std::string>(), std::string("0.5"));

        Bench other;
        QVERIFY(other.window.open(copy));
        RxProtocol *read = other.window.protocol();
        QCOMPARE(read->GetFieldCount(), 5);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(read->GetField(i)->GetName(), std::string(kFrame[i].name));
            QCOMPARE(read->GetField(i)->GetTypeId(), kFrame[i].typeId);
            QCOMPARE(int(RxFieldTable::roleOf(read->GetField(i))), kFrame[i].flag == 1   ? 1
                                                                   : kFrame[i].flag == 2 ? 2
                                                                                         : 0);
        }
        QCOMPARE(read->GetField(3)->GetValueMetaInfo()->GetGraphId(), 7);
    }

    void hostileFilesAreRefusedAndTheOpenProtocolKept()
    {
        // A protocol of more fields than a window edits, made here.
        QByteArray many = "fileFormat: dorvane rx-protocol file\nfileVersion: \"1.0\"\nprotocol: {fields: "
                          "1001}\nfields:\n";
        for (int i = 0; i < 1001; ++i)
            many += "  - {name: f, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: \"\", "
                    "graph: -1, form: -1, flag: 0}]}\n";
        const QString oversized = m_dir.filePath(QStringLiteral("oversized.dvprx"));
        QVERIFY(writeTestFile(oversized, many));

        QStringList files = {oversized, m_dir.filePath(QStringLiteral("missing.dvprx"))};
        const QDir hostile(QStringLiteral(DORVANE_HOSTILE_DIR "/rxprotocol"));
        for (const QString &name : hostile.entryList(QDir::Files))
            files << hostile.filePath(name);
        QVERIFY(files.size() >= 10);

        MainWindow *main = dvApp->mainWindow();
        RxFrameWindow *window = main->rxFrameWindow();
        QVERIFY(window->open(m_protocolPath));
        for (const QString &file : qAsConst(files)) {
            MessageBoxCatcher catcher;
            QVERIFY2(!window->isReadable(file), qPrintable(file));
            main->openRxProtocolFile(file);
            QVERIFY2(catcher.waitForBox(), qPrintable(file));
            QCOMPARE(catcher.texts().first(),
                     QStringLiteral("Unable to open file: ") + QDir::toNativeSeparators(file));
            QCOMPARE(window->path(), m_protocolPath);
            QCOMPARE(window->protocol()->GetFieldCount(), 5);
        }
        main->rxFramesDock()->hide();
    }

    void invalidProtocolDoesNotStartAndSaysWhy()
    {
        const FieldDef broken[] = {{10, "head", "", 1, -1}, {11, "speed", "", 0, 1}, {10, "pad", "0", 0, -1}};
        const QString path = m_dir.filePath(QStringLiteral("broken.dvprx"));
        QVERIFY(writeProtocol(path, broken));
        Bench bench;
        QVERIFY(bench.window.open(path));
        const QString reason = QStringLiteral("A flag needs at least one numeric constant");
        QCOMPARE(bench.window.fieldTable()->rowProblem(0), reason);
        QCOMPARE(bench.window.fieldTable()->rowProblem(1), QString());
        QVERIFY(!bench.window.startParsing());
        QVERIFY(bench.window.statusLabel()->text().contains(QStringLiteral("Row 1: ") + reason));
        QVERIFY(!bench.watcher.isTimingCycleRunning());

        // A block without a positive count is the other kind of refusal.
        RxFieldTable *table = bench.window.fieldTable();
        table->item(0, RxFieldTable::ParamsColumn)->setText(QStringLiteral("0xAA"));
        QCOMPARE(table->rowProblem(0), QString());
        RxFieldTable::setRole(bench.window.protocol()->GetField(2), RxFieldTable::BlockRole);
        QVERIFY(RxFieldTable::protocolProblem(bench.window.protocol())
                    .contains(QStringLiteral("Row 3: A block")));
    }

    void streamModeJoinsSplitFramesAndCountsSkippedBytes()
    {
        Bench bench;
        QVERIFY(bench.window.open(m_protocolPath));
        QVERIFY(bench.window.startParsing());
        const QByteArray one = frameOf(1000, -3, 255);
        const QByteArray two = frameOf(2, 4, 1);
        const QByteArray three = frameOf(65535, -128, 0);
        // Garbage before the first frame and between the second and third;
        // frames split across chunks.
        bench.watcher.inputData(QByteArray("\x01\x02\x03", 3) + one.left(4));
        bench.watcher.inputData(one.mid(4) + two + QByteArray("\x10\x20", 2) + three.left(3));
        QTest::qWait(30);
        bench.watcher.inputData(three.mid(3));
        QTRY_COMPARE_WITH_TIMEOUT(bench.window.decodedFrames(), qint64(3), 5000);
        bench.window.refreshNow();
        RxValueTable *values = bench.window.valueTable();
        QCOMPARE(values->rowCount(), 3);
        QCOMPARE(values->item(0, 0)->text(), QStringLiteral("speed"));
        QCOMPARE(values->rawText(0), QStringLiteral("65535"));
        QCOMPARE(values->scaledText(0), QStringLiteral("32767.5"));
        QCOMPARE(values->rawText(1), QStringLiteral("-128"));
        QCOMPARE(values->rawText(2), QStringLiteral("0"));
        QCOMPARE(bench.watcher.skippedBytes(), qint64(5));
        QVERIFY(bench.window.countText().contains(QStringLiteral("decoded 3 ")));
        QVERIFY(bench.window.countText().contains(QStringLiteral("skipped 5 bytes")));
        // Line 1 holds every speed, scaled; the level feeds no line.
        RxPlot *plot = bench.window.plot();
        QCOMPARE(plot->lineCount(), 2);
        QCOMPARE(plot->series(0).size(), 3);
        QCOMPARE(plot->series(0).valueAt(0), 500.0);
        QCOMPARE(plot->series(1).valueAt(1), 4.0);
        bench.window.stopParsing();
        QVERIFY(!bench.watcher.isTimingCycleRunning());
    }

    void packetModeTakesEachChunkOnce()
    {
        Bench bench;
        QVERIFY(bench.window.open(m_protocolPath));
        actionOf(&bench.window, "RxPacketModeAction")->setChecked(true);
        QVERIFY(bench.window.startParsing());
        QVERIFY(bench.watcher.isPacketMode());
        bench.watcher.inputData(frameOf(10, 1, 2));
        // Half a frame is one failed attempt; its other half is no frame either.
        const QByteArray split = frameOf(20, 2, 3);
        bench.watcher.inputData(split.left(3));
        bench.watcher.inputData(split.mid(3));
        bench.watcher.inputData(frameOf(30, 3, 4));
        QTRY_COMPARE_WITH_TIMEOUT(bench.window.decodedFrames(), qint64(2), 5000);
        QTest::qWait(50);
        QCOMPARE(bench.window.decodedFrames(), qint64(2));
        QCOMPARE(bench.watcher.skippedBytes(), qint64(kFrameSize));
        bench.window.refreshNow();
        QCOMPARE(bench.window.valueTable()->rawText(0), QStringLiteral("30"));
        QCOMPARE(bench.window.valueTable()->scaledText(0), QStringLiteral("15"));
    }

    void pauseLosesNothingAndCsvHoldsExactValues()
    {
        Bench bench;
        QVERIFY(bench.window.open(m_protocolPath));
        QVERIFY(bench.window.startParsing());
        for (int i = 0; i < 10; ++i) {
            bench.watcher.inputData(frameOf(quint16(i * 101 + 1), qint8(-i), 0));
            QTest::qWait(2);
        }
        QTRY_COMPARE_WITH_TIMEOUT(bench.window.decodedFrames(), qint64(10), 5000);
        RxPlot *plot = bench.window.plot();
        plot->refresh(true);
        actionOf(&bench.window, "RxPauseAction")->setChecked(true);
        QVERIFY(plot->isPaused());
        const double frozenTo = plot->viewTo();
        for (int i = 10; i < 20; ++i) {
            bench.watcher.inputData(frameOf(quint16(i * 101 + 1), qint8(-i), 0));
            QTest::qWait(2);
        }
        QTRY_COMPARE_WITH_TIMEOUT(bench.window.decodedFrames(), qint64(20), 5000);
        plot->refresh(true);
        QCOMPARE(plot->viewTo(), frozenTo);

        const QString csv = m_dir.filePath(QStringLiteral("all.csv"));
        QSignalSpy exported(&bench.window, &RxFrameWindow::csvExportFinished);
        QVERIFY(bench.window.exportCsv(csv, false));
        QVERIFY(exported.wait(10000));
        QCOMPARE(exported.last().at(1).toBool(), true);
        const QList<QByteArrayList> rows = csvRows(csv);
        QCOMPARE(rows.size(), 21);
        QCOMPARE(rows.first(), QByteArrayList({"time_s", "graph_1", "graph_2"}));
        double previous = -1.0;
        for (int i = 0; i < 20; ++i) {
            const QByteArrayList &row = rows.at(i + 1);
            QCOMPARE(row.size(), 3);
            // Microseconds: six decimals.
            QCOMPARE(row.at(0).size() - row.at(0).indexOf('.') - 1, 6);
            const double time = row.at(0).toDouble();
            QVERIFY(time >= previous);
            previous = time;
            QCOMPARE(row.at(1).toDouble(), double(i * 101 + 1) * 0.5);
            QCOMPARE(row.at(2).toDouble(), double(-i));
        }
        // Every value reads back bit for bit, a third for instance.
        QCOMPARE(QByteArray::number(1.0 / 3.0, 'g', QLocale::FloatingPointShortest).toDouble(), 1.0 / 3.0);

        // The visible range: frames 3 to 6 of line 1.
        const RxSeries &series = plot->series(0);
        plot->xAxis->setRange(series.timeAt(3), series.timeAt(6));
        const QString part = m_dir.filePath(QStringLiteral("part.csv"));
        QVERIFY(bench.window.exportCsv(part, true));
        QVERIFY(exported.wait(10000));
        QCOMPARE(exported.last().at(1).toBool(), true);
        const QList<QByteArrayList> partRows = csvRows(part);
        QCOMPARE(partRows.size(), 5);
        QCOMPARE(partRows.at(1).at(1).toDouble(), double(3 * 101 + 1) * 0.5);
        QCOMPARE(partRows.at(4).at(1).toDouble(), double(6 * 101 + 1) * 0.5);

        // Resume returns to live.
        actionOf(&bench.window, "RxPauseAction")->setChecked(false);
        QCOMPARE(plot->viewTo(), std::max(plot->latestTime(), plot->timeWindow()));
    }

    void historyIsBoundedAndDecimationKeepsPeaks()
    {
        QCOMPARE(RxSeries::kDefaultCapacity, 1000000);
        RxSeries series(1000);
        for (int i = 0; i < 5000; ++i)
            series.append(i, i == 4500 ? 1e6 : i == 4600 ? -1e6 : double(i % 7));
        QCOMPARE(series.size(), 1000);
        QCOMPARE(series.appended(), qint64(5000));
        QCOMPARE(series.timeAt(0), 4000.0);
        QCOMPARE(series.timeAt(999), 4999.0);
        // Two doubles a point and four a block of 64.
        QVERIFY(series.memoryBytes()
                <= qint64(1000 * 2 * sizeof(double) + (1000 / 64 + 2) * 4 * sizeof(double)));
        QCOMPARE(series.lowerBound(4500.5), 501);

        QVector<double> keys;
        QVector<double> values;
        series.decimate(4000, 4999, 10, keys, values);
        QVERIFY(keys.size() <= 2 * 10 + 4);
        QVERIFY(values.contains(1e6));
        QVERIFY(values.contains(-1e6));
        QVERIFY(std::is_sorted(keys.cbegin(), keys.cend()));
        // A long history is read through its block summaries: the peaks
        // stay, wherever they lie in a block, also after the ring wrapped.
        RxSeries longer(100000);
        for (int i = 0; i < 150000; ++i)
            longer.append(i, i == 123457 ? 5e6 : i == 140001 ? -5e6 : double(i % 13));
        longer.decimate(50000, 149999, 10, keys, values);
        QVERIFY(keys.size() <= 2 * 10 + 4);
        QVERIFY(values.contains(5e6));
        QVERIFY(values.contains(-5e6));
        QVERIFY(std::is_sorted(keys.cbegin(), keys.cend()));
        QVERIFY(keys.first() >= 50000.0 && keys.last() <= 149999.0);

        // Few points are drawn as they are.
        series.decimate(4990, 4995, 100, keys, values);
        QCOMPARE(keys, QVector<double>({4989, 4990, 4991, 4992, 4993, 4994, 4995, 4996}));
    }

    void realPeerFramesReachTableAndPlot()
    {
        PseudoTerminal pty;
        if (!pty.isOpen())
            QSKIP("openpty failed: no pseudo-terminal available");
        MainWindow *main = dvApp->mainWindow();
        // The tool bar action sits right after "Inspect" and shows the dock.
        const QList<QAction *> actions = main->toolBar()->actions();
        int inspect = -1;
        for (int i = 0; i < actions.size(); ++i) {
            if (actions.at(i)->text() == QStringLiteral("Inspect"))
                inspect = i;
        }
        QVERIFY(inspect >= 0 && inspect + 1 < actions.size());
        QCOMPARE(actions.at(inspect + 1)->text(), QStringLiteral("RX Frames"));
        QVERIFY(main->rxFramesDock()->isHidden());
        actions.at(inspect + 1)->trigger();
        QVERIFY(main->rxFramesDock()->isVisible());

        RxFrameWindow *window = main->rxFrameWindow();
        QVERIFY(window->open(m_protocolPath));
        QVERIFY(openApplicationPty(pty));
        QVERIFY(window->startParsing());
        QByteArray frames;
        for (int i = 0; i < 50; ++i)
            frames += frameOf(quint16(i), qint8(i - 25), quint8(i));
        QCOMPARE(::write(pty.master(), frames.constData(), size_t(frames.size())), ssize_t(frames.size()));
        QTRY_COMPARE_WITH_TIMEOUT(window->decodedFrames(), qint64(50), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(window->valueTable()->rawText(2), QStringLiteral("49"), 2000);
        QCOMPARE(window->valueTable()->scaledText(0), QStringLiteral("24.5"));
        QCOMPARE(window->valueTable()->rawText(1), QStringLiteral("24"));
        RxPlot *plot = window->plot();
        plot->refresh(true);
        QVERIFY(!plot->graphOf(0)->data()->isEmpty());
        QCOMPARE((plot->graphOf(0)->data()->constEnd() - 1)->value, 24.5);
        QVERIFY(window->countText().startsWith(QStringLiteral("")));
        QVERIFY(window->countText().contains(QStringLiteral("dropped 0 frames, 0 packets, 0 bytes")));
        window->stopParsing();
        dvApp->channelProxy()->close();
        main->rxFramesDock()->hide();
    }

private:
    QTemporaryDir m_dir;
    QString m_protocolPath;
};

DORVANE_APP_TEST_MAIN(TestRxFrameWindow)

#include "tst_rxframewindow.moc"

// How long the history and instruct-set documents take to read, and the
// instruct-set window to show a whole set, by size. Runs the application
// offscreen on a temporary data directory and prints a table:
//   bench_itemdocuments
#include "model/historylist.h"
#include "model/instructset.h"
#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/instructs/instructsetwindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

QByteArray document(const char *title, const char *listKey, int entries)
{
    QByteArray text = QByteArray("fileFormat: ") + title + "\nfileVersion: \"1.0\"\n" + listKey + ":\n";
    for (int i = 0; i < entries; ++i)
        text += "  - title: instruct " + QByteArray::number(i)
                + "\n    fireTime: 2026-01-01 10:00:00.000\n    content: \"01 03 00 00 00 0A C5 CD\"\n"
                  "    textMode: Hex\n    interval: 500\n";
    return text;
}

QString writeDocument(const QTemporaryDir &dir, const char *title, const char *listKey, int entries)
{
    const QString path = dir.filePath(QStringLiteral("%1-%2").arg(QLatin1String(listKey)).arg(entries));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(document(title, listKey, entries));
    return path;
}

// The best of three runs, in milliseconds.
double bestOf(const std::function<void()> &run)
{
    double best = 1e12;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        best = qMin(best, clock.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    Application app(argc, argv);
    app.startUp(dir.path());

    std::printf("%-44s %10s\n", "case", "ms");
    for (int entries : {50, 1000, 100000}) {
        const QString path = writeDocument(dir, "dorvane history file", "instructList", entries);
        const double ms = bestOf([&] {
            HistoryList list;
            list.load(path);
        });
        std::printf("history file, %6d entries (keeps 50)      %10.1f\n", entries, ms);
    }
    for (int entries : {100, 1000, 100000}) {
        const QString path = writeDocument(dir, "dorvane instruct-set file", "instructs", entries);
        const double ms = bestOf([&] {
            InstructSet set;
            set.load(path);
        });
        std::printf("instruct-set file, %6d entries           %10.1f\n", entries, ms);
    }
    InstructSetWindow *window = app.mainWindow()->instructSetWindow();
    for (int entries : {100, 1000}) {
        const QString path = writeDocument(dir, "dorvane instruct-set file", "instructs", entries);
        const double ms = bestOf([&] {
            window->open(path);
            QCoreApplication::processEvents();
        });
        std::printf("instruct-set window open, %5d rows         %10.1f\n", entries, ms);
    }
    app.shutDown();
    return 0;
}

// The find bar's search on a full echo view: 100 000 labelled hex lines of
// 16 bytes, searched for a hex pattern, a text pattern that matches often and
// one that matches nothing. Prints the milliseconds of each (best of five)
// and the match counts.
//
//   bench_echofind
#include "windows/dialogue/echofindbar.h"
#include "windows/dialogue/echotextedit.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    EchoTextEdit edit(dir.filePath(QStringLiteral("dialogue.yaml")));
    edit.setDisplayLabel(true);
    edit.setLimits(100000, 10000000);
    const int lines = 100000;
    QByteArray chunk(16, '\0');
    for (int i = 0; i < lines; ++i) {
        for (int b = 0; b < chunk.size(); ++b)
            chunk[b] = char((i * 31 + b * 7) & 0xFF);
        edit.echo(QDateTime::currentDateTime(), chunk, EchoTextEdit::Received);
        if (i % 1000 == 999)
            edit.flushEcho();
    }
    edit.flushEcho();
    std::printf("log lines: %d, document lines: %d\n", edit.logLineCount(), edit.document()->blockCount());

    struct Case
    {
        const char *name;
        QString pattern;
        bool hex;
        bool matchCase;
    };
    const Case cases[] = {
        {"hex pattern \"1F 26\"", QStringLiteral("1f26"), true, false},
        {"text \"A\" (case-insensitive)", QStringLiteral("a"), false, false},
        {"text with no match", QStringLiteral("zzzz"), false, true},
    };
    for (const Case &c : cases) {
        qint64 best = -1;
        int count = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer clock;
            clock.start();
            count = EchoFindBar::findAll(&edit, c.pattern, c.hex, c.matchCase).size();
            const qint64 us = clock.nsecsElapsed() / 1000;
            if (best < 0 || us < best)
                best = us;
        }
        std::printf("%-32s %8d matches  %7.1f ms\n", c.name, count, best / 1000.0);
    }
    return 0;
}

// Starts the whole application with a document named on the command line
// and checks which window it reached:
//   tst_commandline [<suffix> editor|set|instruct|rx|none]   (default: DVPTC editor)
#include <dorvane/App.h>

#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/rxframes/rxframewindow.h"

#include <QCoreApplication>
#include <QDockWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char *g_expected = "none";
bool g_ok = false;

void checkDocks()
{
    QTimer::singleShot(0, [] {
        MainWindow *window = Application::instance()->mainWindow();
        const bool editor = window->protocolEditorDock()->isVisible();
        const bool set = window->protocolSetDock()->isVisible();
        const bool instruct = window->instructSetDock()->isVisible();
        const bool rx = window->rxFramesDock()->isVisible();
        if (std::strcmp(g_expected, "editor") == 0)
            g_ok = editor && !set && !instruct && !window->protocolEditor()->documentPath().isEmpty();
        else if (std::strcmp(g_expected, "set") == 0)
            g_ok = set && !editor && !instruct;
        else if (std::strcmp(g_expected, "instruct") == 0)
            g_ok = instruct && !editor && !set && window->instructSetWindow()->rowCount() == 1;
        else if (std::strcmp(g_expected, "rx") == 0)
            g_ok = rx && !editor && !set && !instruct && !window->rxFrameWindow()->path().isEmpty();
        else
            g_ok = !editor && !set && !instruct && !rx;
        if (!g_ok)
            std::fprintf(stderr, "FAIL: editor dock %s, set dock %s, instruct dock %s, expected %s\n",
                         editor ? "shown" : "hidden", set ? "shown" : "hidden", instruct ? "shown" : "hidden",
                         g_expected);
        QCoreApplication::exit(0);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(checkDocks)

int main(int argc, char **argv)
{
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "usage: %s [<suffix> editor|set|instruct|rx|none]\n", argv[0]);
        return 2;
    }
    const char *suffix = argc == 3 ? argv[1] : "DVPTC";
    g_expected = argc == 3 ? argv[2] : "editor";

    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/document." + suffix;
    // The editor and the instruct set open only a document they can read.
    if (std::FILE *file = std::fopen(path.c_str(), "w")) {
        if (std::strcmp(g_expected, "editor") == 0)
            std::fputs("fileFormat: dorvane protocol file\nfileVersion: \"1.0\"\n"
                       "protocol: {fields: 1, values: 1}\nfields:\n"
                       "  - {name: a, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: "
                       "\"1\"}]}\n",
                       file);
        else if (std::strcmp(g_expected, "instruct") == 0)
            std::fputs("fileFormat: dorvane instruct-set file\nfileVersion: \"1.0\"\n"
                       "instructs:\n  - {title: ping, content: \"01 02\", textMode: Hex, interval: 500}\n",
                       file);
        else if (std::strcmp(g_expected, "rx") == 0)
            std::fputs(
                "fileFormat: dorvane rx-protocol file\nfileVersion: \"1.0\"\nprotocol: {fields: 1}\nfields:\n"
                "  - {name: a, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: \"1\", "
                "graph: 1, form: -1, flag: 0}]}\n",
                file);
        std::fclose(file);
    }

    std::vector<std::string> args = {argv[0], path};
    std::vector<char *> pointers = {args[0].data(), args[1].data(), nullptr};
    int count = 2;
    if (RunApplication(count, pointers.data()) != 0 || !g_ok)
        return 1;
    std::printf("PASS: .%s reached %s\n", suffix, g_expected);
    return 0;
}

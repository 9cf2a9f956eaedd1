// Starts the whole application with a document named on the command line
// and checks which window it reached:
//   tst_commandline [<suffix> editor|set|instruct|rx|none]   (default: DVPTC editor)
// A document that is not opened ("none") must be reported in a warning that
// names it; the protocol set is too large and its warning must say so. The suffix "latin1" names a protocol
// file whose name is not UTF-8.
#include <dorvane/App.h>

#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/rxframes/rxframewindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDockWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <yaml-cpp/yaml.h>

namespace {

const char *g_expected = "none";
bool g_ok = false;
QString g_warning;

void checkDocks()
{
    // A warning about the arguments holds the start-up in its own loop: it
    // is read and answered, and the docks are looked at once the main loop runs.
    QTimer::singleShot(100, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            g_warning += box->text();
            box->reject();
            checkDocks();
            return;
        }
        MainWindow *window = Application::instance()->mainWindow();
        const bool editor = window->protocolEditorDock()->isVisible();
        const bool set = window->protocolSetDock()->isVisible();
        const bool instruct = window->instructSetDock()->isVisible();
        const bool rx = window->rxFramesDock()->isVisible();
        if (std::strcmp(g_expected, "editor") == 0)
            g_ok = editor && !set && !instruct && !window->protocolEditor()->documentPath().isEmpty();
        else if (std::strcmp(g_expected, "set") == 0)
            g_ok = set && !editor && !instruct && g_warning.contains(QLatin1String("too large"));
        else if (std::strcmp(g_expected, "instruct") == 0)
            g_ok = instruct && !editor && !set && window->instructSetWindow()->rowCount() == 1;
        else if (std::strcmp(g_expected, "rx") == 0)
            g_ok = rx && !editor && !set && !instruct && !window->rxFrameWindow()->path().isEmpty();
        else
            g_ok = !editor && !set && !instruct && !rx && g_warning.contains(QLatin1String("document"));
        if (std::strcmp(g_expected, "none") != 0 && std::strcmp(g_expected, "set") != 0
            && !g_warning.isEmpty()) {
            std::fprintf(stderr, "FAIL: unexpected warning: %s\n", qPrintable(g_warning));
            g_ok = false;
        }
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

    // This run uses the Data directory beside the program: an arrangement of the
    // docks kept there by an earlier run would decide which docks show.
    const std::string program = argv[0];
    const std::string settings = program.substr(0, program.rfind('/') + 1) + "Data/Settings/app.settings";
    try {
        YAML::Node doc = YAML::LoadFile(settings);
        if (doc["workbench"]) {
            doc.remove("workbench");
            std::ofstream(settings) << doc;
        }
    } catch (const std::exception &) {
        // No settings file yet, or one the start-up sets aside itself.
    }

    QTemporaryDir dir;
    const bool latin1 = std::strcmp(suffix, "latin1") == 0;
    const std::string path = dir.path().toStdString() + (latin1 ? "/document-caf\xe9.dvptc" : "/document.")
                             + (latin1 ? "" : suffix);
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
        else if (std::strcmp(g_expected, "set") == 0) {
            // Sparse: larger than any protocol set may be, at no cost of disk.
            std::fseek(file, 17L * 1024 * 1024, SEEK_SET);
            std::fputc('\n', file);
        } else if (std::strcmp(g_expected, "rx") == 0)
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

// Arbitrary bytes as the application settings file, through the loader that start-up uses. It
// must accept or refuse them without crashing; the values the application and the channel pages
// read from an accepted document must come out without throwing; and an accepted document, as
// the application writes it back, must be accepted again, or the next start would set the
// user's settings aside.
#include "model/settingsvalues.h"
#include "shell/applicationoptions.h"

#include <QByteArray>
#include <QGuiApplication>

#include <yaml-cpp/yaml.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The font configuration library keeps a cache it never frees; it is not ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The options hold fonts, which need a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    // The first options object loads the font configuration, which keeps
    // what it allocates for the life of the process: done here, outside any
    // input, it is not taken for a leak.
    const ApplicationOptions warmUp;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > std::size_t(ApplicationOptions::kMaxSettingsFileSize))
        return 0;
    ApplicationOptions options;
    const QByteArray text(reinterpret_cast<const char *>(data), int(size));
    if (!options.acceptSettingsText(text).isEmpty())
        return 0;
    options.applySettingsDocument();

    const YAML::Node network = options.section("network");
    for (const char *key : {"channelType", "localPort", "remotePort"})
        settingsInt(network, key, 0);
    for (const char *key : {"localAddress", "remoteAddress", "multicastAddress"})
        settingsString(network, key, QString());
    const YAML::Node serial = options.section("serialPort");
    for (const char *key : {"baudrate", "dataBits", "stopBits", "parity"})
        settingsInt(serial, key, 0);
    settingsString(serial, "name", QString());

    YAML::Emitter out;
    out << options.settingsDocument;
    if (!out.good())
        return 0;
    ApplicationOptions again;
    const QString refused = again.acceptSettingsText(QByteArray(out.c_str(), int(out.size())));
    if (!refused.isEmpty()) {
        std::fprintf(stderr, "a settings document as written back %s:\n%s\n", qPrintable(refused),
                     out.c_str());
        std::abort();
    }
    return 0;
}

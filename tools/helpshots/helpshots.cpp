// Takes the help page's pictures: starts the workbench in this process on a
// Data directory of its own, talks to two dorvane-devsim devices through the
// windows' own buttons, and saves one PNG per window. Run by
// tools/take-screenshots.sh under Xvfb; not part of the build's tests.
#include "model/transmittext.h"
#include "shell/aboutdialog.h"
#include "shell/application.h"
#include "shell/mainwindow.h"
#include "windows/channel/channelwindow.h"
#include "windows/channel/serialchannelwidget.h"
#include "windows/rxframes/rxframewindow.h"
#include "windows/transmit/transmittextedit.h"
#include "windows/transmit/transmitwindow.h"

#include <dorvane/Channel.h>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>

namespace {

void wait(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QTest::qWait(20);
}

QAbstractButton *buttonByText(QWidget *parent, const QString &text)
{
    for (QAbstractButton *button : parent->findChildren<QAbstractButton *>()) {
        if (button->text() == text && button->isVisible())
            return button;
    }
    return nullptr;
}

// CRC-16/MODBUS, appended low byte first as the devices expect it.
QByteArray withModbusCrc(const QByteArray &frame)
{
    quint16 crc = 0xFFFF;
    for (char c : frame) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return frame + char(crc & 0xFF) + char(crc >> 8);
}

class Shooter
{
public:
    Shooter(MainWindow *window, const QString &outDir, const QString &samplesDir)
        : m_window(window)
        , m_out(outDir)
        , m_samples(samplesDir)
    {
    }

    int failures() const { return m_failures; }

    void save(QWidget *widget, const QString &name)
    {
        wait(300);
        const QString path = m_out.filePath(name);
        if (widget->grab().save(path)) {
            std::printf("%s (%dx%d)\n", qPrintable(path), widget->width(), widget->height());
        } else {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            ++m_failures;
        }
    }

    // A dock taken out of the layout at a size that shows its controls, then
    // put back where it was.
    void saveFloating(QDockWidget *dock, const QString &name, const QSize &size)
    {
        const QByteArray state = m_window->saveState();
        m_window->presentDock(dock);
        dock->setFloating(true);
        dock->resize(size);
        dock->move(0, 0);
        dock->raise();
        save(dock, name);
        dock->setFloating(false);
        m_window->restoreState(state);
        wait(200);
    }

    void openSerial(const QString &path)
    {
        SerialChannelWidget *serial = m_window->channelWindow()->serialWidget();
        auto *port = serial->findChild<QComboBox *>(QStringLiteral("cbxPortName"));
        auto *control = serial->findChild<QAbstractButton *>(QStringLiteral("btnSerialPortControl"));
        if (!port || !control) {
            std::fprintf(stderr, "the channel window has no port box or open button\n");
            ++m_failures;
            return;
        }
        if (control->text() != QLatin1String("Open"))
            QTest::mouseClick(control, Qt::LeftButton);
        port->setEditText(path);
        QTest::mouseClick(control, Qt::LeftButton);
        wait(300);
        if (control->text() != QLatin1String("Close")) {
            std::fprintf(stderr, "%s did not open\n", qPrintable(path));
            ++m_failures;
        }
    }

    void closeSerial()
    {
        SerialChannelWidget *serial = m_window->channelWindow()->serialWidget();
        auto *control = serial->findChild<QAbstractButton *>(QStringLiteral("btnSerialPortControl"));
        if (control && control->text() == QLatin1String("Close"))
            QTest::mouseClick(control, Qt::LeftButton);
        wait(300);
    }

    void send(const QByteArray &bytes)
    {
        TransmitWindow *transmit = m_window->transmitWindow();
        transmit->setTransmitText(QString::fromLatin1(bytes.toHex(' ').toUpper()), HexTextMode);
        if (QAbstractButton *button = buttonByText(transmit, QStringLiteral("Send")))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            transmit->sendTransmitText();
        wait(250);
    }

    // The transmit window's own periodic sending, as a user starts it.
    void startPeriodicSend(const QByteArray &bytes, int periodMs)
    {
        TransmitWindow *transmit = m_window->transmitWindow();
        transmit->setTransmitText(QString::fromLatin1(bytes.toHex(' ').toUpper()), HexTextMode);
        m_periodButton = nullptr;
        for (QToolButton *button : transmit->findChildren<QToolButton *>()) {
            if (button->text() == QLatin1String("Enable Period Send") && !button->defaultAction())
                m_periodButton = button;
        }
        QSpinBox *period = transmit->findChildren<QSpinBox *>().value(0);
        if (!m_periodButton || !period) {
            std::fprintf(stderr, "the transmit window has no periodic sending controls\n");
            ++m_failures;
            return;
        }
        m_periodButton->setChecked(true);
        period->setValue(periodMs);
        if (QAbstractButton *button = buttonByText(transmit, QStringLiteral("Send")))
            QTest::mouseClick(button, Qt::LeftButton);
    }

    void stopPeriodicSend()
    {
        if (QAbstractButton *button = buttonByText(m_window->transmitWindow(), QStringLiteral("Stop Send")))
            QTest::mouseClick(button, Qt::LeftButton);
        wait(300);
        if (m_periodButton)
            m_periodButton->setChecked(false);
    }

    void trigger(QWidget *parent, const char *name)
    {
        if (QAction *action = parent->findChild<QAction *>(QLatin1String(name))) {
            action->trigger();
            return;
        }
        std::fprintf(stderr, "no action %s\n", name);
        ++m_failures;
    }

    void triggerText(QWidget *parent, const QString &text)
    {
        for (QAction *action : parent->findChildren<QAction *>()) {
            if (action->text() == text) {
                action->trigger();
                return;
            }
        }
        std::fprintf(stderr, "no action \"%s\"\n", qPrintable(text));
        ++m_failures;
    }

    // The transmit window with its calculator, CRC and pacing bars shown,
    // a number converted and the request's checksum computed.
    void saveTransmitTools(const QString &name)
    {
        TransmitWindow *transmit = m_window->transmitWindow();
        const QStringList bars{QStringLiteral("Show/Hide Calc Tools"), QStringLiteral("Show/Hide CRC Tools"),
                               QStringLiteral("Show/Hide Pacing and File Tools")};
        for (const QString &bar : bars)
            triggerText(transmit, bar);
        transmit->setTransmitText(QStringLiteral("01 03 00 00 00 02"), HexTextMode);
        if (auto *decimal = transmit->findChild<QLineEdit *>(QStringLiteral("DecimalInput")))
            decimal->setText(QStringLiteral("4660"));
        transmit->refreshHexOut();
        if (auto *model = transmit->findChild<QComboBox *>(QStringLiteral("CrcModel"))) {
            const int index = model->findText(QStringLiteral("MODBUS"), Qt::MatchContains);
            if (index >= 0)
                model->setCurrentIndex(index);
        }
        // The checksum covers the text before the cursor.
        transmit->editor()->moveCursor(QTextCursor::End);
        transmit->computeChecksum();
        saveFloating(m_window->transmitDock(), name, QSize(1000, 330));
        for (const QString &bar : bars)
            triggerText(transmit, bar);
    }

    // Docks that are added later are found by their title; until then their
    // picture is left for a later run.
    void saveDockTitled(const QString &title, const QString &name)
    {
        for (QDockWidget *dock : m_window->findChildren<QDockWidget *>()) {
            if (dock->windowTitle() == title) {
                saveFloating(dock, name, QSize(1000, 600));
                return;
            }
        }
        std::printf("no dock titled \"%s\" yet: %s not taken\n", qPrintable(title), qPrintable(name));
    }

    QString sample(const char *name) const { return m_samples.filePath(QLatin1String(name)); }

private:
    QToolButton *m_periodButton = nullptr;
    MainWindow *m_window;
    QDir m_out;
    QDir m_samples;
    int m_failures = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Dorvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    // Settings and history stay in the given directory, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Takes the pictures of the help page."));
    parser.addHelpOption();
    const QCommandLineOption appDir(QStringLiteral("app-dir"), QStringLiteral("Directory that holds Data."),
                                    QStringLiteral("dir"));
    const QCommandLineOption outDir(QStringLiteral("out"), QStringLiteral("Where the pictures go."),
                                    QStringLiteral("dir"));
    const QCommandLineOption telemetry(QStringLiteral("telemetry"),
                                       QStringLiteral("Serial port of a devsim telemetry device."),
                                       QStringLiteral("path"));
    const QCommandLineOption modbus(QStringLiteral("modbus"),
                                    QStringLiteral("Serial port of a devsim Modbus device."),
                                    QStringLiteral("path"));
    parser.addOptions({appDir, outDir, telemetry, modbus});
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    for (const QCommandLineOption &option : {appDir, outDir, telemetry, modbus}) {
        if (!parser.isSet(option)) {
            std::fprintf(stderr, "--%s is needed\n", qPrintable(option.names().constFirst()));
            return 2;
        }
    }

    // The application sees only the program's name: it would take every
    // other argument for a document to open.
    int appArgc = 1;
    Application app(appArgc, argv);
    app.startUp(parser.value(appDir));
    MainWindow *window = app.mainWindow();
    window->resize(1200, 700);
    window->move(0, 0);
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "the main window was not shown\n");
    Shooter shots(window, parser.value(outDir), parser.value(appDir) + QStringLiteral("/Data/samples"));

    // The Modbus device: the read request, a write, and the read again.
    shots.openSerial(parser.value(modbus));
    const QByteArray read = QByteArray::fromHex("010300000002");
    shots.send(withModbusCrc(read));
    shots.send(withModbusCrc(QByteArray::fromHex("01060001BEEF")));
    shots.send(withModbusCrc(read));
    shots.send(withModbusCrc(QByteArray::fromHex("010300630005")));
    // Pi as a little-endian float.
    window->interpretHex(QStringLiteral("DB 0F 49 40"));
    wait(500);
    shots.save(window, QStringLiteral("mainwindow.png"));
    shots.save(window->channelDock(), QStringLiteral("channel.png"));
    shots.save(window->dialogueDock(), QStringLiteral("dialogue.png"));
    shots.saveTransmitTools(QStringLiteral("transmit.png"));
    shots.saveFloating(window->historyDock(), QStringLiteral("history.png"), QSize(700, 400));
    shots.saveFloating(window->interpretDock(), QStringLiteral("inspect.png"), QSize(760, 620));

    window->openInstructSetFile(shots.sample("devsim-modbus.dvits"));
    shots.saveFloating(window->instructSetDock(), QStringLiteral("instructset.png"), QSize(760, 420));
    window->openProtocolFile(shots.sample("devsim-modbus-read.dvptc"));
    shots.saveFloating(window->protocolEditorDock(), QStringLiteral("protocoleditor.png"), QSize(1100, 560));
    window->openProtocolSetFile(shots.sample("devsim-modbus.dvpts"));
    shots.saveFloating(window->protocolSetDock(), QStringLiteral("protocolset.png"), QSize(1000, 420));

    // The telemetry device, decoded and plotted for ten seconds.
    shots.openSerial(parser.value(telemetry));
    window->openRxProtocolFile(shots.sample("devsim-telemetry.dvprx"));
    window->presentDock(window->rxFramesDock());
    shots.trigger(window->rxFrameWindow(), "RxStartAction");
    wait(11000);
    shots.saveFloating(window->rxFramesDock(), QStringLiteral("rxframes.png"), QSize(1150, 660));

    // Requests to the Modbus device every millisecond, high-resolution timing:
    // what the Timing and Link Health docks are for.
    window->rxFrameWindow()->findChild<QAction *>(QStringLiteral("RxStartAction"))->trigger();
    shots.closeSerial();
    if (auto *hires
        = window->channelWindow()->serialWidget()->findChild<QRadioButton *>(QStringLiteral("rbHiresTimer")))
        hires->setChecked(true);
    shots.openSerial(parser.value(modbus));
    shots.startPeriodicSend(withModbusCrc(read), 1);
    window->presentDock(window->findChild<QDockWidget *>(QStringLiteral("TimingPanel")));
    window->presentDock(window->findChild<QDockWidget *>(QStringLiteral("LinkHealthPanel")));
    wait(4000);
    shots.save(window, QStringLiteral("periodic.png"));
    shots.saveDockTitled(QStringLiteral("Timing"), QStringLiteral("timing.png"));
    shots.saveDockTitled(QStringLiteral("Link Health"), QStringLiteral("linkhealth.png"));
    shots.stopPeriodicSend();

    // Parented to the main window, which deletes it at shut-down.
    auto *about = new AboutDialog(window);
    about->show();
    if (!QTest::qWaitForWindowExposed(about))
        std::fprintf(stderr, "the about box was not shown\n");
    shots.save(about, QStringLiteral("about.png"));
    about->close();

    app.channelProxy()->close();
    const int failures = shots.failures();
    app.shutDown();
    return failures == 0 ? 0 : 1;
}

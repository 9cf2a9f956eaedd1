// A window showing every widget of the widget extensions, for a person to look at.
// Options: --screenshot <file.png> saves the window after start-up and quits.
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace {

QIcon galleryIcon(const char *name)
{
    return QIcon(QStringLiteral(":/gallery/icons/%1.svg").arg(QLatin1String(name)));
}

QGroupBox *section(const QString &title, QWidget *content)
{
    QGroupBox *box = new QGroupBox(title);
    QVBoxLayout *layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

// Swaps the label's background between two colours while it blinks.
class BackgroundBlink : public WdxBlinkPolicy
{
public:
    void onBlinkStart(QWidget *widget, int) override { paint(widget, QColor(255, 226, 148)); }
    void onBlink(QWidget *widget, int, int phase) override
    {
        paint(widget, phase == 0 ? QColor(255, 226, 148) : QColor(239, 72, 16));
    }
    void onBlinkFinish(QWidget *widget, int) override { paint(widget, QColor()); }

private:
    static void paint(QWidget *widget, const QColor &c)
    {
        if (!widget)
            return;
        widget->setStyleSheet(c.isValid() ? QStringLiteral("background: %1; padding: 4px;").arg(c.name())
                                          : QStringLiteral("padding: 4px;"));
    }
};

// Appends a line to the log when its action is triggered.
class LogReaction : public WdxReaction
{
public:
    LogReaction(QAction *action, QPlainTextEdit *log)
        : WdxReaction(action)
        , m_log(log)
    {
    }

protected:
    void onTriggered() override
    {
        m_log->appendPlainText(QStringLiteral("reaction: \"%1\" triggered").arg(parentAction()->text()));
    }

private:
    QPlainTextEdit *m_log;
};

QWidget *paletteSection(WdxPaletteWidget **standardOut)
{
    QWidget *page = new QWidget;
    WdxPaletteWidget *standard = new WdxPaletteWidget;
    *standardOut = standard;
    WdxPaletteWidget *paint = new WdxPaletteWidget;
    paint->setMsPaintPalette();
    paint->setBlockSize(QSize(28, 28));
    WdxColorBlockLabel *chosen = new WdxColorBlockLabel;
    chosen->setFixedSize(48, 24);
    chosen->setColor(standard->currentColor());
    QObject::connect(standard, &WdxPaletteWidget::currentColorChanged, chosen, &WdxColorBlockLabel::setColor);
    QObject::connect(paint, &WdxPaletteWidget::currentColorChanged, chosen, &WdxColorBlockLabel::setColor);
    QWidget *row = new QWidget;
    Wdx::layoutWidgets(Qt::Horizontal, row, {new QLabel(QStringLiteral("Chosen:")), chosen, nullptr}, 0);
    Wdx::layoutWidgets(Qt::Vertical, page, {standard, paint, row, nullptr}, 0);
    return page;
}

QWidget *colorBlockSection()
{
    QWidget *page = new QWidget;
    QGridLayout *grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 0, 0);
    const QColor translucent(0, 120, 215, 90);
    const QList<QPair<QString, WdxColorBlockLabel::DisplayMode>> modes{
        {QStringLiteral("NoAlpha"), WdxColorBlockLabel::NoAlpha},
        {QStringLiteral("AllAlpha"), WdxColorBlockLabel::AllAlpha},
        {QStringLiteral("SplitAlpha"), WdxColorBlockLabel::SplitAlpha},
        {QStringLiteral("SplitColor"), WdxColorBlockLabel::SplitColor}};
    int row = 0;
    for (const auto &mode : modes) {
        WdxColorBlockLabel *block = new WdxColorBlockLabel;
        block->setFixedSize(56, 24);
        block->setColor(translucent);
        block->setComparisonColor(QColor(230, 80, 40));
        block->setDisplayMode(mode.second);
        block->setToolTip(QStringLiteral("Drag me out to drop the colour"));
        grid->addWidget(block, row, 0);
        grid->addWidget(new QLabel(mode.first), row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);
    return page;
}

QWidget *buttonSection(WdxDelayButton **delayedOut)
{
    QWidget *page = new QWidget;
    WdxDelayButton *delayed = new WdxDelayButton;
    delayed->setText(QStringLiteral("Send"));
    delayed->setClickInterval(3000);
    delayed->setCountdownInterval(1000);
    delayed->setClickMode(WdxDelayButton::DelayedClick);
    WdxDelayButton *immediate = new WdxDelayButton(1500, 0, true);
    immediate->setText(QStringLiteral("Reset (rests 1.5 s)"));
    QLabel *clicks = new QLabel(QStringLiteral("clicks: 0"));
    auto count = std::make_shared<int>(0);
    const auto bump = [clicks, count] { clicks->setText(QStringLiteral("clicks: %1").arg(++*count)); };
    QObject::connect(delayed, &QAbstractButton::clicked, clicks, bump);
    QObject::connect(immediate, &QAbstractButton::clicked, clicks, bump);

    QPushButton *toggle
        = Wdx::createPushButton(QStringLiteral("Checkable"), QStringLiteral("ToggleButton"), true, true);
    QToolButton *tool = Wdx::createToolButton(galleryIcon("plug"), QStringLiteral("Tool button"));
    QPushButton *iconOnly = Wdx::createPushButton(galleryIcon("hex"));
    Wdx::createButtonGroup(page, {toggle, nullptr});
    QWidget *row = new QWidget;
    Wdx::layoutWidgets(Qt::Horizontal, row, {toggle, tool, iconOnly, nullptr}, 0);
    Wdx::layoutWidgets(Qt::Vertical, page, {delayed, immediate, clicks, row, nullptr}, 0);
    *delayedOut = delayed;
    return page;
}

QWidget *blinkSection(QObject *owner)
{
    static BackgroundBlink policy;
    QWidget *page = new QWidget;
    QLabel *target = new QLabel(QStringLiteral("Frame received"));
    target->setStyleSheet(QStringLiteral("padding: 4px;"));
    WdxBlinker *blinker = new WdxBlinker(target, &policy, owner);
    blinker->setBlinkTimes(8);
    blinker->setInterval(200);
    blinker->enableRestart(true);
    QPushButton *start = new QPushButton(QStringLiteral("Blink 8 times"));
    QObject::connect(start, &QPushButton::clicked, blinker, &WdxBlinker::start);
    Wdx::layoutWidgets(Qt::Vertical, page, {target, start, nullptr}, 0);
    QTimer::singleShot(100, blinker, &WdxBlinker::start);
    return page;
}

QWidget *rollupSection()
{
    WdxRoolupWidget *rollup = new WdxRoolupWidget(QStringLiteral("Serial options"));
    rollup->setIcon(galleryIcon("plug"));
    rollup->setIconVisible(true);
    QComboBox *baud = new QComboBox;
    baud->addItems({QStringLiteral("9600"), QStringLiteral("115200")});
    QCheckBox *rts = new QCheckBox(QStringLiteral("RTS"));
    QLabel *hidden = new QLabel(QStringLiteral("hidden by request"));
    rollup->addWidget(baud);
    rollup->addWidget(rts);
    rollup->addWidget(hidden);
    rollup->hideWidget(hidden);

    WdxRoolupWidget *collapsed = new WdxRoolupWidget;
    collapsed->addWidget(new QLabel(QStringLiteral("collapsed body")));
    collapsed->setExpand(false);

    QWidget *page = new QWidget;
    Wdx::layoutWidgets(Qt::Vertical, page, {rollup, collapsed, nullptr}, 0);
    return page;
}

QWidget *blankSection()
{
    WdxBlankWidget *blank = new WdxBlankWidget;
    blank->setSvg(QStringLiteral(":/gallery/icons/placeholder.svg"));
    blank->setText(QStringLiteral("No channel is open"));
    blank->setMinimumSize(240, 170);
    return blank;
}

QWidget *linkSection(QPlainTextEdit *log)
{
    QWidget *page = new QWidget;
    WdxHyperLink *external = Wdx::createHyperLink(QStringLiteral("Open the help page"),
                                                  QStringLiteral("https://example.org/help"));
    WdxHyperLink *internal = new WdxHyperLink(QStringLiteral("Details..."), QString());
    internal->setShowUnderline(false);
    QObject::connect(internal, &WdxHyperLink::clicked, log,
                     [log] { log->appendPlainText(QStringLiteral("hyperlink clicked")); });
    WdxClickableLabel *label = new WdxClickableLabel(QStringLiteral("Clickable label (press me)"));
    QObject::connect(label, &WdxClickableLabel::clicked, log,
                     [log] { log->appendPlainText(QStringLiteral("label clicked")); });

    WdxSeparator *plain = new WdxSeparator;
    WdxSeparator *titled = new WdxSeparator(QStringLiteral("Receive"));
    WdxSeparator *coloured = new WdxSeparator(QStringLiteral("Transmit"));
    coloured->setTextColor(Qt::white);
    coloured->setTextBackgroundColor(QColor(63, 72, 204));
    coloured->setLineColor(QColor(63, 72, 204));

    QPushButton *menuButton = new QPushButton(QStringLiteral("Menu with separators"));
    QMenu *menu = new QMenu(menuButton);
    menu->addAction(new WdxMenuSeparator(QStringLiteral("Recent files"), menu));
    menu->addAction(QStringLiteral("first.dvptc"));
    menu->addAction(new WdxMenuSeparator(QStringLiteral("Sets"), menu));
    menu->addAction(QStringLiteral("batch.dvpts"));
    menuButton->setMenu(menu);

    Wdx::layoutWidgets(Qt::Vertical, page,
                       {external, internal, label, plain, titled, coloured, menuButton, nullptr}, 0, 4);
    return page;
}

QWidget *iconFontSection(QObject *owner)
{
    QWidget *page = new QWidget;
    // Any font file serves to show glyphs as icons here.
    static WdxIconFont font;
    const QString file = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    QLabel *state = new QLabel;
    QLabel *label = new QLabel;
    QPushButton *button = new QPushButton;
    QToolButton *tool = new QToolButton;
    if (QFile::exists(file) && font.load(file)) {
        state->setText(QStringLiteral("Loaded \"%1\"").arg(font.family()));
        font.setIcon(label, 0x2699, 20);
        font.setIcon(button, 0x25B6, 14);
        font.setIcon(tool, 0x2713, 14);
    } else {
        state->setText(QStringLiteral("No font file to load"));
    }
    QObject::connect(owner, &QObject::destroyed, [] { font.unload(); });
    QWidget *row = new QWidget;
    Wdx::layoutWidgets(Qt::Horizontal, row, {label, button, tool, nullptr}, 0);
    Wdx::layoutWidgets(Qt::Vertical, page, {state, row, nullptr}, 0);
    return page;
}

QWidget *watcherSection(QObject *owner, QPlainTextEdit *log, QTemporaryDir *dir)
{
    QWidget *page = new QWidget;
    WdxDeviceWatcher *devices = new WdxDeviceWatcher(owner);
    const char *backends[] = {"native device-change messages", "udev monitor", "polling the serial ports"};
    QLabel *backend = new QLabel(
        QStringLiteral("Device watcher: %1").arg(QLatin1String(backends[int(devices->backend())])));
    QObject::connect(devices, &WdxDeviceWatcher::deviceArrival, log, [log](const QString &name) {
        log->appendPlainText(QStringLiteral("arrived: ") + name);
    });
    QObject::connect(devices, &WdxDeviceWatcher::deviceRemoved, log, [log](const QString &name) {
        log->appendPlainText(QStringLiteral("removed: ") + name);
    });

    const QString watched = dir->filePath(QStringLiteral("Watched.txt"));
    QFile(watched).open(QIODevice::WriteOnly);
    WdxFileWatcher *files = new WdxFileWatcher(owner);
    files->addFile(watched);
    QObject::connect(files, &WdxFileWatcher::fileChanged, log, [log](const QString &path) {
        log->appendPlainText(QStringLiteral("file changed: ") + path);
    });
    QPushButton *touch = new QPushButton(QStringLiteral("Change the watched file"));
    QObject::connect(touch, &QPushButton::clicked, [watched] {
        QFile file(watched);
        if (file.open(QIODevice::Append))
            file.write(QDateTime::currentDateTime().toString().toUtf8() + '\n');
    });

    QPushButton *wait = new QPushButton(QStringLiteral("Wait cursor for 2 s"));
    QObject::connect(wait, &QPushButton::clicked, owner, [owner] { new WdxWaitCursor(2000, owner); });

    Wdx::layoutWidgets(Qt::Vertical, page, {backend, touch, wait, log, nullptr}, 0);
    return page;
}

QWidget *factorySection()
{
    QWidget *page = new QWidget;
    QSpinBox *spin = Wdx::createSpinBox(0, 65535, 502, 80, true, QStringLiteral(" port"));
    QSpinBox *bare = Wdx::createSpinBox(0, 100, 42, -1, false);
    QDoubleSpinBox *seconds = Wdx::createDoubleSpinBox(0.0, 60.0, 1.5, 80, true, QStringLiteral(" s"));
    QLineEdit *edit = Wdx::createLineEdit();
    edit->setPlaceholderText(QStringLiteral("line edit"));
    QLabel *right = Wdx::createLabel(QStringLiteral("right aligned"), QStringLiteral("NumberLabel"),
                                     Qt::AlignRight | Qt::AlignVCenter);
    QWidget *row = new QWidget;
    QBoxLayout *rowLayout = Wdx::layoutWidgets(Qt::Horizontal, row, {spin, bare, seconds}, 0, 6);
    rowLayout->addSpacerItem(Wdx::createSpacer(Qt::Horizontal, 0));
    Wdx::layoutWidgets(Qt::Vertical, page, {row, edit, right, nullptr}, 0);
    return page;
}

class GalleryWindow : public QMainWindow
{
public:
    GalleryWindow()
    {
        setWindowTitle(QStringLiteral("Widget gallery"));
        m_log = new QPlainTextEdit;
        m_log->setReadOnly(true);
        m_log->setMaximumBlockCount(200);
        m_log->setPlaceholderText(QStringLiteral("events appear here"));

        buildToolBar();
        buildStatusBar();

        QWidget *central = new QWidget;
        QGridLayout *grid = new QGridLayout(central);
        grid->addWidget(section(QStringLiteral("WdxPaletteWidget"), paletteSection(&m_palette)), 0, 0, 2, 1);
        grid->addWidget(section(QStringLiteral("WdxColorBlockLabel"), colorBlockSection()), 0, 1);
        grid->addWidget(
            section(QStringLiteral("WdxDelayButton and button factories"), buttonSection(&m_delayed)), 0, 2);
        grid->addWidget(section(QStringLiteral("WdxBlinker"), blinkSection(this)), 0, 3);
        grid->addWidget(section(QStringLiteral("WdxRoolupWidget"), rollupSection()), 1, 1);
        grid->addWidget(section(QStringLiteral("WdxBlankWidget"), blankSection()), 1, 2);
        grid->addWidget(section(QStringLiteral("WdxIconFont"), iconFontSection(this)), 1, 3);
        grid->addWidget(
            section(QStringLiteral("WdxHyperLink, WdxClickableLabel, separators"), linkSection(m_log)), 2, 0);
        grid->addWidget(section(QStringLiteral("Spin boxes, line edit, label"), factorySection()), 2, 1);
        grid->addWidget(
            section(QStringLiteral("Watchers, reaction, wait cursor"), watcherSection(this, m_log, &m_dir)),
            2, 2, 1, 2);
        setCentralWidget(central);

        WdxInfoBar *info = new WdxInfoBar;
        info->addIcon(galleryIcon("plug"), QSize(16, 16), QStringLiteral("InfoIcon"));
        info->addPairLabel(QStringLiteral("Port:"), QStringLiteral("/dev/ttyUSB0"), 12);
        info->addSeparator();
        info->addPairLabel(QStringLiteral("Rx:"), QStringLiteral("1024"), 12);
        info->addSeparator();
        info->addLabel(QStringLiteral("Info bar"), 8);
        info->addLink(QStringLiteral("settings"), QStringLiteral("https://example.org"));
        info->addSpacer(0);
        info->addPushButton(QStringLiteral("Clear"));
        QDockWidget *dock
            = Wdx::createDockWidget(this, info, QStringLiteral("WdxInfoBar (in a dock)"), false, true);
        addDockWidget(Qt::BottomDockWidgetArea, dock);
    }

    // Puts the delay button into its countdown, as a click would, and points at a palette block.
    void pressDelayButton()
    {
        const QPoint block = m_palette->blockRect(6).center();
        QMouseEvent move(QEvent::MouseMove, block, m_palette->mapToGlobal(block), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(m_palette, &move);

        const QPoint inside = m_delayed->rect().center();
        QMouseEvent press(QEvent::MouseButtonPress, inside, m_delayed->mapToGlobal(inside), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_delayed, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, m_delayed->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(m_delayed, &release);
    }

private:
    void buildToolBar()
    {
        WdxToolBar *bar = new WdxToolBar(QStringLiteral("Main"));
        QAction *open = bar->addAction(QStringLiteral("Open"), galleryIcon("open"));
        new LogReaction(open, m_log);
        bar->addToolButton(QStringLiteral("Hex"), galleryIcon("hex"), true, true);
        bar->addSeparator();
        bar->addLabel(QStringLiteral("Interval"));
        bar->addSpinBox(1, 60000, 100, 80, true, QStringLiteral(" ms"));
        QComboBox *mode = bar->addComboBox(90);
        mode->addItems({QStringLiteral("Text"), QStringLiteral("Hex")});
        bar->addCheckBox(QStringLiteral("Loop"));
        bar->addLineEdit(120, 200)->setPlaceholderText(QStringLiteral("filter"));
        bar->addSpacer(0);
        WdxPaletteWidget *popup = new WdxPaletteWidget;
        popup->setMsPaintPalette();
        bar->addWidgetAction(QStringLiteral("Colour"), galleryIcon("colors"), popup);
        addToolBar(bar);
    }

    void buildStatusBar()
    {
        WdxStatusBar *status = new WdxStatusBar;
        status->addIcon(galleryIcon("plug"), QSize(16, 16), false, QStringLiteral("StateIcon"));
        status->addSpacer(8);
        status->addLink(QStringLiteral("Help"), QStringLiteral("https://example.org/help"), true);
        status->addSpacer(12, true);
        // A temporary message would cover the ordinary widgets, so the text is a widget too.
        status->addWidget(
            new QLabel(QStringLiteral("Status bar with an icon, a spacer and a permanent link")));
        setStatusBar(status);
    }

    QPlainTextEdit *m_log = nullptr;
    WdxDelayButton *m_delayed = nullptr;
    WdxPaletteWidget *m_palette = nullptr;
    QTemporaryDir m_dir;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wdx_gallery"));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save the window to <file> after start-up and quit."),
                                        QStringLiteral("file"));
    parser.addOption(screenshot);
    parser.process(app);

    GalleryWindow window;
    window.resize(1260, 860);
    window.show();

    if (parser.isSet(screenshot)) {
        const QString file = parser.value(screenshot);
        QTimer::singleShot(300, &window, [&window] { window.pressDelayButton(); });
        QTimer::singleShot(1500, &window, [&window, file] {
            const bool saved = window.grab().save(file);
            QCoreApplication::exit(saved ? 0 : 1);
        });
    }
    return app.exec();
}

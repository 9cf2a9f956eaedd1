#include "windows/rxframes/rxframewindow.h"

#include "model/protocolexport.h"
#include "model/settingsvalues.h"
#include "services/rxframewatcher.h"
#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "shell/savefileaskdialog.h"
#include "windows/common/protocolexportdialog.h"
#include "windows/rxframes/rxcsvexport.h"
#include "windows/rxframes/rxfieldtable.h"
#include "windows/rxframes/rxlinelist.h"
#include "windows/rxframes/rxplot.h"
#include "windows/rxframes/rxrolesdialog.h"
#include "windows/rxframes/rxvaluetable.h"

#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

const char kSection[] = "rxFrames";
// Every field is a row of widgets; a protocol of many thousand fields would
// hold the workbench for long, and no device sends such frames.
constexpr int kMaxEditableFields = 1000;
// A receive protocol of a thousand fields is a few hundred kilobytes.
constexpr qint64 kMaxProtocolFileSize = 4 * 1024 * 1024;
constexpr int kDefaultTimeWindow = 10;

std::string localText(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

// The raw value as the field's type holds it: the parser hands unsigned
// values back in the signed slots of their width.
double rawNumber(const Variant &value, int typeId)
{
    switch (typeId) {
    case 10:
        return value.GetUChar();
    case 11:
        return value.GetUShort();
    case 12:
        return value.GetUInt();
    case 1:
        return static_cast<signed char>(value.GetChar());
    case 2:
        return value.GetShort();
    case 3:
        return value.GetInt();
    case 20:
        return value.GetFloat();
    default:
        return value.GetDouble();
    }
}

// The coefficient a value's one numeric parameter gives, read as a double;
// 0 when it is not a plain decimal number.
double writtenCoefficient(const RxField *field)
{
    ParamList params;
    params.Parse(field->GetValueMetaInfo()->GetParamList());
    if (params.Count() != 1 || params.ParamAt(0).type != ParamList::Number)
        return 1.0;
    bool ok = false;
    const double value = QString::fromStdString(params.ParamAt(0).value).toDouble(&ok);
    return ok ? value : 0.0;
}

} // namespace

RxFrameWindow::RxFrameWindow(RxFrameWatcher *watcher, Context *context, ApplicationOptions *options,
                             QWidget *parent)
    : QMainWindow(parent)
    , m_watcher(watcher)
    , m_context(context)
    , m_options(options)
    , m_protocol(std::make_unique<RxProtocol>())
{
    setObjectName(QStringLiteral("RxFrameWindow"));
    createLayout();
    createActions();
    m_fieldTable->setProtocol(m_protocol.get());
    connect(m_fieldTable, &RxFieldTable::edited, this, [this] { setModified(true); });

    if (m_watcher)
        connect(m_watcher, &RxFrameWatcher::frameArrivedAt, this, &RxFrameWindow::onFrame);
    m_refreshTimer = new QTimer(this);
    connect(m_refreshTimer, &QTimer::timeout, this, &RxFrameWindow::onRefreshTick);
    loadSettings();
    m_refreshTimer->start(1000 / m_plot->refreshRate());
    updateTitle();
    showStatus(tr("Stopped"));
    m_counts->setText(countText());
}

RxFrameWindow::~RxFrameWindow()
{
    // A file being written is finished first; its result event dies with
    // the window.
    if (m_exportThread.joinable())
        m_exportThread.join();
    if (m_parsing)
        stopParsing();
}

void RxFrameWindow::createLayout()
{
    m_fieldTable = new RxFieldTable(m_context, this);
    m_valueTable = new RxValueTable(this);
    m_plot = new RxPlot(this);
    m_plot->setMinimumSize(240, 160);

    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("RxCountLabel"));
    m_counts->setWordWrap(true);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("RxStatusLabel"));
    m_status->setWordWrap(true);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("RxDocumentLabel"));

    m_lineTable = new RxLineList(m_plot, this);

    auto *valueBox = new QWidget(this);
    auto *valueLayout = new QVBoxLayout(valueBox);
    valueLayout->setContentsMargins(0, 0, 0, 0);
    valueLayout->addWidget(m_counts);
    valueLayout->addWidget(m_valueTable);

    // The plot takes the width; the lines list sits beside it, the protocol
    // and the values below.
    auto *top = new QSplitter(Qt::Horizontal, this);
    top->addWidget(m_plot);
    top->addWidget(m_lineTable);
    top->setStretchFactor(0, 5);
    top->setStretchFactor(1, 1);
    top->setSizes({800, 170});

    auto *bottom = new QSplitter(Qt::Horizontal, this);
    bottom->addWidget(m_fieldTable);
    bottom->addWidget(valueBox);
    bottom->setStretchFactor(0, 3);
    bottom->setStretchFactor(1, 2);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({600, 400});

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(split, 1);
    auto *statusRow = new QHBoxLayout();
    statusRow->addWidget(m_title);
    statusRow->addWidget(m_status, 1);
    layout->addLayout(statusRow);
    setCentralWidget(central);
}

void RxFrameWindow::createActions()
{
    auto *document = new QToolBar(tr("Protocol"), this);
    document->setObjectName(QStringLiteral("RxProtocolToolBar"));
    document->setIconSize(QSize(16, 16));
    document->setMovable(false);
    addToolBar(document);
    auto add = [](QToolBar *bar, const QString &text, const char *icon, const char *name) {
        QAction *action = icon ? bar->addAction(QIcon(QLatin1String(icon)), text) : bar->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(add(document, tr("New Protocol"), ":/Resources/protocol/new.png", "RxNewAction"),
            &QAction::triggered, this, &RxFrameWindow::newDocument);
    connect(add(document, tr("Open Protocol"), ":/Resources/protocol/open.png", "RxOpenAction"),
            &QAction::triggered, this, &RxFrameWindow::openDocument);
    QAction *save = add(document, tr("Save Protocol"), ":/Resources/protocol/save.png", "RxSaveAction");
    connect(save, &QAction::triggered, this, [this] { saveDocument(); });
    // Save As hangs off the save button, as its menu.
    auto *saveMenu = new QMenu(this);
    QAction *saveAs = saveMenu->addAction(tr("Save Protocol As"));
    saveAs->setObjectName(QStringLiteral("RxSaveAsAction"));
    connect(saveAs, &QAction::triggered, this, [this] { saveDocumentAs(); });
    save->setMenu(saveMenu);
    if (auto *button = qobject_cast<QToolButton *>(document->widgetForAction(save)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    document->addSeparator();
    connect(add(document, tr("New Field"), ":/Resources/protocol/new-field.png", "RxAddFieldAction"),
            &QAction::triggered, m_fieldTable, &RxFieldTable::appendField);
    connect(add(document, tr("Insert Field"), ":/Resources/protocol/insert-field.png", "RxInsertFieldAction"),
            &QAction::triggered, m_fieldTable, &RxFieldTable::insertField);
    connect(add(document, tr("Delete Field"), ":/Resources/editor/delete.png", "RxDeleteFieldAction"),
            &QAction::triggered, m_fieldTable, &RxFieldTable::removeCurrentField);
    connect(add(document, tr("Move Up"), ":/Resources/editor/move-up.png", "RxMoveUpAction"),
            &QAction::triggered, this, [this] { m_fieldTable->moveCurrentField(-1); });
    connect(add(document, tr("Move Down"), ":/Resources/editor/move-down.png", "RxMoveDownAction"),
            &QAction::triggered, this, [this] { m_fieldTable->moveCurrentField(1); });
    QAction *roles = add(document, tr("Roles…"), ":/Resources/protocol/roles.png", "RxRolesAction");
    connect(roles, &QAction::triggered, this, &RxFrameWindow::editRoles);
    document->addSeparator();
    m_startAction = add(document, tr("Start Parsing"), ":/Resources/toolbar/send.png", "RxStartAction");
    connect(m_startAction, &QAction::triggered, this, [this] {
        if (m_parsing)
            stopParsing();
        else
            startParsing();
    });
    m_packetAction
        = add(document, tr("Packet Mode"), ":/Resources/protocol/packet.png", "RxPacketModeAction");
    m_packetAction->setCheckable(true);
    connect(m_packetAction, &QAction::toggled, this, [this](bool packet) {
        if (m_parsing && m_watcher)
            m_watcher->setPacketMode(packet);
        saveSettings();
    });
    for (QAction *action : document->actions()) {
        if (!action->isSeparator() && !action->icon().isNull())
            action->setToolTip(action->text());
    }
    roles->setToolTip(tr("Roles…") + QLatin1Char(' ') + tr("Checksum and counter fields"));
    document->setToolButtonStyle(Qt::ToolButtonIconOnly);
    if (QWidget *start = document->widgetForAction(m_startAction))
        static_cast<QToolButton *>(start)->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    document->addSeparator();
    // Every export behind one button at the end of the first row, where the
    // dock's default width has room: on the plot row they were pushed behind
    // the overflow arrow.
    auto *exportMenu = new QMenu(this);
    exportMenu->setObjectName(QStringLiteral("RxExportMenu"));
    auto addExport = [exportMenu](const QString &text, const char *name) {
        QAction *action = exportMenu->addAction(text);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(addExport(tr("Export CSV"), "RxExportCsvAction"), &QAction::triggered, this,
            &RxFrameWindow::askExportCsv);
    connect(addExport(tr("Export Picture"), "RxExportPictureAction"), &QAction::triggered, this,
            &RxFrameWindow::askExportPicture);
    exportMenu->addSeparator();
    connect(addExport(ProtocolExportDialog::title(ProtocolExportOptions::WiresharkDissector),
                      "RxExportDissectorAction"),
            &QAction::triggered, this,
            [this] { askExportProtocol(ProtocolExportOptions::WiresharkDissector); });
    connect(addExport(ProtocolExportDialog::title(ProtocolExportOptions::CHeader), "RxExportCHeaderAction"),
            &QAction::triggered, this, [this] { askExportProtocol(ProtocolExportOptions::CHeader); });
    auto *exportButton = new QToolButton(this);
    exportButton->setObjectName(QStringLiteral("RxExportButton"));
    exportButton->setText(tr("Export"));
    exportButton->setMenu(exportMenu);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    exportButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    document->addWidget(exportButton);

    addToolBarBreak();
    auto *plotBar = new QToolBar(tr("Plot"), this);
    plotBar->setObjectName(QStringLiteral("RxPlotToolBar"));
    plotBar->setMovable(false);
    addToolBar(plotBar);
    m_pauseAction = add(plotBar, tr("Pause Plot"), nullptr, "RxPauseAction");
    m_pauseAction->setCheckable(true);
    connect(m_pauseAction, &QAction::toggled, m_plot, &RxPlot::setPaused);
    m_cursorAction = add(plotBar, tr("Cursors"), nullptr, "RxCursorAction");
    m_cursorAction->setCheckable(true);
    connect(m_cursorAction, &QAction::toggled, m_plot, &RxPlot::setCursorsEnabled);
    m_autoscaleAction = add(plotBar, tr("Autoscale"), nullptr, "RxAutoscaleAction");
    m_autoscaleAction->setCheckable(true);
    m_autoscaleAction->setChecked(true);
    m_lowerSpin = new QDoubleSpinBox(this);
    m_upperSpin = new QDoubleSpinBox(this);
    for (QDoubleSpinBox *spin : {m_lowerSpin, m_upperSpin}) {
        spin->setRange(-1e12, 1e12);
        spin->setDecimals(3);
        // Narrow enough that the plot row fits the dock's default width.
        spin->setMaximumWidth(78);
        spin->setEnabled(false);
        spin->setToolTip(spin == m_lowerSpin ? tr("Fixed range: lowest value")
                                             : tr("Fixed range: highest value"));
    }
    m_lowerSpin->setValue(-1.0);
    m_upperSpin->setValue(1.0);
    auto applyRange = [this] { m_plot->setFixedRange(m_lowerSpin->value(), m_upperSpin->value()); };
    connect(m_lowerSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, applyRange);
    connect(m_upperSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, applyRange);
    // The fixed range shows only while it applies: with autoscale on, the
    // plot row keeps the room for the time window and the refresh rate.
    QAction *lowerAction = plotBar->addWidget(m_lowerSpin);
    QAction *upperAction = plotBar->addWidget(m_upperSpin);
    lowerAction->setVisible(false);
    upperAction->setVisible(false);
    connect(m_autoscaleAction, &QAction::toggled, this,
            [this, applyRange, lowerAction, upperAction](bool on) {
                m_lowerSpin->setEnabled(!on);
                m_upperSpin->setEnabled(!on);
                lowerAction->setVisible(!on);
                upperAction->setVisible(!on);
                applyRange();
                m_plot->setAutoscale(on);
            });
    plotBar->addSeparator();
    m_windowSpin = new QSpinBox(this);
    m_windowSpin->setObjectName(QStringLiteral("RxTimeWindowSpin"));
    m_windowSpin->setRange(1, 3600);
    m_windowSpin->setSuffix(tr(" s"));
    m_windowSpin->setToolTip(tr("Time window"));
    m_windowSpin->setValue(kDefaultTimeWindow);
    m_windowSpin->setMaximumWidth(76);
    connect(m_windowSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int seconds) {
        m_plot->setTimeWindow(seconds);
        saveSettings();
    });
    plotBar->addWidget(m_windowSpin);
    m_rateSpin = new QSpinBox(this);
    m_rateSpin->setObjectName(QStringLiteral("RxRefreshRateSpin"));
    m_rateSpin->setRange(1, RxPlot::kMaxRefreshRate);
    m_rateSpin->setSuffix(tr(" Hz"));
    m_rateSpin->setToolTip(tr("Refresh rate"));
    m_rateSpin->setValue(RxPlot::kMaxRefreshRate);
    m_rateSpin->setMaximumWidth(82);
    connect(m_rateSpin, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int rate) {
        m_plot->setRefreshRate(rate);
        m_refreshTimer->setInterval(1000 / m_plot->refreshRate());
        saveSettings();
    });
    plotBar->addWidget(m_rateSpin);
}

// ---- document ----------------------------------------------------------

void RxFrameWindow::newDocument()
{
    if (!askSave())
        return;
    auto protocol = std::make_unique<RxProtocol>();
    protocol->AddField(-1)->SetName(localText(tr("Field 1")));
    setDocument(std::move(protocol), QString());
}

void RxFrameWindow::openDocument()
{
    if (!askSave())
        return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Open rx-protocol"), m_lastDirectory,
                                                      tr("Dorvane rx-protocol (*.dvprx)"));
    if (path.isEmpty())
        return;
    rememberDirectory(path);
    std::unique_ptr<RxProtocol> loaded = readProtocol(path);
    if (!loaded) {
        warnOpenFailed(this, path);
        return;
    }
    setDocument(std::move(loaded), path);
}

std::unique_ptr<RxProtocol> RxFrameWindow::readProtocol(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxProtocolFileSize || !m_context)
        return nullptr;
    auto protocol = std::make_unique<RxProtocol>();
    if (!protocol->Load(localText(path), m_context) || protocol->GetFieldCount() < 1
        || protocol->GetFieldCount() > kMaxEditableFields)
        return nullptr;
    return protocol;
}

bool RxFrameWindow::isReadable(const QString &path) const
{
    return readProtocol(path) != nullptr;
}

bool RxFrameWindow::open(const QString &path)
{
    // Read into a protocol of its own: the open document stays until the
    // new one is known to be good.
    std::unique_ptr<RxProtocol> loaded;
    {
        WdxWaitCursor wait;
        loaded = readProtocol(path);
    }
    if (!loaded || !askSave())
        return false;
    rememberDirectory(path);
    setDocument(std::move(loaded), path);
    return true;
}

void RxFrameWindow::setDocument(std::unique_ptr<RxProtocol> protocol, const QString &path)
{
    // The watcher parses its own copy: a running parse goes on undisturbed.
    m_protocol = std::move(protocol);
    m_fieldTable->setProtocol(m_protocol.get());
    m_path = path;
    setModified(false);
    saveSettings();
    const QString problem = RxFieldTable::protocolProblem(m_protocol.get());
    const QString dropped = QString::fromStdString(m_protocol->GetLoadWarning());
    if (!problem.isEmpty())
        showStatus(problem, true);
    else if (!dropped.isEmpty())
        showStatus(dropped, true);
    else if (!m_parsing)
        showStatus(tr("Stopped"));
}

void RxFrameWindow::editRoles()
{
    RxRolesDialog dialog(*m_protocol, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_protocol->SetRoles(dialog.roles());
    setModified(true);
}

bool RxFrameWindow::askSave()
{
    if (!m_modified)
        return true;
    return SaveFileAskDialog::askToSave(this, tr("Save RX Protocol"),
                                        tr("RX protocol has changed, do you want save it?"),
                                        [this] { return saveDocument(); });
}

QString RxFrameWindow::askSaveFileName(const QString &caption, const QString &filter, const QString &suffix)
{
    const QString start = suffix == QLatin1String("dvprx") && !m_path.isEmpty() ? m_path : m_lastDirectory;
    QString path = QFileDialog::getSaveFileName(this, caption, start, filter);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    if (!path.isEmpty())
        rememberDirectory(path);
    return path;
}

bool RxFrameWindow::saveDocument()
{
    const QString path = m_path.isEmpty()
                             ? askSaveFileName(tr("Save rx-protocol"), tr("Dorvane rx-protocol (*.dvprx)"),
                                               QStringLiteral("dvprx"))
                             : m_path;
    return !path.isEmpty() && saveTo(path);
}

bool RxFrameWindow::saveDocumentAs()
{
    const QString path = askSaveFileName(tr("Save rx-protocol"), tr("Dorvane rx-protocol (*.dvprx)"),
                                         QStringLiteral("dvprx"));
    return !path.isEmpty() && saveTo(path);
}

bool RxFrameWindow::saveTo(const QString &path)
{
    bool saved = false;
    {
        WdxWaitCursor wait;
        saved = m_context && m_protocol->Save(localText(path), m_context);
    }
    if (!saved) {
        // The document keeps its path and its unsaved state.
        warnSaveFailed(this, path);
        return false;
    }
    m_path = path;
    setModified(false);
    saveSettings();
    return true;
}

void RxFrameWindow::setModified(bool modified)
{
    m_modified = modified;
    updateTitle();
    if (modified && !m_parsing) {
        const QString problem = RxFieldTable::protocolProblem(m_protocol.get());
        showStatus(problem.isEmpty() ? tr("Stopped") : problem, !problem.isEmpty());
    }
}

void RxFrameWindow::updateTitle()
{
    QString title = m_path.isEmpty() ? tr("Untitled") : QFileInfo(m_path).completeBaseName();
    if (m_modified)
        title += QLatin1Char('*');
    m_title->setText(title);
}

void RxFrameWindow::closeEvent(QCloseEvent *event)
{
    if (!askSave()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// ---- parsing -----------------------------------------------------------

bool RxFrameWindow::startParsing()
{
    if (m_parsing)
        return true;
    m_fieldTable->setCurrentItem(nullptr);
    const QString problem = RxFieldTable::protocolProblem(m_protocol.get());
    if (!problem.isEmpty()) {
        showStatus(tr("Parsing cannot start: %1").arg(problem), true);
        return false;
    }
    if (!m_watcher) {
        showStatus(tr("Parsing cannot start: there is no frame watcher"), true);
        return false;
    }

    // Which line every measured value feeds, and the field it comes from.
    m_valueTypes.clear();
    m_valueLines.clear();
    m_valueCoefficients.clear();
    QList<int> graphIds;
    QStringList lineNames;
    QStringList valueNames;
    for (int i = 0; i < m_protocol->GetFieldCount(); ++i) {
        const RxField *field = m_protocol->GetField(i);
        if (!field->IsEnabled() || RxFieldTable::roleOf(field) != RxFieldTable::ValueRole)
            continue;
        const QString name = QString::fromLocal8Bit(field->GetName().c_str());
        const int graph = field->GetValueMetaInfo()->GetGraphId();
        m_valueTypes << field->GetTypeId();
        valueNames << name;
        m_valueCoefficients << writtenCoefficient(field);
        if (graph < 0) {
            m_valueLines << -1;
            continue;
        }
        int line = graphIds.indexOf(graph);
        if (line < 0) {
            line = graphIds.size();
            graphIds << graph;
            lineNames << tr("%1: %2").arg(graph).arg(name);
        } else {
            lineNames[line] += QStringLiteral(", ") + name;
        }
        m_valueLines << line;
    }

    m_watcher->setPacketMode(m_packetAction->isChecked());
    if (!m_watcher->setProtocol(copyRxProtocol(*m_protocol))) {
        showStatus(tr("Parsing cannot start: %1").arg(tr("The protocol cannot be built")), true);
        return false;
    }
    m_plot->setLines(graphIds, lineNames);
    m_lineTable->refill();
    m_valueTable->setFields(valueNames);
    m_latest.clear();
    m_haveLatest = false;
    m_decoded = 0;
    m_frameRate = 0.0;
    m_rateBase = 0;
    m_rateClock.start();
    m_skippedBase = m_watcher->skippedBytes();
    m_droppedBytesBase = m_watcher->droppedBytes();
    m_droppedPacketsBase = m_watcher->droppedPackets();
    m_droppedFramesBase = m_watcher->droppedFrames();
    m_epochNs = RxFrameWatcher::monotonicNs();
    m_parsing = true;
    m_watcher->startTimingCycle();
    m_startAction->setText(tr("Stop Parsing"));
    m_startAction->setIcon(QIcon(QStringLiteral(":/Resources/toolbar/stop.png")));
    const QString roleProblem = m_watcher->roleProblem();
    if (!roleProblem.isEmpty())
        showStatus(roleProblem, true);
    else
        showStatus(m_packetAction->isChecked() ? tr("Parsing packets") : tr("Parsing the stream"));
    return true;
}

void RxFrameWindow::stopParsing()
{
    if (!m_parsing)
        return;
    if (m_watcher)
        m_watcher->stopTimingCycle();
    m_parsing = false;
    m_startAction->setText(tr("Start Parsing"));
    m_startAction->setIcon(QIcon(QStringLiteral(":/Resources/toolbar/send.png")));
    showStatus(tr("Stopped"));
    refreshNow();
}

void RxFrameWindow::onFrame(qint64 arrivalNs, const QByteArray &payload)
{
    // Frames decoded before a stop still arrive afterwards and are kept; a
    // new start begins a new history.
    if (m_valueTypes.isEmpty() || payload.size() < int(sizeof(qint32)))
        return;
    qint32 count = 0;
    std::memcpy(&count, payload.constData(), sizeof count);
    if (count < 0 || payload.size() != int(sizeof count) + count * int(sizeof(FrameValue)))
        return;
    const int n = qMin(int(count), m_valueTypes.size());
    m_latest.resize(n);
    std::memcpy(m_latest.data(), payload.constData() + sizeof count, size_t(n) * sizeof(FrameValue));
    m_haveLatest = true;
    ++m_decoded;
    const double time = double(arrivalNs - m_epochNs) / 1e9;
    for (int i = 0; i < n; ++i) {
        const int line = m_valueLines.at(i);
        if (line < 0)
            continue;
        m_plot->append(line, time, scaled(i));
    }
}

QString RxFrameWindow::rawText(int index) const
{
    const double raw = rawNumber(m_latest.at(index).value, m_valueTypes.at(index));
    const int type = m_valueTypes.at(index);
    if (type == 20 || type == 21)
        return QString::number(raw, 'g', QLocale::FloatingPointShortest);
    return QString::number(qint64(raw));
}

double RxFrameWindow::scaled(int index) const
{
    const FrameValue &value = m_latest.at(index);
    const double written = m_valueCoefficients.at(index);
    return rawNumber(value.value, m_valueTypes.at(index))
           * (written != 0.0 ? written : double(value.coefficient));
}

QString RxFrameWindow::countText() const
{
    const qint64 skipped = m_watcher ? m_watcher->skippedBytes() - m_skippedBase : 0;
    const qint64 droppedFrames = m_watcher ? m_watcher->droppedFrames() - m_droppedFramesBase : 0;
    const qint64 droppedPackets = m_watcher ? m_watcher->droppedPackets() - m_droppedPacketsBase : 0;
    const qint64 droppedBytes = m_watcher ? m_watcher->droppedBytes() - m_droppedBytesBase : 0;
    QString text = tr("%1 frames/s   decoded %2   skipped %3 bytes   dropped %4 frames, %5 packets, %6 bytes")
                       .arg(m_frameRate, 0, 'f', 0)
                       .arg(m_decoded)
                       .arg(skipped)
                       .arg(droppedFrames)
                       .arg(droppedPackets)
                       .arg(droppedBytes);
    const RxFrameWatcher::RoleCounts roles
        = m_watcher ? m_watcher->roleCounts() : RxFrameWatcher::RoleCounts();
    if (m_parsing || m_haveLatest) {
        if (roles.checksum)
            text += tr("   checksum failures %1").arg(roles.checksumFailures);
        if (roles.sequence)
            text += tr("   sequence gaps %1, repeats %2").arg(roles.sequenceGaps).arg(roles.sequenceRepeats);
    }
    return text;
}

void RxFrameWindow::onRefreshTick()
{
    if (!m_parsing && !m_haveLatest)
        return;
    const qint64 elapsed = m_rateClock.isValid() ? m_rateClock.elapsed() : 0;
    if (elapsed >= 1000) {
        m_frameRate = double(m_decoded - m_rateBase) * 1000.0 / double(elapsed);
        m_rateBase = m_decoded;
        m_rateClock.restart();
    }
    if (!m_parsing)
        m_frameRate = 0.0;
    refreshNow();
}

void RxFrameWindow::refreshNow()
{
    m_counts->setText(countText());
    if (!m_haveLatest)
        return;
    for (int i = 0; i < m_latest.size(); ++i)
        m_valueTable->setValue(i, rawText(i), scaled(i));
}

void RxFrameWindow::showStatus(const QString &text, bool problem)
{
    m_status->setText(text);
    m_status->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
}

// ---- exports -----------------------------------------------------------

bool RxFrameWindow::exportCsv(const QString &path, bool visibleRangeOnly)
{
    if (m_exportThread.joinable())
        return false;
    // The copy is quick; formatting a million rows is not, and happens on a
    // thread of its own while the window goes on.
    auto snapshot = std::make_shared<RxCsvSnapshot>(
        RxCsvSnapshot::of(*m_plot, visibleRangeOnly, m_plot->viewFrom(), m_plot->viewTo()));
    showStatus(
        tr("Exporting %1 values to %2").arg(snapshot->pointCount()).arg(QDir::toNativeSeparators(path)));
    m_exportThread = std::thread([this, path, snapshot] {
        QString reason;
        const bool ok = writeRxCsv(path, *snapshot, &reason);
        // The window joins this thread before it goes, so it is still there.
        QMetaObject::invokeMethod(
            this,
            [this, path, ok, reason] {
                m_exportThread.join();
                if (ok)
                    showStatus(tr("Exported to %1").arg(QDir::toNativeSeparators(path)));
                else
                    warnSaveFailed(this, path, reason);
                emit csvExportFinished(path, ok);
            },
            Qt::QueuedConnection);
    });
    return true;
}

bool RxFrameWindow::exportPicture(const QString &path)
{
    const QPixmap picture = m_plot->toPixmap();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !picture.save(&file, "PNG")
        || !file.commit()) {
        warnSaveFailed(this, path, file.errorString());
        return false;
    }
    return true;
}

void RxFrameWindow::askExportCsv()
{
    QMessageBox question(QMessageBox::Question, tr("Export CSV"),
                         tr("Export the whole history or the visible range?"), QMessageBox::Cancel, this);
    QPushButton *whole = question.addButton(tr("Whole History"), QMessageBox::AcceptRole);
    QPushButton *visible = question.addButton(tr("Visible Range"), QMessageBox::AcceptRole);
    question.exec();
    if (question.clickedButton() != whole && question.clickedButton() != visible)
        return;
    const QString path = askSaveFileName(tr("Export CSV"), tr("CSV file (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        exportCsv(path, question.clickedButton() == visible);
}

void RxFrameWindow::askExportProtocol(int kind)
{
    const QString written = ProtocolExportDialog::run(
        this, ProtocolExportOptions::Kind(kind), m_path, m_lastDirectory, 0,
        [this](const ProtocolExportOptions &options, const QString &path, QString *error) {
            return exportProtocol(m_protocol.get(), options, path, error);
        });
    if (!written.isEmpty()) {
        rememberDirectory(written);
        showStatus(tr("Exported to %1").arg(QDir::toNativeSeparators(written)));
    }
}

void RxFrameWindow::askExportPicture()
{
    const QString path
        = askSaveFileName(tr("Export Picture"), tr("PNG picture (*.png)"), QStringLiteral("png"));
    if (!path.isEmpty())
        exportPicture(path);
}

// ---- settings ----------------------------------------------------------

void RxFrameWindow::loadSettings()
{
    if (!m_options)
        return;
    const YAML::Node section = m_options->section(kSection);
    m_lastDirectory = settingsString(section, "lastDirectory", QString());
    const QString lastProtocol = settingsString(section, "lastProtocol", QString());
    const bool blocked = blockSignals(true);
    m_packetAction->blockSignals(true);
    m_packetAction->setChecked(settingsInt(section, "packetMode", 0) != 0);
    m_packetAction->blockSignals(false);
    m_windowSpin->blockSignals(true);
    m_windowSpin->setValue(settingsInt(section, "timeWindow", kDefaultTimeWindow));
    m_windowSpin->blockSignals(false);
    m_plot->setTimeWindow(m_windowSpin->value());
    m_rateSpin->blockSignals(true);
    m_rateSpin->setValue(settingsInt(section, "refreshRate", RxPlot::kMaxRefreshRate));
    m_rateSpin->blockSignals(false);
    m_plot->setRefreshRate(m_rateSpin->value());
    blockSignals(blocked);
    // The protocol of the last session comes back when it still reads.
    if (!lastProtocol.isEmpty()) {
        if (std::unique_ptr<RxProtocol> loaded = readProtocol(lastProtocol)) {
            m_protocol = std::move(loaded);
            m_fieldTable->setProtocol(m_protocol.get());
            m_path = lastProtocol;
        }
    }
}

void RxFrameWindow::saveSettings()
{
    if (!m_options)
        return;
    YAML::Node section(YAML::NodeType::Map);
    section["lastDirectory"] = toSettingsText(m_lastDirectory);
    section["lastProtocol"] = toSettingsText(m_path);
    section["packetMode"] = m_packetAction->isChecked() ? 1 : 0;
    section["timeWindow"] = m_windowSpin->value();
    section["refreshRate"] = m_rateSpin->value();
    m_options->setSection(kSection, section, false);
}

void RxFrameWindow::rememberDirectory(const QString &file)
{
    m_lastDirectory = QFileInfo(file).absolutePath();
    saveSettings();
}

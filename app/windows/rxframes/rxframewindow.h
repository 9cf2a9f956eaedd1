#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QVector>

#include <dorvane/app_export.h>
#include <dorvane/protocolparser.h>

#include <memory>
#include <thread>

class ApplicationOptions;
class Context;
class QAction;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QTimer;
class RxFieldTable;
class RxFrameWatcher;
class RxLineList;
class RxPlot;
class RxProtocol;
class RxValueTable;

// The RX Frames window: edits a receive protocol (".dvprx"), runs the frame
// watcher with it, and shows what the frames carry as a table of the latest
// values with the counts behind them, and as a live plot that can be paused,
// measured with cursors and exported.
//
// Everything runs on the GUI thread. Frames come from the watcher's
// frameArrivedAt, already cut and decoded on its own thread; each one costs
// a copy of its values and one ring append per line. The table, the counts
// and the plot are drawn from a timer, never per frame.
class DORVANE_APP_EXPORT RxFrameWindow : public QMainWindow
{
    Q_OBJECT

public:
    RxFrameWindow(RxFrameWatcher *watcher, Context *context, ApplicationOptions *options,
                  QWidget *parent = nullptr);
    ~RxFrameWindow() override;

    // Loads a receive-protocol file, asking first about unsaved changes;
    // false when the file is refused (the open document stays) or the user
    // kept the open one.
    bool open(const QString &path);
    // Whether open() would take the file.
    bool isReadable(const QString &path) const;
    // The save question; true when the caller may go on.
    bool askSave();
    bool saveTo(const QString &path);

    // Refused with the reason in the status label while the protocol does
    // not build.
    bool startParsing();
    void stopParsing();
    bool isParsing() const { return m_parsing; }

    // Scaled values of every line, with the arrival time in seconds to the
    // microsecond; the whole history or the time range on screen. Written on
    // a thread of its own; csvExportFinished tells the outcome. False when an
    // export is still running.
    bool exportCsv(const QString &path, bool visibleRangeOnly);
    bool exportPicture(const QString &path);

    RxProtocol *protocol() const { return m_protocol.get(); }
    QString path() const { return m_path; }
    bool isModified() const { return m_modified; }
    RxFieldTable *fieldTable() const { return m_fieldTable; }
    RxValueTable *valueTable() const { return m_valueTable; }
    RxPlot *plot() const { return m_plot; }
    QLabel *statusLabel() const { return m_status; }
    QLabel *countLabel() const { return m_counts; }
    QString countText() const;
    qint64 decodedFrames() const { return m_decoded; }

    // Draws the table, the counts and the plot now.
    void refreshNow();

signals:
    void csvExportFinished(const QString &path, bool ok);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createLayout();
    void newDocument();
    void openDocument();
    bool saveDocument();
    bool saveDocumentAs();
    QString askSaveFileName(const QString &caption, const QString &filter, const QString &suffix);
    std::unique_ptr<RxProtocol> readProtocol(const QString &path) const;
    void setDocument(std::unique_ptr<RxProtocol> protocol, const QString &path);
    void setModified(bool modified);
    void editRoles();
    void updateTitle();
    void onFrame(qint64 arrivalNs, const QByteArray &payload);
    void onRefreshTick();
    void askExportCsv();
    void askExportPicture();
    // A ProtocolExportOptions::Kind.
    void askExportProtocol(int kind);
    void showStatus(const QString &text, bool problem = false);
    void loadSettings();
    void saveSettings();
    void rememberDirectory(const QString &file);
    QString rawText(int index) const;
    double scaled(int index) const;

    QPointer<RxFrameWatcher> m_watcher;
    Context *m_context;
    ApplicationOptions *m_options;

    std::unique_ptr<RxProtocol> m_protocol;
    QString m_path;
    bool m_modified = false;
    QString m_lastDirectory;

    RxFieldTable *m_fieldTable = nullptr;
    RxValueTable *m_valueTable = nullptr;
    RxPlot *m_plot = nullptr;
    RxLineList *m_lineTable = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_counts = nullptr;
    QLabel *m_title = nullptr;

    QAction *m_startAction = nullptr;
    QAction *m_packetAction = nullptr;
    QAction *m_pauseAction = nullptr;
    QAction *m_cursorAction = nullptr;
    QAction *m_autoscaleAction = nullptr;
    QSpinBox *m_windowSpin = nullptr;
    QSpinBox *m_rateSpin = nullptr;
    QDoubleSpinBox *m_lowerSpin = nullptr;
    QDoubleSpinBox *m_upperSpin = nullptr;
    QTimer *m_refreshTimer = nullptr;
    std::thread m_exportThread;

    // What the running parse decodes: per measured value of a frame, its
    // field's type and the plot line it feeds (-1 none).
    bool m_parsing = false;
    QVector<int> m_valueTypes;
    QVector<int> m_valueLines;
    // The coefficient as written, in double precision (the parser carries
    // it as a float, which would put 0.01 off by 2e-10); 0 means the
    // parser's own.
    QVector<double> m_valueCoefficients;
    QVector<FrameValue> m_latest;
    bool m_haveLatest = false;
    qint64 m_epochNs = 0;
    qint64 m_decoded = 0;
    // The watcher's counters when parsing started.
    qint64 m_skippedBase = 0;
    qint64 m_droppedBytesBase = 0;
    qint64 m_droppedPacketsBase = 0;
    qint64 m_droppedFramesBase = 0;
    // Frames per second, over the last second or so.
    QElapsedTimer m_rateClock;
    qint64 m_rateBase = 0;
    double m_frameRate = 0.0;
};

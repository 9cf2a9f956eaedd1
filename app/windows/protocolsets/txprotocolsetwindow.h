#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <dorvane/app_export.h>

#include <vector>

struct Services;
class StreamSender;
class ChannelProxy;
class Context;
class ApplicationOptions;
class EditorHeaderView;
class PeriodSendController;
class QAction;
class QLabel;
class QSpinBox;
class QToolButton;
class ScrollWorkspace;
class TxProtocolSet;
class TxProtocolSetItemEditor;
struct TxProtocolSetItem;
class WdxInfoBar;
class WdxToolBar;

// Sends the protocol files of a protocol set in turn: one frame per click,
// periodically, or one file's frame from its own row. Each item keeps its own
// frame stream, so a row always sends its own item, whatever happened to the
// items before it.
class DORVANE_APP_EXPORT TxProtocolSetWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit TxProtocolSetWindow(const Services &services, QWidget *parent = nullptr);
    ~TxProtocolSetWindow() override;

    // Loads a protocol-set file. False, with the window's document kept, when
    // the file is missing, is not a set or none of its protocols loads.
    bool open(const QString &path);
    // Asks to save unsaved changes; false when the user cancels or the save
    // fails.
    bool askSave();
    // Writes the document as it stands to a recovery copy; its own name and
    // unsaved state stay as they are.
    bool writeRecoveryCopy(const QString &path);
    // Opens a recovery copy as the unsaved changes of the document that was
    // named originalPath (empty for one never saved).
    bool restoreRecoveryCopy(const QString &copy, const QString &originalPath);

    // Document summary shown in the main window's status bar.
    QWidget *statusWidget() const;

    TxProtocolSet *protocolSet() const { return m_set; }
    QString documentPath() const { return m_path; }
    // Why the last open() refused the file as a whole; empty when it did not.
    QString openError() const { return m_openError; }
    bool isModified() const { return m_modified; }
    QList<TxProtocolSetItemEditor *> rows() const { return m_rows; }
    EditorHeaderView *headerView() const { return m_header; }
    ScrollWorkspace *workspace() const { return m_workspace; }
    QLabel *titleLabel() const { return m_title; }

public slots:
    void onNewSolution();
    void onOpenSolution();
    // Writes to the document's file, asking for a name only when it has none.
    void onSaveSolution();
    void onSaveSolutionAs();
    void onAddFiles();
    void onInsertFiles();
    void onShowEditOptions();
    void onResetTransmit();
    void onSend();
    void onLoopSendStateChanged(QObject *sender, bool state);

signals:
    // A row's protocol file is to be opened in the protocol editor.
    void protocolFileOpenRequested(const QString &path);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void createToolBars();
    void createStatusWidget();
    QAction *addModeAction(WdxToolBar *bar, const QString &text, const QString &icon);

    bool saveDocument(bool askName);
    void setModified(bool modified);
    void refreshTitle();
    void updateEmptyState();
    void postRelayout();

    void insertFiles(int index);
    TxProtocolSetItemEditor *createRow(TxProtocolSetItem *item, int index);
    void removeAllRows();
    void renumberRows();
    void warnSkipped(const QString &intro, const QStringList &paths);

    // Builds one stream per item, remembering which stream is whose.
    void rebuild();
    // Makes the enabled items' streams the ones the window sends in turn.
    bool selectEnabled();
    int streamOf(const TxProtocolSetItem *item) const;
    bool enabledItemFailed() const;

    // Periodic sending from this window's sender runs, started by the window
    // or by one of its rows.
    bool ownPeriodSendRuns();
    TxProtocolSetItemEditor *rowOf(const QObject *object) const;
    // Stops periodic sending started by a row about to go away, which no one
    // could stop once the row is gone.
    void stopIfOwnedBy(const QList<TxProtocolSetItemEditor *> &rows);

    // The channel is open (or the user was told it is not).
    bool readyToSend() const;
    StreamSender *setSender() const { return &m_sender; }
    bool channelOpen() const;
    // Stops periodic sending the owner started, or tells that another one
    // runs it; false when none runs.
    bool stopOrRefusePeriodSend(const QObject *owner);
    void startPeriodSend(QObject *owner, const QString &description, int interval);
    // Makes the row's stream, rebuilt when due, the one sent; false, with
    // the build failure shown, when the row's item cannot be built.
    bool selectRow(TxProtocolSetItemEditor *row);

    void editRow(TxProtocolSetItemEditor *row);
    void deleteRow(TxProtocolSetItemEditor *row);
    void moveRow(TxProtocolSetItemEditor *row, int step);
    void sendRow(TxProtocolSetItemEditor *row);
    void periodSendRow(TxProtocolSetItemEditor *row);

    TxProtocolSet *m_set = nullptr;
    QString m_path;
    QString m_openError;
    bool m_modified = false;
    bool m_needsRebuild = true;
    bool m_needsSelect = false;
    QList<TxProtocolSetItemEditor *> m_rows;
    QHash<const TxProtocolSetItem *, int> m_streams;

    EditorHeaderView *m_header = nullptr;
    ScrollWorkspace *m_workspace = nullptr;

    QSpinBox *m_positionSpin = nullptr;
    QList<QAction *> m_modeActions;
    QToolButton *m_periodButton = nullptr;
    PeriodSendController *m_periodSend;
    ApplicationOptions &m_options;
    Context &m_context;
    ChannelProxy &m_channel;
    StreamSender &m_sender;
    QSpinBox *m_intervalSpin = nullptr;
    QToolButton *m_sendButton = nullptr;

    WdxInfoBar *m_statusWidget = nullptr;
    QLabel *m_title = nullptr;
};

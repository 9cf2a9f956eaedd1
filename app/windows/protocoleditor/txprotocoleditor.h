#pragma once

#include <QList>
#include <QMainWindow>

#include <dorvane/app_export.h>

#include <memory>

struct Services;
class Context;
class ApplicationOptions;
class EditorHeaderView;
class PeriodSendController;
class QButtonGroup;
class QLabel;
class ScrollWorkspace;
class TxField;
class TxFieldEditor;
class TxProtocol;
class TxProtocolBuildBar;
class TxProtocolToolBar;
class TxValueColumn;
class WdxInfoBar;

// Composes one transmit protocol as a grid: one row per field, one column of
// value edits per value set. Saves it as a protocol document and sends the
// current value set's frames through the channel, once or periodically.
class DORVANE_APP_EXPORT TxProtocolEditor : public QMainWindow
{
    Q_OBJECT

public:
    explicit TxProtocolEditor(const Services &services, QWidget *parent = nullptr);
    ~TxProtocolEditor() override;

    // Loads a protocol file. False (and the open document kept) when the
    // file is missing, is not a protocol, holds no field, or the user keeps
    // the unsaved changes of the open document.
    bool open(const QString &path);
    // Whether the file holds a protocol the editor can open.
    bool isReadable(const QString &path) const;
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
    WdxInfoBar *statusWidget() const { return m_infoBar; }

    // The document, for the windows and tests that look at it.
    const TxProtocol *protocol() const { return m_protocol.get(); }
    QString documentPath() const { return m_path; }
    bool isModified() const { return m_modified; }
    int currentColumn() const { return m_currentColumn; }
    QList<TxFieldEditor *> rows() const { return m_rows; }
    QList<TxValueColumn *> columns() const { return m_columns; }
    EditorHeaderView *headerView() const { return m_header; }
    ScrollWorkspace *workspace() const { return m_workspace; }
    TxProtocolToolBar *toolBar() const { return m_toolBar; }
    TxProtocolBuildBar *buildBar() const { return m_buildBar; }

public slots:
    void newDocument();
    void openDocument();
    // Always asks for the file name, preset to the current one.
    bool saveDocumentAs();
    // Writes to the current path; asks for a name only for a new document.
    bool saveDocument();
    void addFieldAtEnd();
    void insertFieldAtPosition();
    void addValueColumn();
    void send();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ApplicationOptions &m_options;
    Context &m_context;
    Context *context() const { return &m_context; }
    enum StatusItem {
        FieldCountItem = 1,
        ByteCountItem = 2,
        TitleItem = 4,
        AllItems = FieldCountItem | ByteCountItem | TitleItem,
    };

    void createToolBars(const Services &services);
    void createInfoBar();
    void createShortcuts();
    void createCentralWidget();

    // Rows and columns.
    TxFieldEditor *addField(int index, const TxField *source = nullptr);
    void createRow(int index, TxField *field);
    void fillRowValues(TxFieldEditor *row);
    TxValueColumn *createColumn();
    void removeAllRowsAndColumns();
    void renumber(int from);
    void renumberAfterCountChange(int from, int oldCount);
    void setEditMode(int mode, bool on);
    void showRowValue(TxFieldEditor *row, TxValueColumn *column);
    void updateHeaderVisibility();
    void placeHeader();
    void postResize();

    // Row operations.
    void changeType(TxFieldEditor *row);
    void toggleEndian(TxFieldEditor *row);
    void toggleEnabled(TxFieldEditor *row);
    void deleteField(TxFieldEditor *row);
    void moveField(TxFieldEditor *row, int step);
    void copyField(TxFieldEditor *row, int offset);
    void renameField(TxFieldEditor *row, const QString &name);

    // Column operations.
    void activateColumn(TxValueColumn *column);
    void deleteColumn(TxValueColumn *column);
    void editValue(TxValueColumn *column, TxFieldEditor *row);
    void revertValue(TxValueColumn *column, TxFieldEditor *row);
    void markAllNeedBuild();

    // Document.
    std::unique_ptr<TxProtocol> readProtocol(const QString &path) const;
    bool loadDocument(const QString &path, bool askFirst);
    void commitPendingNames();
    bool saveTo(const QString &path);
    QString askSaveFileName();
    // A ProtocolExportOptions::Kind, for the current value set.
    void askExportProtocol(int kind);
    // A passing note in the status bar's message label.
    void showNote(const QString &text);
    void setModified();
    void updateEnabledStates();
    void refreshStatus(int items);
    int byteCount() const;
    int typeButtonWidth();

    std::unique_ptr<TxProtocol> m_protocol;
    QString m_path;
    bool m_modified = false;
    int m_currentColumn = -1;
    QList<TxFieldEditor *> m_rows;
    QList<TxValueColumn *> m_columns;
    QButtonGroup *m_columnButtons = nullptr;
    int m_typeButtonWidth = -1;

    TxProtocolToolBar *m_toolBar = nullptr;
    TxProtocolBuildBar *m_buildBar = nullptr;

    WdxInfoBar *m_infoBar = nullptr;
    QLabel *m_documentLabel = nullptr;
    QLabel *m_fieldCountLabel = nullptr;
    QLabel *m_sizeLabel = nullptr;
    QLabel *m_messageLabel = nullptr;

    EditorHeaderView *m_header = nullptr;
    ScrollWorkspace *m_workspace = nullptr;
};

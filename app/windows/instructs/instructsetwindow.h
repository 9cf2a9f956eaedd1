#pragma once

#include "windows/common/itemlistwindow.h"

#include <QString>
#include <QTimer>

#include <dorvane/app_export.h>

struct Services;
class ApplicationOptions;
class ChannelProxy;
class InstructItemEditor;
class InstructSet;
class QAction;
class QToolButton;
struct InstructItem;

// The open instruct set: ready-made transmit texts with titles and delays,
// edited in place, sent one at a time or all in a loop (batch send), and
// kept in ".dvits" files.
class DORVANE_APP_EXPORT InstructSetWindow : public ItemListWindow
{
    Q_OBJECT

public:
    explicit InstructSetWindow(const Services &services, QWidget *parent = nullptr);
    ~InstructSetWindow() override;

    // Appends an instruct holding the transmit window's text.
    void add(const QString &content, int textMode);

    // Replaces the set with the file's; false, keeping the open set, when the
    // file cannot be read or holds no instruct.
    bool open(const QString &path);
    // Asks whether to save a changed set: true to go on, false to stay.
    bool askSave();
    // Saves under a name the user chooses; false when cancelled or failed.
    bool saveAs();
    // Writes the set; a failure is shown with the path and its reason.
    bool save(const QString &path);
    // Writes the document as it stands to a recovery copy; its own name and
    // unsaved state stay as they are.
    bool writeRecoveryCopy(const QString &path);
    // Opens a recovery copy as the unsaved changes of the document that was
    // named originalPath (empty for one never saved).
    bool restoreRecoveryCopy(const QString &copy, const QString &originalPath);
    // Starts an empty, unnamed set (after askSave).
    void newSet();

    InstructSet *instructSet() const { return m_set; }
    InstructItemEditor *row(int index) const;
    QString path() const { return m_path; }
    bool isModified() const { return m_modified; }

    void startBatch();
    void stopBatch();
    bool isBatchRunning() const { return m_batchRunning; }
    int batchIndex() const { return m_batchIndex; }

    QAction *newAction() const { return m_newAction; }
    QAction *openAction() const { return m_openAction; }
    QAction *saveAction() const { return m_saveAction; }
    QAction *commentsAction() const { return m_commentsAction; }
    QAction *delayAction() const { return m_delayAction; }
    QAction *editAction() const { return m_editAction; }
    QAction *moveAction() const { return m_moveAction; }
    QAction *deletionAction() const { return m_deletionAction; }
    QToolButton *batchButton() const { return m_batchButton; }

signals:
    // A row's text is to be edited in the transmit window.
    void transmitTextRequested(const QString &text, int textMode);

protected:
    void setRowNumber(QWidget *row, const QString &text) override;
    QList<QPair<int, QWidget *>> headerPlaces(QWidget *row) const override;
    QWidget *createRowAt(int index) override;

private:
    void createToolBar();
    InstructItemEditor *createRow(InstructItem *item);
    void applyEditModes(InstructItemEditor *row) const;
    void updateEditModes();
    void setModified(bool modified);
    void askOpen();
    void sendRow(InstructItemEditor *row);
    void deleteRow(InstructItemEditor *row);
    void moveRow(InstructItemEditor *row, int step);
    void toggleBatch();
    void batchStep();

    ApplicationOptions &m_options;
    ChannelProxy &m_channel;
    InstructSet *m_set;
    QString m_path;
    bool m_modified = false;

    bool m_batchRunning = false;
    int m_batchIndex = -1;
    QTimer m_batchTimer;

    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_commentsAction = nullptr;
    QAction *m_delayAction = nullptr;
    QAction *m_editAction = nullptr;
    QAction *m_moveAction = nullptr;
    QAction *m_deletionAction = nullptr;
    QToolButton *m_batchButton = nullptr;
};

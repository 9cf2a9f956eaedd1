#pragma once

#include <QFont>

#include "windows/common/itemlistwindow.h"

#include <dorvane/app_export.h>

struct Services;
class ChannelProxy;
class HistoryItemEditor;
class HistoryList;
class QAction;
struct HistoryRecord;

// The texts sent from the transmit window, newest first, ready to be copied
// or sent again. The list is read from the history file when the window is
// made and written back when it goes.
class DORVANE_APP_EXPORT HistoryWindow : public ItemListWindow
{
    Q_OBJECT

public:
    explicit HistoryWindow(const Services &services, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Keeps a text the transmit window has just sent.
    void record(const QString &content, int textMode);

    HistoryList *historyList() const { return m_list; }
    HistoryItemEditor *row(int index) const;

    QAction *clearAction() const { return m_clearAction; }
    QAction *deletionAction() const { return m_deletionAction; }

    void clear();

protected:
    void setRowNumber(QWidget *row, const QString &text) override;
    QList<QPair<int, QWidget *>> headerPlaces(QWidget *row) const override;

private:
    HistoryItemEditor *createRow(HistoryRecord *record);
    void deleteRow(HistoryItemEditor *row);
    void removeTailRows(int count);
    void setDeletionMode(bool on);

    const QString m_historyFile;
    ChannelProxy &m_channel;
    const QFont m_editorFont;
    HistoryList *m_list;
    QAction *m_clearAction = nullptr;
    QAction *m_deletionAction = nullptr;
};

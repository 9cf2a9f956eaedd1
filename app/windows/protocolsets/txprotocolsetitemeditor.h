#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

class QFont;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
struct TxProtocolSetItem;

// One row of the protocol-set window: the file of an item, its value column,
// its row operations and its own Send and Period Send. The row edits the
// item it shows and reports every user action to the window.
class DORVANE_APP_EXPORT TxProtocolSetItemEditor : public QWidget
{
    Q_OBJECT

public:
    // The groups of row controls that the window's edit modes show.
    enum Mode {
        EnableMode,
        EditMode,
        MoveMode,
        DeletionMode,
        ValueMode,
        PeriodMode,
    };

    TxProtocolSetItemEditor(TxProtocolSetItem *item, const QFont &editorFont, QWidget *parent = nullptr);

    TxProtocolSetItem *item() const { return m_item; }

    void setNumber(int number, int width);
    void setEditMode(Mode mode, bool on);

    // Marks an item whose protocol could not be built into a frame.
    void setBuildFailed(bool failed);
    bool buildFailed() const { return m_buildFailed; }
    // Shows whether the periodic sending this row started runs.
    void setLoopSend(bool running);

    QLabel *numberLabel() const { return m_number; }
    QLabel *fileNameLabel() const { return m_fileName; }
    QLabel *fileDirLabel() const { return m_fileDir; }
    QComboBox *valueCombo() const { return m_valueCombo; }
    QSpinBox *intervalSpin() const { return m_interval; }
    QPushButton *periodSendButton() const { return m_periodSend; }
    QPushButton *sendButton() const { return m_send; }

signals:
    void editRequested(TxProtocolSetItemEditor *row);
    void enableToggled(TxProtocolSetItemEditor *row);
    void valueIndexChanged(TxProtocolSetItemEditor *row);
    void intervalChanged(TxProtocolSetItemEditor *row);
    void deleteRequested(TxProtocolSetItemEditor *row);
    void moveUpRequested(TxProtocolSetItemEditor *row);
    void moveDownRequested(TxProtocolSetItemEditor *row);
    void sendRequested(TxProtocolSetItemEditor *row);
    void periodSendRequested(TxProtocolSetItemEditor *row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateEnableIcon();
    void elideDirectory();

    TxProtocolSetItem *m_item;
    bool m_buildFailed = false;
    QString m_directory;

    QLabel *m_number = nullptr;
    QLabel *m_fileName = nullptr;
    QLabel *m_fileDir = nullptr;
    QComboBox *m_valueCombo = nullptr;
    QPushButton *m_edit = nullptr;
    QPushButton *m_enable = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_moveUp = nullptr;
    QPushButton *m_moveDown = nullptr;
    QSpinBox *m_interval = nullptr;
    QPushButton *m_periodSend = nullptr;
    QPushButton *m_send = nullptr;
};

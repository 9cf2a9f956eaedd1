#pragma once

#include <QWidget>

#include "services/transmittextsender.h"

#include <dorvane/app_export.h>

#include <memory>

class ChannelProxy;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
struct InstructItem;

// One row of the instruct-set window: number, title, text mode, the
// editable instruct, the edit, delete and move buttons, the delay and Send.
// It refers to its item, which the set owns, and writes edits into it.
class DORVANE_APP_EXPORT InstructItemEditor : public QWidget
{
    Q_OBJECT

public:
    InstructItemEditor(InstructItem *item, ChannelProxy *channel, const QFont &editorFont,
                       QWidget *parent = nullptr);
    ~InstructItemEditor() override;

    InstructItem *item() const { return m_item; }

    void setNumber(const QString &text);

    // The edit modes of the window's tool bar.
    void setTitleVisible(bool visible);
    void setIntervalVisible(bool visible);
    void setEditVisible(bool visible);
    void setMoveVisible(bool visible);
    void setDeleteVisible(bool visible);

    QLineEdit *titleEdit() const { return m_titleEdit; }
    QLabel *textModeLabel() const { return m_textModeLabel; }
    QPlainTextEdit *instructEdit() const { return m_instructEdit; }
    QSpinBox *intervalSpinBox() const { return m_intervalSpin; }
    // How often the row has converted its instruct into a frame.
    int buildCount() const;

    // Sends the instruct's next frame; the instruct is converted again only
    // when it was edited since the last send. Shows nothing: the caller
    // decides how to tell the user.
    TransmitTextSender::Result send();

signals:
    void edited();
    void deleteRequested(InstructItemEditor *row);
    void moveRequested(InstructItemEditor *row, int step);
    void sendRequested(InstructItemEditor *row);
    // The row's text goes into the transmit window to be edited there.
    void transmitTextRequested(const QString &text, int textMode);

private:
    InstructItem *m_item;
    QLabel *m_numberLabel;
    QLineEdit *m_titleEdit;
    QLabel *m_textModeLabel;
    QPlainTextEdit *m_instructEdit;
    QPushButton *m_editButton;
    QPushButton *m_deleteButton;
    QPushButton *m_moveUpButton;
    QPushButton *m_moveDownButton;
    QSpinBox *m_intervalSpin;
    std::unique_ptr<TransmitTextSender> m_sender;
};

#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

#include <memory>

class ChannelProxy;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TransmitTextSender;
struct HistoryRecord;

// One row of the history window: number, fire time, text mode, the content
// (read-only) and the copy, delete and Send buttons. It refers to its record,
// which the history list owns.
class DORVANE_APP_EXPORT HistoryItemEditor : public QWidget
{
    Q_OBJECT

public:
    HistoryItemEditor(HistoryRecord *record, ChannelProxy *channel, const QFont &editorFont,
                      QWidget *parent = nullptr);
    ~HistoryItemEditor() override;

    HistoryRecord *record() const { return m_record; }

    void setNumber(const QString &text);
    // Shows the record's fire time again, after a repeated send changed it.
    void refreshFireTime();
    void setDeleteVisible(bool visible);

    QLabel *timeLabel() const { return m_timeLabel; }
    QLabel *textModeLabel() const { return m_textModeLabel; }
    QPlainTextEdit *contentEdit() const { return m_contentEdit; }
    // How often the row has converted its text into a frame.
    int buildCount() const;

    void send();

signals:
    void deleteRequested(HistoryItemEditor *row);

private:
    HistoryRecord *m_record;
    QLabel *m_numberLabel;
    QLabel *m_timeLabel;
    QLabel *m_textModeLabel;
    QPlainTextEdit *m_contentEdit;
    QPushButton *m_deleteButton;
    std::unique_ptr<TransmitTextSender> m_sender;
};

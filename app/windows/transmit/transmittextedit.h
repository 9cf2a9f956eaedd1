#pragma once

#include <QPlainTextEdit>

#include <dorvane/app_export.h>

// The transmit window's editor: hex digits or plain text, by its input mode.
// Only plain text can be pasted or dropped into it; Ctrl+Return asks to send.
class DORVANE_APP_EXPORT TransmitTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TransmitTextEdit(QWidget *parent = nullptr);

    // 0 hex, 1 text.
    int inputMode() const { return m_inputMode; }
    void setInputMode(int mode);

    // The trimmed text as the parameter text of an Array value; empty stays empty.
    QString dataText() const;
    // The hex bytes a checksum covers: the selection, or everything before
    // the cursor, as normalised hex pairs. Empty in text mode.
    QString checksumInput() const;
    // Hex mode: the characters that are neither hex digits nor spaces, outside
    // "//" comments, each once in the order typed. Empty in text mode.
    QString invalidHexCharacters() const;

signals:
    void sendRequested();

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Hex mode underlines in red what is not a hex digit.
    void markInvalidHex();

    int m_inputMode = 0;
};

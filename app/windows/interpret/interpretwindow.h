#pragma once

#include <QByteArray>
#include <QList>
#include <QMainWindow>

#include <dorvane/app_export.h>

class QAction;
class QComboBox;
class QLabel;
class QToolButton;

// Shows picked bytes read as every common binary type: integers of 1, 2, 4
// and 8 bytes, floating-point numbers, a Windows system time, a GUID and
// text in four encodings. Its tool bars switch byte order and number base
// and drive the picking in the dialogue view.
class DORVANE_APP_EXPORT InterpretWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit InterpretWindow(QWidget *parent = nullptr);

    // The bytes to interpret; empty input is ignored.
    void setData(const QByteArray &bytes);
    QByteArray data() const { return m_data; }

    // The 19 value labels, in row order.
    QList<QLabel *> valueLabels() const { return m_values; }
    QString valueText(int row) const;

    bool bigEndian() const { return m_bigEndian; }
    bool hexNumbers() const { return m_hexNumbers; }
    bool inspectText() const { return m_inspectText; }

    // Fills every row from the stored bytes.
    void refresh();

signals:
    // The picking options of the dialogue's echo view, as chosen here.
    void interpretTriggerChanged(int mode);
    void interpretToggled(int direction, bool on);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createToolBars();
    void toggleInspect(int direction, QAction *action);
    void updateInspectIcons();
    void refreshText();

    QByteArray m_data;
    bool m_bigEndian = false;
    bool m_hexNumbers = false;
    bool m_inspectText = false;
    // Picking in the echo view is off at every start, for both directions.
    bool m_interpretOn[2] = {false, false};
    QList<QLabel *> m_values;
    QComboBox *m_mouseMode = nullptr;
    QToolButton *m_inspectTextButton = nullptr;
    QAction *m_inspectRx = nullptr;
    QAction *m_inspectTx = nullptr;
    QToolButton *m_hexButton = nullptr;
    QToolButton *m_bigEndianButton = nullptr;
};

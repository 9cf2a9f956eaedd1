#pragma once

#include <QDialog>

#include <dorvane/rxprotocol.h>

class QCheckBox;
class QComboBox;
class QLabel;

// Chooses which fields of a receive protocol carry the frame's checksum
// (with its CRC model and the first field it covers) and its counter.
class RxRolesDialog : public QDialog
{
    Q_OBJECT

public:
    RxRolesDialog(const RxProtocol &protocol, QWidget *parent = nullptr);

    // The roles as chosen; only roles that fit the fields are accepted.
    RxFrameRoles roles() const;

    QCheckBox *checksumBox() const { return m_checksum; }
    QComboBox *modelCombo() const { return m_model; }
    QComboBox *checksumFieldCombo() const { return m_field; }
    QComboBox *firstCoveredCombo() const { return m_first; }
    QComboBox *sequenceCombo() const { return m_sequence; }

private:
    void check();

    const RxProtocol &m_protocol;
    QCheckBox *m_checksum = nullptr;
    QComboBox *m_model = nullptr;
    QComboBox *m_field = nullptr;
    QComboBox *m_first = nullptr;
    QComboBox *m_sequence = nullptr;
    QLabel *m_problem = nullptr;
    class QPushButton *m_ok = nullptr;
};

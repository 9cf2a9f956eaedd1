#include "windows/rxframes/rxrolesdialog.h"

#include "model/checksum.h"

#include <dorvane/framerolecheck.h>
#include <dorvane/rxfield.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

RxRolesDialog::RxRolesDialog(const RxProtocol &protocol, QWidget *parent)
    : QDialog(parent)
    , m_protocol(protocol)
{
    setObjectName(QStringLiteral("RxRolesDialog"));
    setWindowTitle(tr("Field Roles"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout();
    layout->addLayout(form);

    QStringList fields;
    for (int i = 0; i < protocol.GetFieldCount(); ++i)
        fields << tr("%1: %2").arg(i + 1).arg(
            QString::fromLocal8Bit(protocol.GetField(i)->GetName().c_str()));

    m_checksum = new QCheckBox(tr("The frame carries a checksum"), this);
    m_checksum->setObjectName(QStringLiteral("RxRolesChecksumBox"));
    form->addRow(m_checksum);
    m_model = new QComboBox(this);
    m_model->setObjectName(QStringLiteral("RxRolesModelCombo"));
    m_model->addItems(crcModelNames());
    form->addRow(tr("CRC model"), m_model);
    m_field = new QComboBox(this);
    m_field->setObjectName(QStringLiteral("RxRolesChecksumFieldCombo"));
    m_field->addItems(fields);
    form->addRow(tr("Checksum field"), m_field);
    m_first = new QComboBox(this);
    m_first->setObjectName(QStringLiteral("RxRolesFirstCoveredCombo"));
    m_first->addItems(fields);
    form->addRow(tr("First covered field"), m_first);
    m_sequence = new QComboBox(this);
    m_sequence->setObjectName(QStringLiteral("RxRolesSequenceCombo"));
    m_sequence->addItem(tr("None"));
    m_sequence->addItems(fields);
    form->addRow(tr("Counter field"), m_sequence);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("RxRolesProblemLabel"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00020;"));
    layout->addWidget(m_problem);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const RxFrameRoles &roles = protocol.GetRoles();
    m_checksum->setChecked(roles.hasChecksum);
    m_model->setCurrentIndex(qMax(0, crcModelOf(roles.checksum.model)));
    if (!roles.hasChecksum)
        m_model->setCurrentIndex(Crc16Modbus);
    m_field->setCurrentIndex(roles.hasChecksum ? roles.checksum.field : protocol.GetFieldCount() - 1);
    m_first->setCurrentIndex(roles.hasChecksum ? roles.checksum.firstCoveredField : 0);
    m_sequence->setCurrentIndex(roles.sequenceField + 1);

    for (QComboBox *combo : {m_model, m_field, m_first, m_sequence})
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &RxRolesDialog::check);
    connect(m_checksum, &QCheckBox::toggled, this, &RxRolesDialog::check);
    check();
}

RxFrameRoles RxRolesDialog::roles() const
{
    RxFrameRoles roles;
    roles.hasChecksum = m_checksum->isChecked();
    if (roles.hasChecksum) {
        roles.checksum.model = crcModelParameters(m_model->currentIndex());
        roles.checksum.field = m_field->currentIndex();
        roles.checksum.firstCoveredField = m_first->currentIndex();
    }
    roles.sequenceField = m_sequence->currentIndex() - 1;
    return roles;
}

void RxRolesDialog::check()
{
    for (QWidget *w :
         {static_cast<QWidget *>(m_model), static_cast<QWidget *>(m_field), static_cast<QWidget *>(m_first)})
        w->setEnabled(m_checksum->isChecked());
    RxFrameRoles chosen = roles();
    std::string message;
    const bool fits = ValidateFrameRoles(m_protocol, chosen, message);
    m_problem->setText(QString::fromStdString(message));
    m_problem->setVisible(!fits);
    m_ok->setEnabled(fits);
}

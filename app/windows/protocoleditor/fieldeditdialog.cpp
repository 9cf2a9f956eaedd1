#include "windows/protocoleditor/fieldeditdialog.h"

#include <dorvane/Core.h>

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QString FieldEditDialog::paramsHint(ValueGeneratorType generator)
{
    switch (generator) {
    case Fixed:
        return tr("value, e.g. 0x7F");
    case Random:
        return tr("low, high, e.g. 0, 100");
    case Sequence:
        return tr("start, step[, end], e.g. 0, 1, 10");
    case Scatter:
        return tr("value, value, ... or \"text\", e.g. 1, 5, 9");
    case Array:
        return tr("value, value, ..., \"text\" or 0x[hex bytes], e.g. 0x[01 02 03]");
    case Block:
        return tr("count[, fill], e.g. 4, 0xFF");
    case DateTime:
        return tr("\"format\" of yyyy MM dd hh mm ss zzz, e.g. \"yyyy-MM-dd hh:mm:ss\"");
    case Sin:
        return tr("period (ms), low, high, coefficient, e.g. 1000, 0, 100, 1");
    case Step:
        return tr("period (ms), first, second, coefficient, e.g. 1000, 0, 1, 1");
    }
    return QString();
}

FieldEditDialog::FieldEditDialog(const Context *context, QWidget *parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("Edit Field"));
    setMinimumWidth(420);

    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("cbxDataType"));
    m_typeBox->setEnabled(false);
    m_generatorBox = new QComboBox(this);
    m_generatorBox->setObjectName(QStringLiteral("cbxGenerator"));
    m_paramEdit = new QLineEdit(this);
    m_paramEdit->setObjectName(QStringLiteral("txtParam"));
    if (context) {
        for (int id : context->GetRegisterTypes())
            m_typeBox->addItem(QString::fromStdString(context->GetTypeName(id)), id);
        for (ValueGeneratorType type : context->GetRegisterValueGenerators())
            m_generatorBox->addItem(QString::fromStdString(context->GetValueGeneratorName(type)), int(type));
    }

    auto label = [this](const QString &text, const char *name, QWidget *buddy) {
        auto *result = new QLabel(text, this);
        result->setObjectName(QLatin1String(name));
        result->setBuddy(buddy);
        return result;
    };
    auto *form = new QFormLayout;
    form->addRow(label(tr("Data Type"), "lblDataType", m_typeBox), m_typeBox);
    form->addRow(label(tr("Generator"), "lblGenerator", m_generatorBox), m_generatorBox);
    form->addRow(label(tr("Params"), "lblFunction", m_paramEdit), m_paramEdit);
    m_hintLabel = new QLabel(this);
    m_hintLabel->setObjectName(QStringLiteral("lblParamHint"));
    m_hintLabel->setWordWrap(true);
    m_hintLabel->setEnabled(false);
    form->addRow(QString(), m_hintLabel);

    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setObjectName(QStringLiteral("btnOk"));
    m_okButton->setDefault(true);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_okButton);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(m_generatorBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &FieldEditDialog::validate);
    connect(m_paramEdit, &QLineEdit::textChanged, this, &FieldEditDialog::validate);
    connect(m_okButton, &QPushButton::clicked, this, &FieldEditDialog::acceptValue);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    validate();
}

void FieldEditDialog::setValue(int typeId, ValueGeneratorType generator, const QString &params)
{
    m_typeBox->setCurrentIndex(m_typeBox->findData(typeId));
    m_generatorBox->setCurrentIndex(m_generatorBox->findData(int(generator)));
    m_paramEdit->setText(params);
    validate();
}

bool FieldEditDialog::paramsSuit(ValueGeneratorType generator, const QString &params)
{
    ParamList list;
    if (!list.Parse(params.trimmed().toLocal8Bit().toStdString()))
        return false;
    int numbers = 0;
    int strings = 0;
    for (size_t i = 0; i < list.Count(); ++i) {
        if (list.ParamAt(int(i)).type == ParamList::Number)
            ++numbers;
        else
            ++strings;
    }
    switch (generator) {
    case Fixed:
        return numbers == 1 && strings == 0;
    case Random:
        return numbers == 2 && strings == 0;
    case Sequence:
        return numbers >= 2 && numbers < 4;
    case Scatter:
    case Array:
        return numbers >= 1 || (numbers == 0 && strings == 1);
    case Block:
        // A block needs its element count: an empty list never builds.
        return numbers >= 1 && numbers <= 2 && strings == 0;
    case DateTime:
        return numbers == 0 && strings == 1;
    case Sin:
    case Step:
        return numbers == 4 && strings == 0;
    }
    return false;
}

void FieldEditDialog::validate()
{
    const QVariant data = m_generatorBox->currentData();
    const QString hint = data.isValid() ? paramsHint(ValueGeneratorType(data.toInt())) : QString();
    m_hintLabel->setText(hint);
    m_paramEdit->setPlaceholderText(hint);
    m_okButton->setEnabled(data.isValid()
                           && paramsSuit(ValueGeneratorType(data.toInt()), m_paramEdit->text()));
}

void FieldEditDialog::acceptValue()
{
    if (!m_okButton->isEnabled())
        return;
    m_generator = ValueGeneratorType(m_generatorBox->currentData().toInt());
    m_params = m_paramEdit->text().trimmed();
    accept();
}

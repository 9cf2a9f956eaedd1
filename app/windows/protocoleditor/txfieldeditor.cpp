#include "windows/protocoleditor/txfieldeditor.h"

#include "windows/common/nameedit.h"
#include "windows/protocoleditor/txvalueedit.h"

#include <dorvane/Core.h>
#include <dorvane/wdx.h>

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

QString enablePicture(bool enabled)
{
    return enabled ? QStringLiteral(":/Resources/editor/enable.png")
                   : QStringLiteral(":/Resources/editor/disable.png");
}

} // namespace

TxFieldEditor::TxFieldEditor(TxField *field, const Context *context, const QFont &numberFont,
                             int typeButtonWidth, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_field(field)
    , m_valueArea(new QWidget(this))
    , m_valueLayout(new QHBoxLayout(m_valueArea))
{
    m_number = new QLabel(this);
    m_number->setObjectName(QStringLiteral("NumberLabel"));
    m_number->setFont(numberFont);
    m_number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    m_nameEdit = new NameEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("FieldNameEdit"));
    m_nameEdit->setMaximumWidth(260);
    m_nameEdit->setMinimumWidth(90);
    m_nameEdit->setContextMenuPolicy(Qt::NoContextMenu);
    m_nameEdit->setPlaceholderText(tr("Field name"));

    m_typeButton = Wdx::createPushButton(QString(), QStringLiteral("DataTypeButton"), false, false, this);
    m_typeButton->setMinimumWidth(typeButtonWidth);
    m_typeButton->setToolTip(tr("Data Type"));

    m_endianButton = Wdx::createPushButton(QString(), QStringLiteral("EndianButton"), false, false, this);
    m_endianButton->setMaximumWidth(26);
    m_endianButton->setToolTip(tr("Byte order: B big endian, L little endian"));

    m_operations = new QWidget(this);
    m_operations->setObjectName(QStringLiteral("operationWidget"));
    m_enableButton = operationButton(":/Resources/editor/enable.png", tr("Enable or disable the field"));
    m_deleteButton = operationButton(":/Resources/editor/delete.png", tr("Delete the field"));
    m_moveUpButton = operationButton(":/Resources/editor/move-up.png", tr("Move up"));
    m_moveDownButton = operationButton(":/Resources/editor/move-down.png", tr("Move down"));
    m_copyUpButton = operationButton(":/Resources/editor/copy-up.png", tr("Copy above"));
    m_copyDownButton = operationButton(":/Resources/editor/copy-down.png", tr("Copy below"));
    Wdx::layoutWidgets(
        Qt::Horizontal, m_operations,
        {m_enableButton, m_deleteButton, m_moveUpButton, m_moveDownButton, m_copyUpButton, m_copyDownButton},
        0, 2);

    m_valueArea->setObjectName(QStringLiteral("valueArea"));
    QBoxLayout *layout = Wdx::layoutWidgets(
        Qt::Horizontal, this, {m_number, m_nameEdit, m_typeButton, m_endianButton, m_operations, m_valueArea},
        0, 4);
    // The values take the room the row leaves; the type buttons of all rows
    // keep one width, so the columns line up.
    layout->setStretchFactor(m_valueArea, 1);
    m_typeButton->setSizePolicy(QSizePolicy::Fixed, m_typeButton->sizePolicy().verticalPolicy());

    m_valueLayout->setContentsMargins(0, 0, 0, 0);
    m_valueLayout->setSpacing(4);

    connect(m_nameEdit, &NameEdit::nameChanged, this, &TxFieldEditor::nameChanged);
    connect(m_typeButton, &QPushButton::clicked, this, &TxFieldEditor::typeClicked);
    connect(m_endianButton, &QPushButton::clicked, this, &TxFieldEditor::endianClicked);
    connect(m_enableButton, &QPushButton::clicked, this, &TxFieldEditor::enableClicked);
    connect(m_deleteButton, &QPushButton::clicked, this, &TxFieldEditor::deleteClicked);
    connect(m_moveUpButton, &QPushButton::clicked, this, &TxFieldEditor::moveUpClicked);
    connect(m_moveDownButton, &QPushButton::clicked, this, &TxFieldEditor::moveDownClicked);
    connect(m_copyUpButton, &QPushButton::clicked, this, &TxFieldEditor::copyUpClicked);
    connect(m_copyDownButton, &QPushButton::clicked, this, &TxFieldEditor::copyDownClicked);
    refresh();
}

TxFieldEditor::~TxFieldEditor() = default;

int TxFieldEditor::typeButtonWidth(QWidget *window, const Context *context)
{
    const QFontMetrics metrics(window->font());
    // The style's padding counts as well as the text.
    QPushButton probe(window);
    probe.setObjectName(QStringLiteral("DataTypeButton"));
    probe.hide();
    int widest = 0;
    if (context) {
        for (int id : context->GetRegisterTypes()) {
            const QString name = QString::fromStdString(context->GetTypeName(id));
            probe.setText(name);
            widest = std::max({widest, metrics.horizontalAdvance(name) + 20, probe.sizeHint().width()});
        }
    }
    return widest;
}

QPushButton *TxFieldEditor::operationButton(const char *icon, const QString &tip)
{
    QPushButton *button = Wdx::createPushButton(QIcon(QLatin1String(icon)), m_operations);
    button->setToolTip(tip);
    button->setVisible(false);
    return button;
}

void TxFieldEditor::setField(TxField *field)
{
    m_field = field;
    refresh();
}

void TxFieldEditor::setNumber(int number, int width)
{
    m_number->setText(QStringLiteral("%1").arg(number, width));
}

QString TxFieldEditor::numberText() const
{
    return m_number->text();
}

void TxFieldEditor::setEditMode(EditMode mode, bool on)
{
    switch (mode) {
    case EnableMode:
        m_enableButton->setVisible(on);
        break;
    case DeletionMode:
        m_deleteButton->setVisible(on);
        break;
    case MoveMode:
        m_moveUpButton->setVisible(on);
        m_moveDownButton->setVisible(on);
        break;
    case CopyMode:
        m_copyUpButton->setVisible(on);
        m_copyDownButton->setVisible(on);
        break;
    }
}

void TxFieldEditor::refresh()
{
    if (!m_field)
        return;
    m_nameEdit->setText(QString::fromLocal8Bit(m_field->GetName().c_str()));
    const Context *context = m_context;
    const QString typeName
        = context ? QString::fromStdString(context->GetTypeName(m_field->GetTypeId())) : QString();
    // A document may name a type this program does not know.
    m_typeButton->setText(typeName.isEmpty() ? QStringLiteral("? (%1)").arg(m_field->GetTypeId()) : typeName);
    m_endianButton->setText(m_field->GetEndian() == BigEndian ? QStringLiteral("B") : QStringLiteral("L"));
    m_enableButton->setIcon(QIcon(enablePicture(m_field->IsEnabled())));
    // A disabled field's number is greyed: it adds nothing to the frame.
    m_number->setEnabled(m_field->IsEnabled());
}

void TxFieldEditor::insertValueEdit(int position, TxValueEdit *edit)
{
    m_valueLayout->insertWidget(position, edit, 1);
}

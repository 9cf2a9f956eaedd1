#include "windows/protocoleditor/datatypeselectdialog.h"

#include <dorvane/Core.h>

#include <QButtonGroup>
#include <QPushButton>
#include <QVBoxLayout>

DataTypeSelectDialog::DataTypeSelectDialog(const Context *context, QWidget *parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("Data Type"));
    auto *layout = new QVBoxLayout(this);
    auto *group = new QButtonGroup(this);
    if (context) {
        for (int id : context->GetRegisterTypes()) {
            auto *button = new QPushButton(QString::fromStdString(context->GetTypeName(id)), this);
            button->setObjectName(QStringLiteral("type%1").arg(id));
            group->addButton(button, id);
            layout->addWidget(button);
        }
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int id) {
        m_typeId = id;
        accept();
    });
}

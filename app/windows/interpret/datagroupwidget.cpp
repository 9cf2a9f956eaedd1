#include "windows/interpret/datagroupwidget.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

DataGroupWidget::DataGroupWidget(const QStringList &names, QWidget *parent)
    : QWidget(parent)
{
    auto *sideBar = new QFrame(this);
    sideBar->setObjectName(QStringLiteral("SideBar"));
    sideBar->setFixedWidth(6);
    auto *workspace = new QWidget(this);
    workspace->setObjectName(QStringLiteral("Workspace"));
    workspace->setAttribute(Qt::WA_StyledBackground);

    auto *grid = new QGridLayout(workspace);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int row = 0; row < names.size(); ++row) {
        auto *name = new QLabel(names.at(row), workspace);
        name->setObjectName(QStringLiteral("NameLabel"));
        name->setFixedWidth(120);
        auto *value = new QLabel(QStringLiteral("0"), workspace);
        value->setObjectName(QStringLiteral("ValueLabel"));
        // Picked bytes come from a peer: never read them as markup.
        value->setTextFormat(Qt::PlainText);
        value->setWordWrap(false);
        value->setMinimumWidth(40);
        value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse
                                       | Qt::LinksAccessibleByKeyboard);
        grid->addWidget(name, row, 0);
        grid->addWidget(value, row, 1);
        m_values.append(value);
    }
    grid->setColumnStretch(1, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sideBar);
    layout->addWidget(workspace, 1);
}

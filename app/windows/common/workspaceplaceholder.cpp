#include "windows/common/workspaceplaceholder.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

QWidget *createWorkspacePlaceholder(QWidget *parent, const char *iconName, const QString &caption)
{
    auto *workspace = new QWidget(parent);
    workspace->setObjectName(QStringLiteral("Workspace"));
    workspace->setAttribute(Qt::WA_StyledBackground);

    auto *picture = new QLabel(workspace);
    // The tool bar picture at twice its size, greyed and faded.
    const QIcon icon(QPixmap(QStringLiteral(":/Resources/main/%1@2x.png").arg(QLatin1String(iconName))));
    const QPixmap grey = icon.pixmap(QSize(48, 48), QIcon::Disabled);
    QPixmap faded(grey.size());
    faded.fill(Qt::transparent);
    {
        QPainter painter(&faded);
        painter.setOpacity(0.45);
        painter.drawPixmap(0, 0, grey);
    }
    picture->setPixmap(faded);
    picture->setAlignment(Qt::AlignCenter);

    auto *text = new QLabel(caption, workspace);
    text->setObjectName(QStringLiteral("PlaceholderCaption"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);

    auto *layout = new QVBoxLayout(workspace);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addStretch(1);
    layout->addWidget(picture);
    layout->addWidget(text);
    layout->addStretch(1);
    return workspace;
}

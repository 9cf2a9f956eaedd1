#include "shell/savefileaskdialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SaveFileAskDialog::SaveFileAskDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("Save Prompt"));
    setMinimumWidth(320);

    auto *icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);

    m_text = new QLabel(tr("The document has been changed, whether to save the changes?"), this);
    m_text->setObjectName(QStringLiteral("lblText"));
    m_text->setWordWrap(true);

    auto *save = new QPushButton(tr("Save"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    save->setDefault(true);
    auto *doNotSave = new QPushButton(tr("Do Not Save"), this);
    doNotSave->setObjectName(QStringLiteral("btnDoNotSave"));
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    connect(save, &QPushButton::clicked, this, [this] { done(QDialogButtonBox::Yes); });
    connect(doNotSave, &QPushButton::clicked, this, [this] { done(QDialogButtonBox::No); });
    connect(cancel, &QPushButton::clicked, this, [this] { done(QDialogButtonBox::Cancel); });

    auto *message = new QHBoxLayout;
    message->setSpacing(12);
    message->addWidget(icon);
    message->addWidget(m_text, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(doNotSave);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(message);
    layout->addLayout(buttons);
}

void SaveFileAskDialog::setText(const QString &text)
{
    m_text->setText(text);
}

QString SaveFileAskDialog::text() const
{
    return m_text->text();
}

void SaveFileAskDialog::reject()
{
    done(QDialogButtonBox::Cancel);
}

bool SaveFileAskDialog::askToSave(QWidget *parent, const QString &title, const QString &text,
                                  const std::function<bool()> &save)
{
    SaveFileAskDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setText(text);
    switch (dialog.exec()) {
    case QDialogButtonBox::Yes:
        return save();
    case QDialogButtonBox::No:
        return true;
    default:
        return false;
    }
}

#include "shell/aboutdialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(tr("About Dorvane"));

    auto *icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/Resources/app/dorvane.png"))
                        .scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *name = new QLabel(this);
    name->setObjectName(QStringLiteral("lblProductName"));
    name->setTextFormat(Qt::RichText);
    const QString bits = QSysInfo::WordSize == 64 ? tr("(64-bit)") : tr("(32-bit)");
    name->setText(QStringLiteral("<span style=\"font-size:20pt; font-weight:bold;\">Dorvane</span>"
                                 "&nbsp;&nbsp;<span style=\"font-size:11pt;\">%1</span>")
                      .arg(bits));

    auto *version = new QLabel(tr("Version %1, built with Qt %2")
                                   .arg(QApplication::applicationVersion(), QStringLiteral(QT_VERSION_STR)),
                               this);
    version->setObjectName(QStringLiteral("lblVersion"));
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *summary = new QLabel(tr("A workbench for engineers who talk to devices over serial ports, "
                                  "TCP and UDP: watch the traffic, send data once or periodically, "
                                  "and build frames from transmit protocols."),
                               this);
    summary->setWordWrap(true);

    auto *copyright = new QLabel(tr("Made by Quorvel."), this);
    copyright->setEnabled(false);

    auto *aboutQt = new QPushButton(tr("About Qt"), this);
    aboutQt->setObjectName(QStringLiteral("btnAboutQt"));
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(aboutQt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *text = new QVBoxLayout;
    text->setSpacing(6);
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(8);
    text->addWidget(summary);
    text->addWidget(copyright);
    text->addStretch(1);

    auto *top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(icon);
    top->addLayout(text, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(aboutQt);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 14);
    layout->setSpacing(16);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

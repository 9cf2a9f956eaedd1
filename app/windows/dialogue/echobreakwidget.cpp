#include "windows/dialogue/echobreakwidget.h"

#include "model/echosettings.h"
#include "windows/dialogue/echotextedit.h"

#include <dorvane/WdxWidgets.h>

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWidgetAction>

EchoBreakWidget::EchoBreakWidget(EchoTextEdit *edit, QWidget *parent)
    : QWidget(parent)
    , m_edit(edit)
{
    auto *group = new QGroupBox(tr("Echo Break Options"), this);
    auto *grid = new QGridLayout(group);

    auto *symbols = new QComboBox(group);
    symbols->setObjectName(QStringLiteral("cbxBreakChar"));
    symbols->addItems(echoBreakSymbols());
    symbols->setCurrentIndex(qMax(0, echoBreakSymbols().indexOf(edit->breakSymbol())));
    grid->addWidget(new QLabel(tr("Break symbole:"), group), 0, 0);
    grid->addWidget(symbols, 0, 1, 1, 2);

    m_colorLabel = new WdxColorBlockLabel(group);
    m_colorLabel->setObjectName(QStringLiteral("lblBreakColor"));
    m_colorLabel->setText(QStringLiteral("RGB(255,0,255)"));
    m_colorLabel->setCursor(Qt::PointingHandCursor);
    m_colorLabel->setToolTip(tr("Click to pick the colour of break lines"));
    grid->addWidget(new QLabel(tr("Color:"), group), 1, 0);
    grid->addWidget(m_colorLabel, 1, 1);

    auto *repeat = Wdx::createSpinBox(1, 80, qBound(1, edit->breakRepeat(), 80), -1, true, QString(), group);
    repeat->setObjectName(QStringLiteral("spinRepeatCount"));
    grid->addWidget(new QLabel(tr("Repeat count:"), group), 2, 0);
    grid->addWidget(repeat, 2, 1);

    auto *autoBreak = new QCheckBox(tr("Auto Insert"), group);
    autoBreak->setObjectName(QStringLiteral("chkAutoInsertBreak"));
    autoBreak->setChecked(edit->autoBreak());
    auto *interval
        = Wdx::createSpinBox(1, 256, qBound(1, edit->breakInterval(), 256), -1, true, QString(), group);
    interval->setObjectName(QStringLiteral("spinIntervalFrame"));
    grid->addWidget(autoBreak, 3, 0);
    grid->addWidget(interval, 3, 1);
    grid->addWidget(new QLabel(tr("Frames"), group), 3, 2);

    auto *reset = new QPushButton(tr("Reset Count"), group);
    reset->setObjectName(QStringLiteral("btnResetFrameCount"));
    grid->addWidget(reset, 4, 1, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(group);

    // The palette pops up at the pointer when the colour block is clicked.
    m_paletteMenu = new QMenu(this);
    m_palette = new WdxPaletteWidget(m_paletteMenu);
    m_palette->setObjectName(QStringLiteral("BreakColorPalette"));
    m_palette->setMsPaintPalette();
    m_palette->setBlockSize(QSize(25, 25));
    auto *holder = new QWidgetAction(m_paletteMenu);
    holder->setDefaultWidget(m_palette);
    m_paletteMenu->addAction(holder);
    const QColor current = edit->breakColor();
    if (m_palette->hasColor(current)) {
        m_palette->setCurrentColor(current);
        m_colorLabel->setColor(current);
    } else {
        m_colorLabel->setColor(m_palette->currentColor());
    }

    connect(symbols, &QComboBox::currentTextChanged, edit, [edit](const QString &text) {
        if (!text.isEmpty())
            edit->setBreakSymbol(text);
    });
    connect(repeat, QOverload<int>::of(&QSpinBox::valueChanged), edit, &EchoTextEdit::setBreakRepeat);
    connect(interval, QOverload<int>::of(&QSpinBox::valueChanged), edit, &EchoTextEdit::setBreakInterval);
    connect(autoBreak, &QCheckBox::toggled, edit, &EchoTextEdit::setAutoBreak);
    connect(reset, &QPushButton::clicked, edit, &EchoTextEdit::resetPacketCounter);
    connect(m_colorLabel, &WdxColorBlockLabel::clicked, this, &EchoBreakWidget::showPalette);
    connect(m_palette, &WdxPaletteWidget::currentColorChanged, this, [this](const QColor &color) {
        m_edit->setBreakColor(color);
        m_colorLabel->setColor(color);
        m_paletteMenu->close();
    });
}

void EchoBreakWidget::showPalette()
{
    m_paletteMenu->popup(QCursor::pos());
}

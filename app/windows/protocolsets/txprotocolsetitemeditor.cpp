#include "windows/protocolsets/txprotocolsetitemeditor.h"

#include "model/txprotocolset.h"

#include <dorvane/wdx.h>

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>

namespace {

const int kDefaultInterval = 1000;
const int kMinInterval = 1;
const int kMaxInterval = 60000;

QPushButton *iconButton(const QString &path, const QString &objectName, const QString &toolTip,
                        QWidget *parent)
{
    QPushButton *button = Wdx::createPushButton(QIcon(path), parent);
    button->setObjectName(objectName);
    button->setToolTip(toolTip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TxProtocolSetItemEditor::TxProtocolSetItemEditor(TxProtocolSetItem *item, const QFont &editorFont,
                                                 QWidget *parent)
    : QWidget(parent)
    , m_item(item)
{
    const QFileInfo file(item->path);
    m_directory = QDir::toNativeSeparators(file.absolutePath());

    m_number
        = Wdx::createLabel(QString(), QStringLiteral("NumberLabel"), Qt::AlignRight | Qt::AlignVCenter, this);
    m_number->setFont(editorFont);
    m_fileName = Wdx::createLabel(file.completeBaseName(), QStringLiteral("FileNameLabel"),
                                  Qt::AlignLeft | Qt::AlignVCenter, this);
    m_fileName->setMinimumWidth(120);
    m_fileName->setToolTip(QDir::toNativeSeparators(file.absoluteFilePath()));
    // The directory takes the room that is left and shortens in the middle.
    m_fileDir = Wdx::createLabel(m_directory, QStringLiteral("FileDirLabel"),
                                 Qt::AlignLeft | Qt::AlignVCenter, this);
    m_fileDir->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_fileDir->setMinimumWidth(60);
    m_fileDir->setToolTip(m_directory);
    m_fileDir->installEventFilter(this);

    m_valueCombo = new QComboBox(this);
    m_valueCombo->setObjectName(QStringLiteral("ValueIndexCombox"));
    for (int i = 1; i <= item->valueCount; ++i)
        m_valueCombo->addItem(QString::number(i));
    m_valueCombo->setCurrentIndex(
        item->valueIndex >= 0 && item->valueIndex < item->valueCount ? item->valueIndex : -1);

    m_edit = iconButton(QStringLiteral(":/Resources/explorer/edit.png"), QStringLiteral("EditButton"),
                        tr("Edit the protocol"), this);
    m_enable = iconButton(QStringLiteral(":/Resources/editor/enable.png"), QStringLiteral("EnableButton"),
                          tr("Enable or disable"), this);
    m_delete = iconButton(QStringLiteral(":/Resources/editor/delete.png"), QStringLiteral("DeleteButton"),
                          tr("Remove from the set"), this);
    m_moveUp = iconButton(QStringLiteral(":/Resources/editor/move-up.png"), QStringLiteral("MoveUpButton"),
                          tr("Move up"), this);
    m_moveDown = iconButton(QStringLiteral(":/Resources/editor/move-down.png"),
                            QStringLiteral("MoveDownButton"), tr("Move down"), this);

    m_interval
        = Wdx::createSpinBox(kMinInterval, kMaxInterval, kDefaultInterval, -1, true, tr(" (ms)"), this);
    m_interval->setObjectName(QStringLiteral("IntervalSpinBox"));
    // A stored period outside the box's range (an item never given one is 0)
    // would clamp to a flood of 1 ms frames: it falls back to the default.
    if (item->interval >= kMinInterval && item->interval <= kMaxInterval)
        m_interval->setValue(item->interval);
    item->interval = m_interval->value();

    m_periodSend
        = Wdx::createPushButton(tr("Period Send"), QStringLiteral("PeriodSendButton"), false, false, this);
    m_periodSend->setProperty("loopSend", false);
    // "Stop" while running is shorter: the row's columns keep their places.
    m_periodSend->setMinimumWidth(m_periodSend->sizeHint().width());
    m_send = Wdx::createPushButton(tr("Send"), QStringLiteral("SendButton"), false, false, this);

    m_number->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    m_fileName->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    QBoxLayout *layout
        = Wdx::layoutWidgets(Qt::Horizontal, this,
                             {m_number, m_fileName, m_fileDir, m_valueCombo, m_edit, m_enable, m_delete,
                              m_moveUp, m_moveDown, m_interval, m_periodSend, m_send},
                             QMargins(0, 0, 0, 0), 6);
    if (layout)
        layout->setStretchFactor(m_fileDir, 1);
    updateEnableIcon();

    // Every group of row controls starts hidden; the window shows the groups
    // of its checked edit modes.
    for (int mode = EnableMode; mode <= PeriodMode; ++mode)
        setEditMode(Mode(mode), false);

    connect(m_edit, &QPushButton::clicked, this, [this] { emit editRequested(this); });
    connect(m_enable, &QPushButton::clicked, this, [this] {
        m_item->enable = !m_item->enable;
        updateEnableIcon();
        emit enableToggled(this);
    });
    connect(m_delete, &QPushButton::clicked, this, [this] { emit deleteRequested(this); });
    connect(m_moveUp, &QPushButton::clicked, this, [this] { emit moveUpRequested(this); });
    connect(m_moveDown, &QPushButton::clicked, this, [this] { emit moveDownRequested(this); });
    connect(m_valueCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        m_item->valueIndex = index;
        emit valueIndexChanged(this);
    });
    connect(m_interval, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        m_item->interval = value;
        emit intervalChanged(this);
    });
    connect(m_send, &QPushButton::clicked, this, [this] { emit sendRequested(this); });
    connect(m_periodSend, &QPushButton::clicked, this, [this] { emit periodSendRequested(this); });
}

void TxProtocolSetItemEditor::setNumber(int number, int width)
{
    m_number->setText(QStringLiteral("%1").arg(number, width));
}

void TxProtocolSetItemEditor::setEditMode(Mode mode, bool on)
{
    switch (mode) {
    case EnableMode:
        m_enable->setVisible(on);
        break;
    case EditMode:
        m_edit->setVisible(on);
        break;
    case MoveMode:
        m_moveUp->setVisible(on);
        m_moveDown->setVisible(on);
        break;
    case DeletionMode:
        m_delete->setVisible(on);
        break;
    case ValueMode:
        m_valueCombo->setVisible(on);
        break;
    case PeriodMode:
        m_interval->setVisible(on);
        m_periodSend->setVisible(on);
        break;
    }
}

void TxProtocolSetItemEditor::setBuildFailed(bool failed)
{
    if (m_buildFailed == failed)
        return;
    m_buildFailed = failed;
    setProperty("buildFailed", failed);
    m_fileName->setStyleSheet(failed ? QStringLiteral("color: #c62828;") : QString());
    m_fileName->setToolTip(failed ? tr("%1\nThis protocol cannot be built into a frame.")
                                        .arg(QDir::toNativeSeparators(m_item->path))
                                  : QDir::toNativeSeparators(m_item->path));
}

void TxProtocolSetItemEditor::setLoopSend(bool running)
{
    m_periodSend->setText(running ? tr("Stop") : tr("Period Send"));
    m_periodSend->setProperty("loopSend", running);
    // The style sheet colours the button by the property: apply it again.
    m_periodSend->style()->unpolish(m_periodSend);
    m_periodSend->style()->polish(m_periodSend);
    m_periodSend->update();
}

void TxProtocolSetItemEditor::updateEnableIcon()
{
    const QString path = QStringLiteral(":/Resources/editor/enable.png");
    m_enable->setIcon(QIcon(
        m_item->enable ? path : QString(path).replace(QLatin1String("enable"), QLatin1String("disable"))));
    m_fileName->setEnabled(m_item->enable);
    m_fileDir->setEnabled(m_item->enable);
}

bool TxProtocolSetItemEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_fileDir && event->type() == QEvent::Resize)
        elideDirectory();
    return QWidget::eventFilter(watched, event);
}

void TxProtocolSetItemEditor::elideDirectory()
{
    m_fileDir->setText(m_fileDir->fontMetrics().elidedText(m_directory, Qt::ElideMiddle, m_fileDir->width()));
}

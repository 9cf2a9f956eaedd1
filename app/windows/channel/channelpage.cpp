#include "windows/channel/channelpage.h"

#include "shell/applicationoptions.h"
#include "shell/notices.h"
#include "windows/common/grouplabel.h"
#include "windows/common/timingbuttons.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

ChannelPage::ChannelPage(const char *settingsKey, ApplicationOptions &options, ChannelProxy &channel,
                         QWidget *parent)
    : QWidget(parent)
    , m_settingsKey(settingsKey)
    , m_options(options)
    , m_channel(channel)
{
}

ChannelPage::~ChannelPage() = default;

ChannelProxy *ChannelPage::channelProxy() const
{
    return &m_channel;
}

QVBoxLayout *ChannelPage::createBody()
{
    m_outer = new QVBoxLayout(this);
    m_outer->setContentsMargins(0, 0, 0, 0);
    m_outer->setSpacing(0);
    auto *area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("ChannelPage"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_body = new QWidget(area);
    area->setWidget(m_body);
    m_outer->addWidget(area, 1);
    auto *layout = new QVBoxLayout(m_body);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    return layout;
}

bool ChannelPage::eventFilter(QObject *watched, QEvent *event)
{
    // Ignored and passed on, the turn reaches the scroll area.
    if (event->type() == QEvent::Wheel) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && !widget->hasFocus()) {
            event->ignore();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ChannelPage::addTimingGroup(QVBoxLayout *layout)
{
    layout->addWidget(new GroupLabel(tr("Timing Strategy"), this));
    auto *timing = new QVBoxLayout;
    timing->setContentsMargins(2, 2, 0, 8);
    timing->setSpacing(2);
    m_timing = std::make_unique<TimingButtons>(this, timing);
    layout->addLayout(timing);
}

void ChannelPage::addControlButton(QVBoxLayout *layout, const char *objectName)
{
    m_control = new QPushButton(tr("Open"), this);
    m_control->setObjectName(QLatin1String(objectName));
    layout->addStretch(1);
    auto *foot = new QVBoxLayout;
    foot->setContentsMargins(6, 4, 6, 6);
    foot->addWidget(m_control);
    m_outer->addLayout(foot);

    const QList<QWidget *> boxes = m_body->findChildren<QWidget *>();
    for (QWidget *box : boxes) {
        if (qobject_cast<QComboBox *>(box) || qobject_cast<QAbstractSpinBox *>(box)) {
            box->setFocusPolicy(Qt::StrongFocus);
            box->installEventFilter(this);
        }
    }
}

YAML::Node ChannelPage::storedSettings() const
{
    return m_options.section(m_settingsKey);
}

void ChannelPage::storeSettings(const YAML::Node &section)
{
    m_options.setSection(m_settingsKey, section, true);
}

void ChannelPage::reportOpenFailure(const QString &message)
{
    warnChannelFailed(this, message);
    emit channelFailed(message);
}

void ChannelPage::reportEditsOf(const QList<QWidget *> &controls)
{
    const auto edited = [this] {
        if (!m_quietEdits)
            emit parametersEdited();
    };
    for (QWidget *control : controls) {
        if (auto *box = qobject_cast<QComboBox *>(control)) {
            connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this, edited);
            connect(box, &QComboBox::editTextChanged, this, edited);
        } else if (auto *spin = qobject_cast<QSpinBox *>(control)) {
            connect(spin, QOverload<int>::of(&QSpinBox::valueChanged), this, edited);
        } else if (auto *line = qobject_cast<QLineEdit *>(control)) {
            connect(line, &QLineEdit::textChanged, this, edited);
        } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
            connect(button, &QAbstractButton::toggled, this, edited);
        }
    }
    for (QRadioButton *button : {m_timing->coarse(), m_timing->precise(), m_timing->hires()})
        connect(button, &QAbstractButton::toggled, this, edited);
}

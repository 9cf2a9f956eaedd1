#include "channelpage.h"

#include "application.h"
#include "applicationoptions.h"
#include "grouplabel.h"
#include "notices.h"
#include "timingbuttons.h"

#include <QPushButton>
#include <QVBoxLayout>

ChannelPage::ChannelPage(const char *settingsKey, QWidget *parent)
    : QWidget(parent)
    , m_settingsKey(settingsKey)
{
}

ChannelPage::~ChannelPage() = default;

ChannelProxy *ChannelPage::channelProxy()
{
    Application *app = Application::instance();
    return app ? app->channelProxy() : nullptr;
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
    layout->addWidget(m_control);
    layout->addStretch(1);
}

YAML::Node ChannelPage::storedSettings() const
{
    Application *app = Application::instance();
    if (!app || !app->options())
        return YAML::Node(YAML::NodeType::Undefined);
    return app->options()->section(m_settingsKey);
}

void ChannelPage::storeSettings(const YAML::Node &section)
{
    Application *app = Application::instance();
    if (app && app->options())
        app->options()->setSection(m_settingsKey, section, true);
}

void ChannelPage::reportOpenFailure(const QString &message)
{
    warnChannelFailed(this, message);
    emit channelFailed(message);
}

#pragma once

#include <QWidget>

#include <dorvane/app_export.h>

#include <yaml-cpp/yaml.h>

#include <memory>

class ApplicationOptions;
class ChannelProxy;
class QPushButton;
class QVBoxLayout;
class TimingButtons;

// What the serial and the network parameter pages have in common: the
// timing choice, the open/close button, the look that follows the one
// channel, the report of a channel that does not open and the settings
// section that keeps the parameters of the last channel opened.
class DORVANE_APP_EXPORT ChannelPage : public QWidget
{
    Q_OBJECT

public:
    ~ChannelPage() override;

    bool hasOpenLook() const { return m_openLook; }

signals:
    void channelOpenStateChanged(bool isOpen);
    // A channel that could not be opened, with the reason.
    void channelFailed(const QString &message);
    // The user changed a parameter: what was said about the last channel
    // no longer applies.
    void parametersEdited();
    // The open channel ended by itself, in normal operation (a peer that
    // closed its connection), with what happened.
    void channelEnded(const QString &note);

protected:
    ChannelPage(const char *settingsKey, ApplicationOptions &options, ChannelProxy &channel, QWidget *parent);

    // The application's channel proxy; none outside a running application.
    ChannelProxy *channelProxy() const;

    // The layout the page's controls go in: it scrolls when the dock is
    // shorter than they are, while the control button below it stays in
    // view. Wheel turns over a box that has no focus scroll the page instead
    // of changing the box.
    QVBoxLayout *createBody();

    // The "Timing Strategy" group, then (in a second step, so that a page
    // can put its own group between) the control button at the page's foot.
    void addTimingGroup(QVBoxLayout *layout);
    void addControlButton(QVBoxLayout *layout, const char *objectName);

    // The stored section, undefined when there is none.
    YAML::Node storedSettings() const;
    // Replaces the stored section and writes the settings file.
    void storeSettings(const YAML::Node &section);

    // A warning box and the channelFailed signal.
    void reportOpenFailure(const QString &message);

    // Emits parametersEdited whenever one of these controls (combo boxes,
    // spin boxes, line edits, the timing buttons) changes, except while
    // m_quietEdits is set.
    void reportEditsOf(const QList<QWidget *> &controls);

    bool eventFilter(QObject *watched, QEvent *event) override;
    bool m_quietEdits = false;

    std::unique_ptr<TimingButtons> m_timing;
    QPushButton *m_control = nullptr;
    bool m_openLook = false;

private:
    QVBoxLayout *m_outer = nullptr;
    QWidget *m_body = nullptr;
    const char *m_settingsKey;
    ApplicationOptions &m_options;
    ChannelProxy &m_channel;
};

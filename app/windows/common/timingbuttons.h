#pragma once

#include <dorvane/channelparams.h>

class QRadioButton;
class QVBoxLayout;
class QWidget;

// The three timing-strategy choices that both channel parameter widgets
// offer, "Precise timer" checked at start.
class TimingButtons
{
public:
    // Creates the buttons as children of parent and puts them in layout.
    TimingButtons(QWidget *parent, QVBoxLayout *layout);

    // The checked strategy; precise when none is checked.
    TimingStrategy strategy() const;
    void setEnabled(bool on);

    QRadioButton *coarse() const { return m_coarse; }
    QRadioButton *precise() const { return m_precise; }
    QRadioButton *hires() const { return m_hires; }

private:
    QRadioButton *m_coarse;
    QRadioButton *m_precise;
    QRadioButton *m_hires;
};

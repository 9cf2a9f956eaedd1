#pragma once

#include <dorvane/wdxwidgets_export.h>

class QWidget;

// What a blinker does to its widget. Count starts at 1; phase alternates 0 and 1 within a count.
class WDXWIDGETS_EXPORT WdxBlinkPolicy
{
public:
    virtual ~WdxBlinkPolicy();
    virtual void onBlinkStart(QWidget *widget, int count);
    virtual void onBlink(QWidget *widget, int count, int phase);
    virtual void onBlinkFinish(QWidget *widget, int count);
};

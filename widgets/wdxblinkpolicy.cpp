#include <dorvane/wdxblinkpolicy.h>

WdxBlinkPolicy::~WdxBlinkPolicy() = default;

void WdxBlinkPolicy::onBlinkStart(QWidget *, int)
{
}

void WdxBlinkPolicy::onBlink(QWidget *, int, int)
{
}

void WdxBlinkPolicy::onBlinkFinish(QWidget *, int)
{
}

#include <dorvane/wdxwaitcursor.h>

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

WdxWaitCursor::WdxWaitCursor(QObject *parent)
    : WdxWaitCursor(0, parent)
{
}

WdxWaitCursor::WdxWaitCursor(int ms, QObject *parent)
    : QObject(parent)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    if (ms > 0)
        QTimer::singleShot(ms, this, &WdxWaitCursor::end);
}

WdxWaitCursor::~WdxWaitCursor()
{
    end();
}

void WdxWaitCursor::end()
{
    if (m_ended)
        return;
    m_ended = true;
    QGuiApplication::restoreOverrideCursor();
}

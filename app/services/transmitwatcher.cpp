#include "services/transmitwatcher.h"

#include "shell/application.h"
#include "services/bytecounterdisplay.h"
#include "windows/dialogue/dialoguewindow.h"
#include "shell/mainwindow.h"

#include <dorvane/Channel.h>

TransmitWatcher::TransmitWatcher(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_display(new ByteCounterDisplay(
          [](quint32 count) {
              if (Application::instance() && Application::instance()->mainWindow())
                  Application::instance()->mainWindow()->setTxCount(count);
          },
          this))
{
    connect(m_proxy, &ChannelProxy::bytesWritten, this, &TransmitWatcher::bytesWritten);
}

TransmitWatcher::~TransmitWatcher()
{
    disconnect(m_proxy, nullptr, this, nullptr);
}

void TransmitWatcher::resetTotal()
{
    m_total = 0;
    m_display->showNow(0);
}

void TransmitWatcher::bytesWritten(const QDateTime &time, const QByteArray &data)
{
    m_total += quint64(data.size());
    m_display->changed(m_total);
    MainWindow *window = Application::instance() ? Application::instance()->mainWindow() : nullptr;
    if (window)
        window->dialogueWindow()->echoTransmitted(time, data);
}

#include "services/receivewatcher.h"

#include "shell/application.h"
#include "services/bytecounterdisplay.h"
#include "windows/dialogue/dialoguewindow.h"
#include "shell/mainwindow.h"
#include "services/rxframewatcher.h"

#include <dorvane/Channel.h>

ReceiveWatcher::ReceiveWatcher(ChannelProxy *proxy, QObject *parent)
    : QObject(parent)
    , m_proxy(proxy)
    , m_display(new ByteCounterDisplay(
          [](quint32 count) {
              if (Application::instance() && Application::instance()->mainWindow())
                  Application::instance()->mainWindow()->setRxCount(count);
          },
          this))
{
    connect(m_proxy, &ChannelProxy::bytesArrived, this, &ReceiveWatcher::bytesArrived);
}

ReceiveWatcher::~ReceiveWatcher()
{
    disconnect(m_proxy, nullptr, this, nullptr);
}

void ReceiveWatcher::resetTotal()
{
    m_total = 0;
    m_display->showNow(0);
}

void ReceiveWatcher::bytesArrived(const QDateTime &time, const QByteArray &data)
{
    m_total += quint64(data.size());
    m_display->changed(m_total);
    Application *app = Application::instance();
    if (!app)
        return;
    if (MainWindow *window = app->mainWindow())
        window->dialogueWindow()->echoReceived(data, time);
    if (RxFrameWatcher *frames = app->frameWatcher())
        frames->inputData(data);
}

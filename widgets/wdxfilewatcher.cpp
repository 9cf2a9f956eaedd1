#include <dorvane/wdxfilewatcher.h>

#include <QFileInfo>
#include <QFileSystemWatcher>

WdxFileWatcher::WdxFileWatcher(QObject *parent)
    : QObject(parent)
    , m_watcher(new QFileSystemWatcher(this))
{
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &WdxFileWatcher::fileChanged);
}

QString WdxFileWatcher::watchedPath(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
#ifdef Q_OS_WIN
    return absolute.toLower();
#else
    // Case matters here: a lower-cased path names another file, or none.
    return absolute;
#endif
}

bool WdxFileWatcher::addFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    return m_watcher->addPath(watchedPath(path));
}

bool WdxFileWatcher::removeFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    return m_watcher->removePath(watchedPath(path));
}

QStringList WdxFileWatcher::files() const
{
    return m_watcher->files();
}

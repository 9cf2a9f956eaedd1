#pragma once

#include <QObject>
#include <QStringList>

#include <dorvane/wdxwidgets_export.h>

class QFileSystemWatcher;

// Watches files for changes by absolute path.
class WDXWIDGETS_EXPORT WdxFileWatcher : public QObject
{
    Q_OBJECT

public:
    explicit WdxFileWatcher(QObject *parent = nullptr);

    // False for a file that does not exist or cannot be watched. On case-insensitive file systems
    // (Windows) the path is kept in lower case.
    bool addFile(const QString &path);
    bool removeFile(const QString &path);
    QStringList files() const;

    // The form in which a path is watched and reported.
    static QString watchedPath(const QString &path);

signals:
    void fileChanged(const QString &path);

private:
    QFileSystemWatcher *m_watcher;
};

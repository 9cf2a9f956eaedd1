#pragma once

#include <QObject>

#include <dorvane/wdxwidgets_export.h>

// Shows the wait cursor for the lifetime of the object, or until the given
// number of milliseconds has passed, whichever comes first. The override
// cursor is restored exactly once.
class WDXWIDGETS_EXPORT WdxWaitCursor : public QObject
{
    Q_OBJECT

public:
    explicit WdxWaitCursor(QObject *parent = nullptr);
    WdxWaitCursor(int ms, QObject *parent = nullptr);
    ~WdxWaitCursor() override;

    bool isEnded() const { return m_ended; }

public slots:
    void end();

private:
    bool m_ended = false;
};

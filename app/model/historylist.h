#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <dorvane/app_export.h>

// One text sent from the transmit window.
struct HistoryRecord
{
    QString fireTime; // "yyyy-MM-dd HH:mm:ss.zzz", local time
    QString content;
    int textMode = 0; // 0 hex, 1 text
};

// The most recent sent texts, newest first, at most capacity() of them. A
// text sent again right after itself only refreshes the newest record.
class DORVANE_APP_EXPORT HistoryList : public QObject
{
    Q_OBJECT

public:
    explicit HistoryList(QObject *parent = nullptr);
    ~HistoryList() override;

    int capacity() const { return m_capacity; }
    int count() const { return m_records.size(); }
    bool isEmpty() const { return m_records.isEmpty(); }
    HistoryRecord *at(int index) const { return m_records.value(index); }
    int indexOf(const HistoryRecord *record) const;

    // The record that now holds the content: the newest one with a new fire
    // time when its content is the same, otherwise a new record at index 0
    // (the oldest records beyond the capacity go).
    HistoryRecord *add(const QString &fireTime, const QString &content, int textMode);
    // Removes and destroys the record; false when it is not in the list.
    bool remove(HistoryRecord *record);
    void clear();

    // Replaces the list with the file's first capacity() entries; false,
    // leaving the list empty, for a file that is not a history file.
    bool load(const QString &path);
    // Replaces the file atomically; false with the reason when it failed,
    // the previous file then stays as it was.
    bool save(const QString &path, QString *reason = nullptr) const;

signals:
    void tailItemsRemoved(int count);

private:
    QList<HistoryRecord *> m_records;
    int m_capacity = 50;
};

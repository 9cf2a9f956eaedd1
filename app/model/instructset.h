#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <dorvane/app_export.h>

// A ready-made transmit text with a title and the delay the batch send
// waits after it.
struct InstructItem
{
    QString title;
    QString content;
    int textMode = 0;    // 0 hex, 1 text
    int interval = 1000; // milliseconds
};

// The instructs of one instruct-set file, in order.
class DORVANE_APP_EXPORT InstructSet : public QObject
{
    Q_OBJECT

public:
    // The delays a set keeps, in milliseconds; a file's other values are
    // brought into this range.
    static constexpr int MinInterval = 1;
    static constexpr int MaxInterval = 60000;
    // More instructs than anyone keeps by hand: such a file is refused
    // rather than filling the window with rows.
    static constexpr int MaxItems = 1000;

    explicit InstructSet(QObject *parent = nullptr);
    ~InstructSet() override;

    void clear();
    // A new item with an empty title and a delay of 1000 ms.
    InstructItem *append(const QString &content, int textMode);
    int indexOf(const InstructItem *item) const;
    int count() const { return m_items.size(); }
    InstructItem *at(int index) const { return m_items.value(index); }
    bool isEmpty() const { return m_items.isEmpty(); }
    // Removes and destroys the item; false when it is not in the set.
    bool remove(InstructItem *item);
    void swap(int first, int second);

    // Replaces the items with the file's entries that have a content. False,
    // leaving the set as it was, when the file is not an instruct-set file
    // or holds more than MaxItems entries.
    bool load(const QString &path);
    // Replaces the file atomically; false with the reason when it failed,
    // the previous file then stays as it was.
    bool save(const QString &path, QString *reason = nullptr) const;

private:
    QList<InstructItem *> m_items;
};

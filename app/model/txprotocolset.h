#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <dorvane/app_export.h>

#include <memory>
#include <vector>

class Context;
class TxProtocol;

// One protocol file of a set, loaded, with the value column to send and the
// row's period settings.
struct DORVANE_APP_EXPORT TxProtocolSetItem
{
    TxProtocolSetItem();
    ~TxProtocolSetItem();

    QString path;
    std::unique_ptr<TxProtocol> protocol;
    // Value columns of the protocol when it was loaded.
    int valueCount = 0;
    // The column to send; -1 when the protocol has none.
    int valueIndex = -1;
    // Milliseconds between frames when the item's row sends periodically.
    int interval = 1000;
    bool enable = true;
};

// An ordered list of protocol files sent in turn, and its ".dvpts" file.
class DORVANE_APP_EXPORT TxProtocolSet : public QObject
{
    Q_OBJECT

public:
    // No set holds more items: a longer file list is refused, not half read.
    static constexpr int MaxItems = 1000;
    // Set files are read whole; anything larger is not a set.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

    // Protocols load with the context's types and generators.
    explicit TxProtocolSet(Context *context, QObject *parent = nullptr);
    ~TxProtocolSet() override;

    void clear();
    // Loads the protocol file and inserts it before index (appends when the
    // index is outside the list). Null, and nothing inserted, when the file
    // is not a readable protocol or the set is full.
    TxProtocolSetItem *insertItem(const QString &path, int index);
    bool removeItem(int index);
    bool swapItems(int first, int second);
    int itemCount() const { return int(m_items.size()); }
    // Null for an index outside the list.
    TxProtocolSetItem *itemAt(int index) const;
    bool isEmpty() const { return m_items.empty(); }

    // Replaces the items with those of a set file. False, with the reason in
    // errorString(), when the file is not a readable set; entries whose
    // protocol does not load are skipped and listed in skippedPaths().
    bool Load(const QString &path);
    // Writes the set file atomically: false, with the reason in
    // errorString() and any old file untouched, when it cannot be written.
    bool Save(const QString &path);

    QString errorString() const { return m_error; }
    QStringList skippedPaths() const { return m_skipped; }

private:
    bool fail(const QString &reason);

    Context *m_context;
    std::vector<std::unique_ptr<TxProtocolSetItem>> m_items;
    QString m_error;
    QStringList m_skipped;
};

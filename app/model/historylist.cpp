#include "model/historylist.h"

#include "model/itemdocument.h"
#include "model/settingsvalues.h"

#include <QCryptographicHash>

namespace {

const char kFormatTitle[] = "dorvane history file";
const char kListKey[] = "instructList";

QByteArray digest(const QString &content)
{
    return QCryptographicHash::hash(content.toLocal8Bit(), QCryptographicHash::Md5);
}

} // namespace

HistoryList::HistoryList(QObject *parent)
    : QObject(parent)
{
}

HistoryList::~HistoryList()
{
    qDeleteAll(m_records);
}

int HistoryList::indexOf(const HistoryRecord *record) const
{
    return m_records.indexOf(const_cast<HistoryRecord *>(record));
}

HistoryRecord *HistoryList::add(const QString &fireTime, const QString &content, int textMode)
{
    if (!m_records.isEmpty() && digest(m_records.first()->content) == digest(content)) {
        m_records.first()->fireTime = fireTime;
        return m_records.first();
    }
    auto *record = new HistoryRecord{fireTime, content, textMode};
    m_records.prepend(record);
    int removed = 0;
    while (m_records.size() > m_capacity) {
        delete m_records.takeLast();
        ++removed;
    }
    if (removed > 0)
        emit tailItemsRemoved(removed);
    return record;
}

bool HistoryList::remove(HistoryRecord *record)
{
    if (!m_records.removeOne(record))
        return false;
    delete record;
    return true;
}

void HistoryList::clear()
{
    qDeleteAll(m_records);
    m_records.clear();
}

bool HistoryList::load(const QString &path)
{
    clear();
    std::vector<ItemEntry> entries;
    // Reading stops after the first capacity() entries.
    if (!readItemDocument(path, kFormatTitle, kListKey, m_capacity, entries, nullptr))
        return false;
    for (const ItemEntry &entry : entries) {
        if (!entry.isMap)
            continue;
        auto *record = new HistoryRecord;
        entry.text("fireTime", &record->fireTime);
        entry.text("content", &record->content);
        record->textMode = entry.textMode("textMode");
        m_records.append(record);
    }
    return true;
}

bool HistoryList::save(const QString &path, QString *reason) const
{
    YAML::Node items(YAML::NodeType::Sequence);
    for (const HistoryRecord *record : m_records) {
        YAML::Node item(YAML::NodeType::Map);
        item["fireTime"] = toSettingsText(record->fireTime);
        item["content"] = toSettingsText(record->content);
        item["textMode"] = textModeName(record->textMode).toStdString();
        items.push_back(item);
    }
    return writeItemDocument(path, kFormatTitle, kListKey, items, reason);
}

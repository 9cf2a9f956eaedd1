#include "model/instructset.h"

#include "model/itemdocument.h"
#include "model/settingsvalues.h"

#include <memory>
#include <vector>

namespace {

const char kFormatTitle[] = "dorvane instruct-set file";
const char kListKey[] = "instructs";

} // namespace

InstructSet::InstructSet(QObject *parent)
    : QObject(parent)
{
}

InstructSet::~InstructSet()
{
    qDeleteAll(m_items);
}

void InstructSet::clear()
{
    qDeleteAll(m_items);
    m_items.clear();
}

InstructItem *InstructSet::append(const QString &content, int textMode)
{
    auto *item = new InstructItem;
    item->content = content;
    item->textMode = textMode;
    m_items.append(item);
    return item;
}

int InstructSet::indexOf(const InstructItem *item) const
{
    return m_items.indexOf(const_cast<InstructItem *>(item));
}

bool InstructSet::remove(InstructItem *item)
{
    if (!m_items.removeOne(item))
        return false;
    delete item;
    return true;
}

void InstructSet::swap(int first, int second)
{
    if (first >= 0 && second >= 0 && first < m_items.size() && second < m_items.size())
        m_items.swapItemsAt(first, second);
}

bool InstructSet::load(const QString &path)
{
    std::vector<ItemEntry> entries;
    bool more = false;
    if (!readItemDocument(path, kFormatTitle, kListKey, MaxItems, entries, &more) || more)
        return false;
    clear();
    for (const ItemEntry &entry : entries) {
        auto item = std::make_unique<InstructItem>();
        if (!entry.isMap || !entry.text("content", &item->content))
            continue;
        entry.text("title", &item->title);
        item->textMode = entry.textMode("textMode");
        item->interval = entry.boundedInt("interval", MinInterval, MaxInterval, 1000);
        m_items.append(item.release());
    }
    return true;
}

bool InstructSet::save(const QString &path, QString *reason) const
{
    YAML::Node items(YAML::NodeType::Sequence);
    for (const InstructItem *instruct : m_items) {
        YAML::Node item(YAML::NodeType::Map);
        item["title"] = toSettingsText(instruct->title);
        item["content"] = toSettingsText(instruct->content);
        item["textMode"] = textModeName(instruct->textMode).toStdString();
        item["interval"] = instruct->interval;
        items.push_back(item);
    }
    return writeItemDocument(path, kFormatTitle, kListKey, items, reason);
}

#include "instructset.h"

#include "itemrows.h"
#include "settingsvalues.h"

#include <memory>
#include <vector>

namespace {

const char kFormatTitle[] = "dorvane instruct-set file";
const char kListKey[] = "instructs";

int intervalOf(const YAML::Node &item)
{
    const YAML::Node value = item["interval"];
    if (!value.IsDefined() || !value.IsScalar())
        return 1000;
    // Read wide so that huge values are clamped instead of failing.
    double interval = 0;
    if (!YAML::convert<double>::decode(value, interval) || interval != interval)
        return 1000;
    return int(qBound<double>(InstructSet::MinInterval, interval, InstructSet::MaxInterval));
}

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
    YAML::Node items;
    if (!readItemDocument(path, kFormatTitle, kListKey, items) || items.size() > size_t(MaxItems))
        return false;
    std::vector<std::unique_ptr<InstructItem>> loaded;
    try {
        for (const YAML::Node &entry : items) {
            auto item = std::make_unique<InstructItem>();
            if (!entry.IsMap() || !readItemText(entry, "content", &item->content))
                continue;
            readItemText(entry, "title", &item->title);
            item->textMode = textModeFromNode(entry, "textMode");
            item->interval = intervalOf(entry);
            loaded.push_back(std::move(item));
        }
    } catch (const std::exception &) {
        return false;
    }
    clear();
    for (auto &item : loaded)
        m_items.append(item.release());
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

#include "model/txprotocolset.h"

#include "model/yamldocument.h"

#include <dorvane/txprotocol.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <new>
#include <sstream>

namespace {

const char *const kTitle = "dorvane protocol-set file";

bool hasKey(const YAML::Node &map, const char *key)
{
    const YAML::Node entry = map[key];
    return entry.IsDefined();
}

// Protocols are read only from regular files: a FIFO or a device would block
// the reader, a directory is never a protocol.
bool isReadableFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

// Counts the nodes of the first document and gives up past a limit, before
// a node tree is built: a huge list costs a scan, not seconds of building.
class NodeCounter : public YAML::EventHandler
{
public:
    explicit NodeCounter(long limit)
        : m_left(limit)
    {
    }
    bool exceeded() const { return m_left < 0; }

    void OnDocumentStart(const YAML::Mark &) override {}
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark &mark, YAML::anchor_t) override { count(mark); }
    void OnAlias(const YAML::Mark &mark, YAML::anchor_t) override { count(mark); }
    void OnScalar(const YAML::Mark &mark, const std::string &, YAML::anchor_t, const std::string &) override
    {
        count(mark);
    }
    void OnSequenceStart(const YAML::Mark &mark, const std::string &, YAML::anchor_t,
                         YAML::EmitterStyle::value) override
    {
        count(mark);
    }
    void OnSequenceEnd() override {}
    void OnMapStart(const YAML::Mark &mark, const std::string &, YAML::anchor_t,
                    YAML::EmitterStyle::value) override
    {
        count(mark);
    }
    void OnMapEnd() override {}

private:
    struct TooMany
    {
    };
    void count(const YAML::Mark &)
    {
        if (--m_left < 0)
            throw TooMany();
    }
    long m_left;

public:
    // True when the document holds no more nodes than the limit.
    static bool fits(const std::string &text, long limit)
    {
        std::istringstream in(text);
        YAML::Parser parser(in);
        NodeCounter counter(limit);
        try {
            parser.HandleNextDocument(counter);
        } catch (const TooMany &) {
            return false;
        }
        return true;
    }
};

// Room for every item with all its keys, and then some.
const long kMaxNodes = 16L * TxProtocolSet::MaxItems + 64;

} // namespace

TxProtocolSetItem::TxProtocolSetItem() = default;
TxProtocolSetItem::~TxProtocolSetItem() = default;

TxProtocolSet::TxProtocolSet(Context *context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
}

TxProtocolSet::~TxProtocolSet() = default;

void TxProtocolSet::clear()
{
    m_items.clear();
}

TxProtocolSetItem *TxProtocolSet::insertItem(const QString &path, int index)
{
    if (!m_context || itemCount() >= MaxItems || !isReadableFile(path))
        return nullptr;
    auto protocol = std::make_unique<TxProtocol>();
    if (!protocol->Load(QFile::encodeName(path).toStdString(), m_context))
        return nullptr;
    auto item = std::make_unique<TxProtocolSetItem>();
    item->path = path;
    item->valueCount = protocol->GetValueCountPerField();
    item->valueIndex = item->valueCount > 0 ? 0 : -1;
    item->protocol = std::move(protocol);
    if (index < 0 || index > itemCount())
        index = itemCount();
    TxProtocolSetItem *inserted = item.get();
    m_items.insert(m_items.begin() + index, std::move(item));
    return inserted;
}

bool TxProtocolSet::removeItem(int index)
{
    if (index < 0 || index >= itemCount())
        return false;
    m_items.erase(m_items.begin() + index);
    return true;
}

bool TxProtocolSet::swapItems(int first, int second)
{
    if (first < 0 || first >= itemCount() || second < 0 || second >= itemCount())
        return false;
    std::swap(m_items[size_t(first)], m_items[size_t(second)]);
    return true;
}

TxProtocolSetItem *TxProtocolSet::itemAt(int index) const
{
    if (index < 0 || index >= itemCount())
        return nullptr;
    return m_items[size_t(index)].get();
}

bool TxProtocolSet::fail(const QString &reason)
{
    m_error = reason;
    return false;
}

bool TxProtocolSet::Load(const QString &path)
{
    m_error.clear();
    m_skipped.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return fail(tr("The file does not exist."));
    if (!isReadableFile(path))
        return fail(tr("It is not a regular file."));
    if (info.size() > MaxFileSize)
        return fail(tr("The file is too large for a protocol set."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    // Sized by the file, not by the limit: a buffer of the limit would be
    // allocated for every small set.
    const QByteArray text = file.read(qMin(info.size(), MaxFileSize) + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (text.size() > MaxFileSize)
        return fail(tr("The file is too large for a protocol set."));

    struct Entry
    {
        QString path;
        int valueIndex = 0;
        bool hasValueIndex = false;
        int interval = 0;
        bool hasInterval = false;
        bool enable = true;
    };
    std::vector<Entry> entries;
    try {
        const std::string document = text.toStdString();
        if (!NodeCounter::fits(document, kMaxNodes))
            return fail(tr("The set lists more than %1 files.").arg(MaxItems));
        const YAML::Node root = YAML::Load(document);
        if (!hasDocumentHeader(root, kTitle) || !hasKey(root, "fileList"))
            return fail(tr("It is not a protocol-set file."));
        const YAML::Node list = root["fileList"];
        if (list.IsSequence()) {
            if (list.size() > size_t(MaxItems))
                return fail(tr("The set lists more than %1 files.").arg(MaxItems));
            const QDir setDir = info.absoluteDir();
            for (const YAML::Node &node : list) {
                if (!node.IsMap())
                    continue;
                const YAML::Node pathNode = node["path"];
                if (!pathNode.IsDefined() || pathNode.IsNull())
                    continue;
                Entry entry;
                // Paths are written absolute; one written by hand may be
                // relative to the set file.
                entry.path = QDir::cleanPath(setDir.absoluteFilePath(
                    QString::fromLocal8Bit(QByteArray::fromStdString(pathNode.as<std::string>()))));
                if (hasKey(node, "valueIndex")) {
                    entry.valueIndex = node["valueIndex"].as<int>();
                    entry.hasValueIndex = true;
                }
                if (hasKey(node, "enable"))
                    entry.enable = node["enable"].as<bool>();
                if (hasKey(node, "interval")) {
                    entry.interval = node["interval"].as<int>();
                    entry.hasInterval = true;
                }
                entries.push_back(entry);
            }
        }
    } catch (const YAML::Exception &error) {
        return fail(tr("It is not a valid protocol-set file (%1).").arg(QString::fromStdString(error.msg)));
    } catch (const std::bad_alloc &) {
        return fail(tr("The file is too large for a protocol set."));
    }

    clear();
    for (const Entry &entry : entries) {
        TxProtocolSetItem *item = insertItem(entry.path, itemCount());
        if (!item) {
            m_skipped << entry.path;
            continue;
        }
        if (entry.hasValueIndex)
            item->valueIndex = entry.valueIndex;
        if (entry.hasInterval)
            item->interval = entry.interval;
        item->enable = entry.enable;
    }
    return true;
}

bool TxProtocolSet::Save(const QString &path)
{
    m_error.clear();
    YAML::Node root = newYamlDocument(kTitle);
    YAML::Node list(YAML::NodeType::Sequence);
    for (const auto &item : m_items) {
        YAML::Node entry(YAML::NodeType::Map);
        entry["path"] = item->path.toLocal8Bit().toStdString();
        entry["valueIndex"] = item->valueIndex;
        entry["enable"] = item->enable;
        entry["interval"] = item->interval;
        list.push_back(entry);
    }
    root["fileList"] = list;
    QString reason;
    if (!writeYamlDocument(path, root, &reason))
        return fail(reason);
    return true;
}

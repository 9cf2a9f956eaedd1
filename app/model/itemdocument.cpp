#include "model/itemdocument.h"

#include "model/yamldocument.h"

#include <yaml-cpp/eventhandler.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sstream>
#include <string>

namespace {

// Our documents hold at most a few hundred short texts; anything this large
// is not one of them, and reading it would only stall the window.
const qint64 kMaxDocumentSize = 16 * 1024 * 1024;

// Collects an item document from the parser's events, without building the
// whole node tree: the header's scalars, and for each entry of the list the
// scalar values of its map. It stops the parser (by throwing Enough) at the
// first entry beyond the ones wanted.
class ItemListReader : public YAML::EventHandler
{
public:
    struct Enough
    {
    };

    ItemListReader(const char *listKey, int maxEntries)
        : m_listKey(listKey)
        , m_maxEntries(maxEntries)
    {
    }

    bool isDocument() const { return m_rootIsMap && m_listFound && m_listIsSequence; }
    bool hasHeader(const char *title) const { return m_header.isOf(title); }
    bool hasMoreEntries() const { return m_more; }
    std::vector<ItemEntry> takeEntries() { return std::move(m_entries); }

    void OnDocumentStart(const YAML::Mark &) override {}
    void OnDocumentEnd() override {}
    void OnNull(const YAML::Mark &, YAML::anchor_t) override { value(nullptr, false); }
    void OnAlias(const YAML::Mark &, YAML::anchor_t) override { value(nullptr, true); }
    void OnScalar(const YAML::Mark &, const std::string &, YAML::anchor_t, const std::string &text) override
    {
        value(&text, true);
    }
    void OnSequenceStart(const YAML::Mark &, const std::string &, YAML::anchor_t,
                         YAML::EmitterStyle::value) override
    {
        open(false);
    }
    void OnSequenceEnd() override { close(); }
    void OnMapStart(const YAML::Mark &, const std::string &, YAML::anchor_t,
                    YAML::EmitterStyle::value) override
    {
        open(true);
    }
    void OnMapEnd() override { close(); }

private:
    // Where the parser stands: in the root map, in the list, in one entry's
    // map, or inside something no one reads.
    enum Place { Root, List, Entry, Skipped };
    struct Frame
    {
        Frame(Place place, bool isMap)
            : place(place)
            , isMap(isMap)
        {
        }
        Place place;
        bool isMap;
        bool atKey = true;
        std::string key;
        bool keyUsable = true;
    };

    // A scalar, a null (text is null) or an alias (a value, but not a text).
    void value(const std::string *text, bool defined)
    {
        if (m_frames.empty()) {
            m_done = true; // a root that is not a map
            return;
        }
        Frame &frame = m_frames.back();
        if (frame.place == List) {
            startEntry(false);
            return;
        }
        if (!frame.isMap || frame.place == Skipped)
            return;
        if (frame.atKey) {
            frame.key = text ? *text : std::string();
            frame.keyUsable = text != nullptr;
            frame.atKey = false;
            return;
        }
        frame.atKey = true;
        if (!frame.keyUsable)
            return;
        if (frame.place == Root) {
            rootValue(frame.key, text, defined, false, false);
        } else if (frame.place == Entry && text) {
            m_entries.back().values.emplace(frame.key, *text);
        }
    }

    void open(bool isMap)
    {
        if (m_frames.empty()) {
            if (m_done)
                return;
            m_rootIsMap = isMap;
            m_frames.emplace_back(isMap ? Root : Skipped, isMap);
            m_done = true;
            return;
        }
        Frame &frame = m_frames.back();
        Place place = Skipped;
        if (frame.place == List) {
            startEntry(isMap);
            place = isMap ? Entry : Skipped;
        } else if (frame.isMap && frame.atKey) {
            // A map or a list as a key: its value is read by no one.
            frame.atKey = false;
            frame.keyUsable = false;
        } else if (frame.isMap) {
            frame.atKey = true;
            if (frame.place == Root && frame.keyUsable && rootValue(frame.key, nullptr, true, true, !isMap))
                place = List;
        }
        m_frames.emplace_back(place, isMap);
    }

    void close()
    {
        if (!m_frames.empty())
            m_frames.pop_back();
    }

    // True when the value is the list to read.
    bool rootValue(const std::string &key, const std::string *text, bool defined, bool container,
                   bool sequence)
    {
        if (key == "fileFormat" && !m_header.hasFormat) {
            m_header.hasFormat = true;
            m_header.formatIsScalar = text != nullptr;
            if (text)
                m_header.format = *text;
        } else if (key == "fileVersion") {
            m_header.hasVersion = true;
        } else if (key == m_listKey && !m_listFound) {
            m_listFound = true;
            // A null list is an empty one.
            m_listIsSequence = (container && sequence) || (!container && !text && !defined);
            return m_listIsSequence && container;
        }
        return false;
    }

    void startEntry(bool isMap)
    {
        if (int(m_entries.size()) >= m_maxEntries) {
            m_more = true;
            throw Enough();
        }
        ItemEntry entry;
        entry.isMap = isMap;
        m_entries.push_back(std::move(entry));
    }

    const std::string m_listKey;
    const int m_maxEntries;
    std::vector<Frame> m_frames;
    std::vector<ItemEntry> m_entries;
    bool m_done = false;
    bool m_rootIsMap = false;
    bool m_listFound = false;
    bool m_listIsSequence = false;
    bool m_more = false;
    DocumentHeader m_header;
};

} // namespace

QString textModeName(int textMode)
{
    return textMode == 1 ? QStringLiteral("Text") : QStringLiteral("Hex");
}

bool ItemEntry::text(const char *key, QString *text) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return false;
    *text = QString::fromLocal8Bit(found->second.data(), int(found->second.size()));
    return true;
}

int ItemEntry::textMode(const char *key) const
{
    const auto found = values.find(key);
    return found != values.end() && found->second == "Text" ? 1 : 0;
}

int ItemEntry::boundedInt(const char *key, int minimum, int maximum, int fallback) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return fallback;
    // Read wide, so that a huge value is brought into range instead of lost.
    double number = 0;
    if (!YAML::convert<double>::decode(YAML::Node(found->second), number) || number != number)
        return fallback;
    return int(qBound<double>(minimum, number, maximum));
}

bool readItemDocument(const QString &path, const char *title, const char *listKey, int maxEntries,
                      std::vector<ItemEntry> &entries, bool *moreEntries)
{
    // Checked before opening: opening a pipe would wait for a writer.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxDocumentSize)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxDocumentSize)
        return false;
    // Read by the file's size: asking for the limit would allocate it.
    const QByteArray bytes = file.readAll();
    if (bytes.size() > kMaxDocumentSize)
        return false;

    ItemListReader reader(listKey, maxEntries);
    try {
        std::istringstream stream(std::string(bytes.constData(), size_t(bytes.size())));
        YAML::Parser parser(stream);
        parser.HandleNextDocument(reader);
    } catch (const ItemListReader::Enough &) {
        // The entries wanted are in; the rest stays unread.
    } catch (const std::exception &) {
        return false;
    }
    if (!reader.isDocument() || !reader.hasHeader(title))
        return false;
    entries = reader.takeEntries();
    if (moreEntries)
        *moreEntries = reader.hasMoreEntries();
    return true;
}

bool writeItemDocument(const QString &path, const char *title, const char *listKey, const YAML::Node &items,
                       QString *reason)
{
    // Something other than a file in the way (a directory, a pipe) is not
    // replaced.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile()) {
        if (reason)
            *reason = QCoreApplication::translate("ItemDocument", "Not a regular file");
        return false;
    }
    YAML::Node root = newYamlDocument(title);
    root[listKey] = items;
    return writeYamlDocument(path, root, reason);
}

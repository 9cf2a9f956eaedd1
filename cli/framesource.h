#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class Context;
class ProtocolStream;
class TxProtocol;
struct CliOptions;

// The frames a run sends: one item for --hex, --text, --file and --protocol,
// one per entry of a protocol set or an instruct set. Each item is a built
// ProtocolStream (a hex or text item through the one-field protocol the
// transmit window sends), so generators advance frame after frame exactly as
// in the workbench.
//
// next() is called from one thread at a time: the GUI-less main thread for
// single and item-timed sends, the channel's worker during periodic sending.
class FrameSource
{
public:
    explicit FrameSource(Context *context);
    ~FrameSource();

    FrameSource(const FrameSource &) = delete;
    FrameSource &operator=(const FrameSource &) = delete;

    // False with the reason (naming the file) when a document cannot be read
    // or a frame cannot be built.
    bool load(const CliOptions &options, QString *error);

    int itemCount() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    // The next item's next frame, its checksum appended; the items in turn.
    QByteArray next();
    // The delay the item returned last asks for before the following one.
    int lastDelayMs() const;

private:
    struct Item;
    bool addProtocol(std::unique_ptr<TxProtocol> protocol, int column, int delayMs, const QString &what,
                     QString *error);
    bool addTransmitText(const QString &text, int textMode, int delayMs, const QString &what, QString *error);
    bool loadSet(const QString &path, QString *error);
    bool loadInstructs(const QString &path, QString *error);

    Context *m_context;
    std::vector<std::unique_ptr<Item>> m_items;
    int m_cursor = -1;
    int m_crcModel = -1;
    bool m_crcLittleEndian = true;
};

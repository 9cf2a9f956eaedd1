#include "expectation.h"

#include <dorvane/protocolparser.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>

#include <QFile>
#include <QFileInfo>

namespace {

// Text expectations look at this much of the latest text; a reply that is
// waited for is short, and a flood must not make every chunk rescan megabytes.
constexpr int TextWindowBytes = 8 * 1024;
// A frame longer than this is not waited for; the oldest bytes go first.
constexpr int FrameWindowBytes = 1024 * 1024;

bool isUnsignedType(int typeId)
{
    return typeId == 10 || typeId == 11 || typeId == 12;
}

QString valueText(const FrameValue &value, bool isUnsigned)
{
    const Variant &v = value.value;
    if (v.GetType() == Variant::Float || v.GetType() == Variant::Double || value.coefficient != 1.0f) {
        double number = v.GetType() == Variant::Float ? double(v.GetFloat()) : v.GetDouble();
        if (v.GetType() != Variant::Float && v.GetType() != Variant::Double)
            number = isUnsigned ? double(v.GetUInt64()) : double(v.GetInt64());
        return QString::number(number * double(value.coefficient), 'g', 15);
    }
    if (!isUnsigned)
        return QString::number(v.GetInt64());
    switch (v.GetType()) {
    case Variant::Int8:
        return QString::number(v.GetUChar());
    case Variant::Int16:
        return QString::number(v.GetUShort());
    case Variant::Int32:
        return QString::number(v.GetUInt());
    default:
        return QString::number(v.GetUInt64());
    }
}

} // namespace

BytePatternMatcher::BytePatternMatcher(const QByteArray &bytes, const QByteArray &mask)
    : m_bytes(bytes)
    , m_mask(mask)
{
}

bool BytePatternMatcher::feed(const QByteArray &chunk)
{
    if (m_met || m_bytes.isEmpty())
        return m_met;
    m_window += chunk;
    const int n = m_bytes.size();
    const char *data = m_window.constData();
    for (int start = 0; start + n <= m_window.size(); ++start) {
        int k = 0;
        while (k < n && (data[start + k] & m_mask[k]) == (m_bytes[k] & m_mask[k]))
            ++k;
        if (k == n) {
            m_met = true;
            m_window.clear();
            return true;
        }
    }
    // Only the last n - 1 bytes can still begin a match.
    if (m_window.size() >= n)
        m_window.remove(0, m_window.size() - (n - 1));
    return false;
}

TextPatternMatcher::TextPatternMatcher(const QString &pattern)
    : m_expression(pattern)
{
}

bool TextPatternMatcher::feed(const QByteArray &chunk)
{
    if (m_met)
        return true;
    m_window += chunk;
    if (m_window.size() > TextWindowBytes)
        m_window.remove(0, m_window.size() - TextWindowBytes);
    m_met = m_expression.match(QString::fromUtf8(m_window)).hasMatch();
    if (m_met)
        m_window.clear();
    return m_met;
}

FrameMatcher::FrameMatcher() = default;
FrameMatcher::~FrameMatcher() = default;

bool FrameMatcher::load(const QString &path, Context *context, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("%1: no such file").arg(path);
        return false;
    }
    m_protocol = std::make_unique<RxProtocol>();
    if (!m_protocol->Load(QFile::encodeName(path).toStdString(), context)) {
        *error = QStringLiteral("%1: not a readable receive-protocol file").arg(path);
        return false;
    }
    m_parser = std::make_unique<ProtocolParser>();
    if (!m_parser->Build(m_protocol.get()) || m_parser->GetFrameSize() <= 0) {
        *error = QStringLiteral("%1: the receive protocol cannot cut frames (a field has a type, "
                                "generator or flag the parser does not take)")
                     .arg(path);
        return false;
    }
    std::string problem;
    m_roleCheck.Build(m_protocol.get(), &problem);
    m_roleProblem = QString::fromStdString(m_protocol->GetLoadWarning());
    if (!problem.empty())
        m_roleProblem
            += (m_roleProblem.isEmpty() ? QString() : QStringLiteral(" ")) + QString::fromStdString(problem);
    // The decoded values are the enabled fields that are neither flags nor blocks, in order.
    m_unsigned.clear();
    for (int i = 0; i < m_protocol->GetFieldCount(); ++i) {
        const RxField *field = m_protocol->GetField(i);
        const RxValueMetaInfo *info = field->GetValueMetaInfo();
        if (field->IsEnabled() && info && int(info->GetValueGeneratorType()) == 0
            && info->GetFlag() == RxValueMetaInfo::NoFlag)
            m_unsigned.push_back(isUnsignedType(field->GetTypeId()));
    }
    return true;
}

int FrameMatcher::feed(const QByteArray &chunk)
{
    if (!m_parser)
        return m_frames;
    m_stream += chunk;
    if (m_stream.size() > FrameWindowBytes)
        m_stream.remove(0, m_stream.size() - FrameWindowBytes);

    int consumed = 0;
    while (consumed < m_stream.size()) {
        const int available = m_stream.size() - consumed;
        const ProtocolParser::PRResult r
            = m_parser->Update(m_stream.constData() + consumed, available, false);
        if (r.status == ProtocolParser::FrameDecoded || r.status == ProtocolParser::DecodingFailed) {
            if (r.frameEnd <= 0)
                break;
            const auto *frame = reinterpret_cast<const unsigned char *>(m_stream.constData() + consumed);
            if (r.status == ProtocolParser::FrameDecoded
                && (!m_roleCheck.IsChecking() || r.frameEnd <= r.headOffset
                    || m_roleCheck.Check(frame + r.headOffset, std::size_t(r.frameEnd - r.headOffset))))
                publish();
            consumed += qMin(r.frameEnd, available);
            continue;
        }
        if (r.status == ProtocolParser::HeadNotFound) {
            // Only the last bytes may still begin a head, which is never longer than a frame.
            const int keep = qMax(0, m_parser->GetFrameSize() - 1);
            if (available > keep)
                consumed += available - keep;
        } else if (r.headOffset > 0) {
            consumed += r.headOffset;
        }
        break;
    }
    m_stream.remove(0, consumed);
    return m_frames;
}

void FrameMatcher::publish()
{
    ++m_frames;
    if (!m_handler)
        return;
    std::vector<Value> values;
    const std::vector<FrameValue> &decoded = m_parser->GetFrameValues();
    values.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const bool isUnsigned = i < m_unsigned.size() && m_unsigned[i];
        values.push_back({decoded[i].graphId, valueText(decoded[i], isUnsigned)});
    }
    m_handler(values);
}

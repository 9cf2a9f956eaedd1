#include "model/echosettings.h"

#include "model/yamldocument.h"

#include <QFile>
#include <QFileInfo>

#include <yaml-cpp/yaml.h>

namespace {

const char kFormatTitle[] = "dorvane dialogue settings file";
const char kFormatVersion[] = "1.0";
// A dialogue settings file holds a dozen keys; anything this large is not one.
const qint64 kMaxFileSize = 1 << 20;

YAML::Node mapEntry(const YAML::Node &map, const char *key)
{
    if (!map.IsDefined() || !map.IsMap())
        return YAML::Node(YAML::NodeType::Undefined);
    const YAML::Node value = map[key];
    if (!value.IsDefined() || !(value.IsScalar() || value.IsNull()))
        return YAML::Node(YAML::NodeType::Undefined);
    return value;
}

template<typename T>
void readValue(const YAML::Node &map, const char *key, T &target)
{
    const YAML::Node value = mapEntry(map, key);
    if (!value.IsDefined() || value.IsNull())
        return;
    try {
        target = value.as<T>();
    } catch (const std::exception &) {
    }
}

} // namespace

const QStringList &echoBreakSymbols()
{
    static const QStringList symbols{
        QStringLiteral("-"),           QStringLiteral("="),     QStringLiteral("*"),
        QStringLiteral("~"),           QStringLiteral("/"),     QStringLiteral("+"),
        QStringLiteral("-----.-----"), QStringLiteral("DEBUG"), QStringLiteral("DORVANE"),
    };
    return symbols;
}

QString validBreakSymbol(const QString &symbol)
{
    return echoBreakSymbols().contains(symbol) ? symbol : echoBreakSymbols().first();
}

int clampBreakRepeat(long long repeat)
{
    if (repeat < 0)
        return 1;
    return repeat > 80 ? 80 : int(repeat);
}

int clampBreakInterval(long long interval)
{
    if (interval < 0)
        return 1;
    return interval > 256 ? 256 : int(interval);
}

bool applyEchoSettingsText(const std::string &text, EchoSettings &settings)
{
    YAML::Node document;
    try {
        document = YAML::Load(text);
    } catch (const std::exception &) {
        return false;
    }
    if (!document.IsMap())
        return false;
    const YAML::Node &root = document;
    // Only this document: another file's settings (the application's own,
    // say) must never be taken for the view's.
    if (!hasDocumentHeader(root, kFormatTitle))
        return false;

    const YAML::Node options = root["echoOptions"];
    readValue(options, "echoRxData", settings.echoRx);
    readValue(options, "echoTxData", settings.echoTx);
    readValue(options, "displayLabel", settings.displayLabel);
    readValue(options, "displayDate", settings.displayDate);
    readValue(options, "displayMicroseconds", settings.displayMicroseconds);
    readValue(options, "displayDelta", settings.displayDelta);
    readValue(options, "displayDataInNewLine", settings.dataInNewLine);

    const YAML::Node interpreter = root["interpreter"];
    readValue(interpreter, "interpretRxData", settings.interpretRx);
    readValue(interpreter, "interpretTxData", settings.interpretTx);
    long long trigger = settings.interpretTrigger;
    readValue(interpreter, "interpretTrigger", trigger);
    // Only the two picking modes exist.
    settings.interpretTrigger = trigger == 1 ? 1 : 0;

    const YAML::Node breaks = root["echoBreaks"];
    const YAML::Node symbol = mapEntry(breaks, "symbole");
    if (symbol.IsDefined())
        settings.breakSymbol = validBreakSymbol(
            symbol.IsNull() ? QStringLiteral("null") : QString::fromLocal8Bit(symbol.Scalar().c_str()));
    long long repeat = settings.breakRepeat;
    readValue(breaks, "repeatCount", repeat);
    settings.breakRepeat = clampBreakRepeat(repeat);
    long long interval = settings.breakInterval;
    readValue(breaks, "intervalFrame", interval);
    settings.breakInterval = clampBreakInterval(interval);
    long long color = -1;
    readValue(breaks, "color", color);
    // A break line is always drawn opaque: a stored alpha of 0 would hide it.
    if (color >= 0 && color <= 0xFFFFFFFFLL)
        settings.breakColor = (quint32(color) & 0x00FFFFFFu) | 0xFF000000u;
    return true;
}

bool readEchoSettings(const QString &path, EchoSettings &settings)
{
    // A pipe or device in its place would block the start for ever.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return false;
    const QByteArray text = file.read(kMaxFileSize + 1);
    if (text.size() > kMaxFileSize)
        return false;
    return applyEchoSettingsText(text.toStdString(), settings);
}

bool writeEchoSettings(const QString &path, const EchoSettings &settings)
{
    YAML::Node document = newYamlDocument(kFormatTitle, kFormatVersion);

    YAML::Node options(YAML::NodeType::Map);
    options["echoRxData"] = settings.echoRx;
    options["echoTxData"] = settings.echoTx;
    options["displayLabel"] = settings.displayLabel;
    options["displayDate"] = settings.displayDate;
    // Keys an older reader skips.
    options["displayMicroseconds"] = settings.displayMicroseconds;
    options["displayDelta"] = settings.displayDelta;
    options["displayDataInNewLine"] = settings.dataInNewLine;
    document["echoOptions"] = options;

    YAML::Node interpreter(YAML::NodeType::Map);
    interpreter["interpretRxData"] = settings.interpretRx;
    interpreter["interpretTxData"] = settings.interpretTx;
    interpreter["interpretTrigger"] = settings.interpretTrigger;
    document["interpreter"] = interpreter;

    YAML::Node breaks(YAML::NodeType::Map);
    breaks["symbole"] = settings.breakSymbol.toLocal8Bit().toStdString();
    breaks["repeatCount"] = settings.breakRepeat;
    breaks["intervalFrame"] = settings.breakInterval;
    breaks["color"] = static_cast<unsigned int>(settings.breakColor | 0xFF000000u);
    document["echoBreaks"] = breaks;

    return writeYamlDocument(path, document);
}

#include "model/transmittext.h"

#include <dorvane/coretypes.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>

#include <QStringList>

namespace {

bool isHexDigit(QChar c)
{
    const QChar u = c.toUpper();
    return (u >= QLatin1Char('0') && u <= QLatin1Char('9'))
           || (u >= QLatin1Char('A') && u <= QLatin1Char('F'));
}

} // namespace

QString normalizeHexDigits(const QString &text)
{
    const QString input = text.trimmed();
    QString out;
    out.reserve(input.size() + input.size() / 2 + 2);
    int digits = 0;
    auto padLoneDigit = [&out] {
        const QChar last = out.back();
        out.chop(1);
        out += QLatin1Char('0');
        out += last;
    };
    for (const QChar c : input) {
        if (isHexDigit(c)) {
            if (digits == 2) {
                out += QLatin1Char(' ');
                digits = 0;
            }
            out += c;
            ++digits;
        } else if (c == QLatin1Char(' ') && digits == 1) {
            padLoneDigit();
            digits = 2;
        }
    }
    if (digits == 1)
        padLoneDigit();
    return out;
}

QString convertTransmitText(const QString &text, int textMode)
{
    if (text.isEmpty())
        return text;
    if (textMode == PlainTextMode) {
        QString escaped = text;
        escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
        return QLatin1Char('"') + escaped + QLatin1Char('"');
    }
    if (textMode != HexTextMode)
        return text;
    return QLatin1String("0x[") + hexTransmitBytes(text) + QLatin1Char(']');
}

QString hexTransmitBytes(const QString &text)
{
    QStringList kept;
    const QStringList lines = text.trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString line : lines) {
        const int comment = line.indexOf(QLatin1String("//"));
        if (comment >= 0)
            line.truncate(comment);
        kept << line;
    }
    return normalizeHexDigits(kept.join(QLatin1Char(' '))).trimmed();
}

std::unique_ptr<TxProtocol> makeTransmitProtocol(const QString &text, int textMode)
{
    auto protocol = std::make_unique<TxProtocol>();
    TxField *field = protocol->AddField(0);
    field->SetTypeId(10);
    ValueMetaInfo *value = field->GetValueMetaInfo(0);
    value->SetValueGeneratorType(Array);
    value->SetParamList(convertTransmitText(text, textMode).toLocal8Bit().toStdString());
    return protocol;
}

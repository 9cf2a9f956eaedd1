#include "export/framelayout.h"

#include <dorvane/paramlist.h>
#include <dorvane/rxfield.h>
#include <dorvane/rxprotocol.h>
#include <dorvane/rxvaluemetainfo.h>
#include <dorvane/txfield.h>
#include <dorvane/txprotocol.h>
#include <dorvane/valuemetainfo.h>

#include "generators/createtxvalue.h"
#include "generators/txvalue.h"
#include "types/hostendian.h"
#include "types/numberconversion.h"

#include <cstdint>
#include <memory>

namespace {

std::string FieldLabel(int index, const std::string &name)
{
    std::string label = "Field " + std::to_string(index + 1);
    if (!name.empty()) {
        label += " \"" + name + "\"";
    }
    return label;
}

bool AddItem(FrameLayout &layout, LayoutItem item, std::string &error)
{
    if (static_cast<long long>(layout.size) + item.size > kMaxExportFrameSize) {
        error = "The frame is larger than " + std::to_string(kMaxExportFrameSize / (1024 * 1024))
                + " MiB; no dissector or header is written for it.";
        return false;
    }
    item.offset = layout.size;
    layout.size += item.size;
    layout.items.push_back(std::move(item));
    return true;
}

// The head is the run of head flags that opens the frame, the tail the run of tail flags that
// closes it; flags elsewhere are checked in place.
void CollectPatterns(FrameLayout &layout)
{
    const int count = static_cast<int>(layout.items.size());
    while (layout.headItems < count && layout.items[layout.headItems].role == LayoutItem::HeadFlag) {
        layout.head += layout.items[layout.headItems].pattern;
        ++layout.headItems;
    }
    while (layout.tailItems < count - layout.headItems
           && layout.items[count - 1 - layout.tailItems].role == LayoutItem::TailFlag) {
        layout.tail.insert(0, layout.items[count - 1 - layout.tailItems].pattern);
        ++layout.tailItems;
    }
}

template<typename T>
void AppendConstant(std::string &pattern, T constant, Endianness endian)
{
    if (endian != NativeEndian()) {
        constant = ReverseBytes(constant);
    }
    pattern.append(reinterpret_cast<const char *>(&constant), sizeof(T));
}

template<typename T>
void AppendFlagConstants(std::string &pattern, const ParamList &params, Endianness endian)
{
    for (int i = 0; i < static_cast<int>(params.Count()); ++i) {
        if (params.ParamAt(i).type == ParamList::Number) {
            AppendConstant(pattern, ConvertParam<T>(params.ParamAt(i).value), endian);
        }
    }
}

void AppendFlagPattern(int typeId, std::string &pattern, const ParamList &params, Endianness endian)
{
    switch (typeId) {
    case 1:
        AppendFlagConstants<char>(pattern, params, endian);
        break;
    case 2:
        AppendFlagConstants<short>(pattern, params, endian);
        break;
    case 3:
        AppendFlagConstants<int>(pattern, params, endian);
        break;
    case 10:
        AppendFlagConstants<unsigned char>(pattern, params, endian);
        break;
    case 11:
        AppendFlagConstants<unsigned short>(pattern, params, endian);
        break;
    case 12:
        AppendFlagConstants<unsigned int>(pattern, params, endian);
        break;
    case 20:
        AppendFlagConstants<float>(pattern, params, endian);
        break;
    case 21:
        AppendFlagConstants<double>(pattern, params, endian);
        break;
    }
}

} // namespace

bool IsFloatType(int typeId)
{
    return typeId == 20 || typeId == 21;
}

bool IsSignedType(int typeId)
{
    return typeId == 1 || typeId == 2 || typeId == 3 || IsFloatType(typeId);
}

const char *TypeName(int typeId)
{
    switch (typeId) {
    case 1:
        return "char";
    case 2:
        return "short";
    case 3:
        return "int";
    case 10:
        return "unsigned char";
    case 11:
        return "unsigned short";
    case 12:
        return "unsigned int";
    case 20:
        return "float";
    case 21:
        return "double";
    }
    return "";
}

bool BuildLayout(const TxProtocol *protocol, int column, FrameLayout &layout, std::string &error)
{
    layout = FrameLayout();
    if (!protocol || protocol->GetFieldCount() == 0) {
        error = "The protocol has no fields.";
        return false;
    }
    if (column < 0 || column >= protocol->GetValueCountPerField()) {
        error = "The protocol has no value column " + std::to_string(column + 1) + ".";
        return false;
    }
    for (int i = 0; i < protocol->GetFieldCount(); ++i) {
        const TxField *field = protocol->GetField(i);
        if (!field->IsEnabled()) {
            continue;
        }
        LayoutItem item;
        item.fieldIndex = i;
        item.name = field->GetName();
        item.typeId = field->GetTypeId();
        item.width = TypeWidth(item.typeId);
        item.endian = field->GetEndian();
        const ValueMetaInfo *meta = field->GetValueMetaInfo(column);
        if (item.width == 0) {
            error = FieldLabel(i, item.name) + " has a data type that is not registered.";
            return false;
        }
        // The frame stream sizes every value by the transmit value it creates; so does this.
        const std::unique_ptr<TxValue> value(meta ? CreateTxValue(item.typeId, meta) : nullptr);
        if (!value || value->GetSize() < 1) {
            error = FieldLabel(i, item.name) + " has no value that can be built into the frame.";
            return false;
        }
        item.size = value->GetSize();
        item.count = item.size / item.width;
        switch (meta->GetValueGeneratorType()) {
        case Array:
        case DateTime:
            item.role = LayoutItem::Elements;
            break;
        case Block:
            item.role = LayoutItem::Bytes;
            break;
        default:
            item.role = LayoutItem::Value;
            break;
        }
        if (!AddItem(layout, std::move(item), error)) {
            return false;
        }
    }
    if (layout.items.empty()) {
        error = "The protocol has no enabled fields.";
        return false;
    }
    return true;
}

bool BuildLayout(const RxProtocol *protocol, FrameLayout &layout, std::string &error)
{
    layout = FrameLayout();
    if (!protocol || protocol->GetFieldCount() == 0) {
        error = "The protocol has no fields.";
        return false;
    }
    for (int i = 0; i < protocol->GetFieldCount(); ++i) {
        const RxField *field = protocol->GetField(i);
        if (!field->IsEnabled()) {
            continue;
        }
        const RxValueMetaInfo *meta = field->GetValueMetaInfo();
        LayoutItem item;
        item.fieldIndex = i;
        item.name = field->GetName();
        item.typeId = field->GetTypeId();
        item.width = TypeWidth(item.typeId);
        item.endian = field->GetEndian();
        if (item.width == 0) {
            error = FieldLabel(i, item.name) + " has a data type that is not registered.";
            return false;
        }
        // The same reading of the parameter text as the frame parser's.
        ParamList params;
        params.Parse(meta->GetParamList());
        const int count = static_cast<int>(params.Count());
        if (meta->GetValueGeneratorType() == Fixed && meta->HasFlag()) {
            item.role = meta->HasHeadFlag() ? LayoutItem::HeadFlag : LayoutItem::TailFlag;
            AppendFlagPattern(item.typeId, item.pattern, params, item.endian);
            if (item.pattern.empty()) {
                error = FieldLabel(i, item.name) + " is a flag without constants.";
                return false;
            }
            item.size = static_cast<int>(item.pattern.size());
            item.count = item.size / item.width;
        } else if (meta->GetValueGeneratorType() == Fixed) {
            item.role = LayoutItem::Value;
            item.size = item.width;
            if (count == 1 && params.ParamAt(0).type == ParamList::Number) {
                item.coefficient = static_cast<float>(ParseLongDouble(params.ParamAt(0).value));
            }
        } else if (meta->GetValueGeneratorType() == Block) {
            const long long elements = count >= 1 && params.ParamAt(0).type == ParamList::Number
                                           ? ConvertInt(params.ParamAt(0).value)
                                           : 0;
            if (elements < 1) {
                error = FieldLabel(i, item.name) + " is a block without a positive element count.";
                return false;
            }
            if (elements * item.width > kMaxExportFrameSize) {
                error = FieldLabel(i, item.name) + " is a block larger than a frame may be.";
                return false;
            }
            item.role = LayoutItem::Bytes;
            item.count = static_cast<int>(elements);
            item.size = item.count * item.width;
        } else {
            error = FieldLabel(i, item.name) + " uses a generator that a receive protocol cannot decode.";
            return false;
        }
        if (!AddItem(layout, std::move(item), error)) {
            return false;
        }
    }
    if (layout.items.empty()) {
        error = "The protocol has no enabled fields.";
        return false;
    }
    CollectPatterns(layout);
    return true;
}

bool PlaceChecksum(FrameLayout &layout, const FrameChecksum &checksum, std::string &error)
{
    const CrcParameters &model = checksum.model;
    if (model.width != 8 && model.width != 16 && model.width != 32) {
        error = "The CRC model " + model.name + " is " + std::to_string(model.width)
                + " bits wide; checksums of 8, 16 or 32 bits are supported.";
        return false;
    }
    int item = -1;
    int first = -1;
    for (int i = 0; i < static_cast<int>(layout.items.size()); ++i) {
        if (layout.items[i].fieldIndex == checksum.field) {
            item = i;
        }
        if (first < 0 && layout.items[i].fieldIndex >= checksum.firstCoveredField) {
            first = i;
        }
    }
    if (item < 0) {
        error = "The checksum field " + std::to_string(checksum.field + 1) + " is not an enabled field.";
        return false;
    }
    const LayoutItem &target = layout.items[item];
    if (target.role != LayoutItem::Value || IsFloatType(target.typeId) || target.width * 8 != model.width) {
        error = FieldLabel(target.fieldIndex, target.name) + " cannot hold the checksum: the CRC model "
                + model.name + " needs a single " + std::to_string(model.width) + "-bit integer.";
        return false;
    }
    if (first < 0 || first >= item) {
        error = "The checksum covers no bytes: its first covered field lies at or after the checksum field.";
        return false;
    }
    layout.checksumItem = item;
    layout.crcBegin = layout.items[first].offset;
    layout.crcEnd = target.offset;
    layout.crc = model;
    return true;
}

bool PrepareLayout(const TxProtocol *protocol, int column, const FrameChecksum *checksum, FrameLayout &layout,
                   std::string &error)
{
    return BuildLayout(protocol, column, layout, error)
           && (!checksum || PlaceChecksum(layout, *checksum, error));
}

bool PrepareLayout(const RxProtocol *protocol, int /*column*/, const FrameChecksum *checksum,
                   FrameLayout &layout, std::string &error)
{
    return BuildLayout(protocol, layout, error) && (!checksum || PlaceChecksum(layout, *checksum, error));
}

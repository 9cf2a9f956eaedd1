#include "generators/createtxvalue.h"

#include <dorvane/field.h>
#include <dorvane/paramlist.h>
#include <dorvane/valuemetainfo.h>

#include "generators/arrayvaluegenerator.h"
#include "generators/blockgenerator.h"
#include "generators/datetimegenerator.h"
#include "generators/fixedvaluegenerator.h"
#include "generators/heavisidegenerator.h"
#include "generators/randomvaluegenerator.h"
#include "generators/scattervaluegenerator.h"
#include "generators/sequencevaluegenerator.h"
#include "generators/sinewavegenerator.h"
#include "generators/txmultivalue.h"
#include "generators/txsinglevalue.h"

#include <memory>
#include <new>

namespace {

template<typename Wrapper>
TxValue *Make(const ParamList &params)
{
    auto value = std::make_unique<Wrapper>();
    if (!value->Setup(params)) {
        return nullptr;
    }
    return value.release();
}

template<typename T>
TxValue *MakeForType(ValueGeneratorType generator, const ParamList &params)
{
    switch (generator) {
    case Fixed:
        return Make<TxSingleValue<FixedValueGenerator<T>>>(params);
    case Random:
        return Make<TxSingleValue<RandomValueGenerator<T>>>(params);
    case Sequence:
        return Make<TxSingleValue<SequenceValueGeneraotr<T>>>(params);
    case Scatter:
        return Make<TxSingleValue<ScatterValueGenerator<T>>>(params);
    case Array:
        return Make<TxMultiValue<ArrayValueGenerator<T>>>(params);
    case Block:
        return Make<TxMultiValue<BlockGenerator<T>>>(params);
    case DateTime:
        return Make<TxMultiValue<DateTimeGenerator<T>>>(params);
    case Sin:
        return Make<TxSingleValue<SineWaveGenerator<T>>>(params);
    case Step:
        return Make<TxSingleValue<HeavisideGenerator<T>>>(params);
    }
    return nullptr;
}

TxValue *MakeValue(int typeId, ValueGeneratorType generator, const ParamList &params)
{
    switch (typeId) {
    case 1:
        return MakeForType<char>(generator, params);
    case 2:
        return MakeForType<short>(generator, params);
    case 3:
        return MakeForType<int>(generator, params);
    case 10:
        return MakeForType<unsigned char>(generator, params);
    case 11:
        return MakeForType<unsigned short>(generator, params);
    case 12:
        return MakeForType<unsigned int>(generator, params);
    case 20:
        return MakeForType<float>(generator, params);
    case 21:
        return MakeForType<double>(generator, params);
    default:
        return nullptr;
    }
}

} // namespace

TxValue *CreateTxValue(int typeId, const ValueMetaInfo *meta)
{
    if (!meta) {
        return nullptr;
    }
    try {
        ParamList params;
        params.Parse(meta->GetParamList());
        if (params.Count() == 0) {
            return nullptr;
        }
        TxValue *value = MakeValue(typeId, meta->GetValueGeneratorType(), params);
        if (!value) {
            return nullptr;
        }
        const Field *field = meta->GetField();
        value->SetEndian(field ? field->GetEndian() : LittleEndian);
        // Always brought into order (idempotent), so a big-endian host gets its little-endian
        // fields right too.
        value->ApplyEndian();
        return value;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

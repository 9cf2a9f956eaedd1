#pragma once

#include <dorvane/core_export.h>

class TxValue;
class ValueMetaInfo;

// The transmit value of one field in one column, owned by the caller; null when the parameter
// text does not satisfy the generator, the generator or the type id is unknown, or the value
// would be larger than a value may be.
DORVANE_CORE_EXPORT TxValue *CreateTxValue(int typeId, const ValueMetaInfo *meta);

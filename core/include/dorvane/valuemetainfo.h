#pragma once

#include <dorvane/core_export.h>
#include <dorvane/coretypes.h>

#include <string>

class Field;

// Which generator produces a field's value in one value column, and with which parameter text.
class DORVANE_CORE_EXPORT ValueMetaInfo
{
public:
    explicit ValueMetaInfo(Field *field);
    virtual ~ValueMetaInfo();

    ValueMetaInfo(const ValueMetaInfo &) = delete;
    ValueMetaInfo &operator=(const ValueMetaInfo &) = delete;

    Field *GetField() const { return m_field; }

    void SetValueGeneratorType(ValueGeneratorType type);
    ValueGeneratorType GetValueGeneratorType() const { return m_generatorType; }

    void SetParamList(const std::string &params);
    const std::string &GetParamList() const { return m_paramList; }

private:
    Field *m_field;
    ValueGeneratorType m_generatorType;
    std::string m_paramList;
};

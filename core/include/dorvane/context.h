#pragma once

#include <dorvane/core_export.h>
#include <dorvane/coretypes.h>

#include <map>
#include <string>
#include <vector>

// Registry of the data types and value generators: maps type ids to names and back.
class DORVANE_CORE_EXPORT Context
{
public:
    Context();
    ~Context();

    void Initialize();
    void Uninitialize();

    // -1 for a name that is not one of the registered aliases (the match is case-sensitive).
    int GetTypeId(const char *name) const;
    // Empty for an id that is not registered.
    std::string GetTypeName(int id) const;

    std::vector<int> GetRegisterTypes() const;
    std::vector<ValueGeneratorType> GetRegisterValueGenerators() const;

    std::string GetValueGeneratorName(ValueGeneratorType type) const;
    ValueGeneratorType GetValueGenerator(const std::string &name) const;

    Endianness GetSystemEndian() const;

private:
    Endianness m_systemEndian;
    int m_nameStyle;
    std::map<std::string, int> m_nameToId;
    std::map<int, std::vector<std::string>> m_idToNames;
    std::map<ValueGeneratorType, std::string> m_generatorNames;
};

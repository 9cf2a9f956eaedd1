#include <dorvane/context.h>

#include "types/hostendian.h"

#include <cctype>
#include <cstring>
#include <mutex>

namespace {

struct TypeRow
{
    int id;
    const char *aliases[3];
};

const TypeRow kTypeTable[] = {
    {1, {"char", "int8", "s8"}},
    {2, {"short", "int16", "s16"}},
    {3, {"int", "int32", "s32"}},
    {10, {"unsigned char", "uint8", "u8"}},
    {11, {"unsigned short", "uint16", "u16"}},
    {12, {"unsigned int", "uint32", "u32"}},
    {20, {"float", "float32", "f32"}},
    {21, {"double", "float64", "f64"}},
};

std::string Lowered(const std::string &text)
{
    std::string result(text);
    for (char &c : result) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return result;
}

// The id lists are shared by all contexts of the process; they are filled from the first
// context that has been initialised.
std::mutex g_cacheMutex;
std::vector<int> g_typeCache;
std::vector<ValueGeneratorType> g_generatorCache;

} // namespace

Context::Context()
    : m_systemEndian(LittleEndian)
    , m_nameStyle(0)
{
}

Context::~Context() = default;

void Context::Initialize()
{
    m_systemEndian = NativeEndian();
    m_nameStyle = 0;
    SetHostEndian(NativeEndian());

    for (const TypeRow &row : kTypeTable) {
        m_idToNames[row.id] = {row.aliases[0], row.aliases[1], row.aliases[2]};
    }
    for (const auto &entry : m_idToNames) {
        for (const std::string &alias : entry.second) {
            m_nameToId[alias] = entry.first;
        }
    }
    m_generatorNames.clear();
    m_generatorNames[Fixed] = "Fixed";
    m_generatorNames[Random] = "Random";
    m_generatorNames[Sequence] = "Sequence";
    m_generatorNames[Scatter] = "Scatter";
    m_generatorNames[Array] = "Array";
    m_generatorNames[Block] = "Block";
    m_generatorNames[DateTime] = "DateTime";
    m_generatorNames[Sin] = "Sin";
    m_generatorNames[Step] = "Step";
}

void Context::Uninitialize()
{
}

int Context::GetTypeId(const char *name) const
{
    if (!name) {
        return -1;
    }
    const auto it = m_nameToId.find(name);
    return it == m_nameToId.end() ? -1 : it->second;
}

std::string Context::GetTypeName(int id) const
{
    const auto it = m_idToNames.find(id);
    if (it == m_idToNames.end() || m_nameStyle < 0
        || static_cast<std::size_t>(m_nameStyle) >= it->second.size()) {
        return std::string();
    }
    return it->second[static_cast<std::size_t>(m_nameStyle)];
}

std::vector<int> Context::GetRegisterTypes() const
{
    std::lock_guard<std::mutex> lock(g_cacheMutex);
    if (g_typeCache.empty()) {
        g_typeCache.reserve(m_idToNames.size());
        for (const auto &entry : m_idToNames) {
            g_typeCache.push_back(entry.first);
        }
    }
    return g_typeCache;
}

std::vector<ValueGeneratorType> Context::GetRegisterValueGenerators() const
{
    std::lock_guard<std::mutex> lock(g_cacheMutex);
    if (g_generatorCache.empty()) {
        g_generatorCache.reserve(m_generatorNames.size());
        for (const auto &entry : m_generatorNames) {
            g_generatorCache.push_back(entry.first);
        }
    }
    return g_generatorCache;
}

std::string Context::GetValueGeneratorName(ValueGeneratorType type) const
{
    const auto it = m_generatorNames.find(type);
    return it == m_generatorNames.end() ? std::string("Unknown") : it->second;
}

ValueGeneratorType Context::GetValueGenerator(const std::string &name) const
{
    for (const auto &entry : m_generatorNames) {
        if (entry.second == name) {
            return entry.first;
        }
    }
    const std::string lowered = Lowered(name);
    for (const auto &entry : m_generatorNames) {
        if (Lowered(entry.second) == lowered) {
            return entry.first;
        }
    }
    return Fixed;
}

Endianness Context::GetSystemEndian() const
{
    return m_systemEndian;
}

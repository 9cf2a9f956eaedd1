#include "model/settingsvalues.h"

namespace {

YAML::Node scalarAt(const YAML::Node &section, const char *key)
{
    if (!section.IsDefined() || !section.IsMap())
        return YAML::Node(YAML::NodeType::Undefined);
    const YAML::Node value = section[key];
    if (!value.IsDefined() || !value.IsScalar())
        return YAML::Node(YAML::NodeType::Undefined);
    return value;
}

} // namespace

int settingsInt(const YAML::Node &section, const char *key, int fallback)
{
    const YAML::Node value = scalarAt(section, key);
    if (!value.IsDefined())
        return fallback;
    try {
        return value.as<int>();
    } catch (const std::exception &) {
        return fallback;
    }
}

bool settingsBool(const YAML::Node &section, const char *key, bool fallback)
{
    const YAML::Node value = scalarAt(section, key);
    if (!value.IsDefined())
        return fallback;
    try {
        return value.as<bool>();
    } catch (const std::exception &) {
        return fallback;
    }
}

QString settingsString(const YAML::Node &section, const char *key, const QString &fallback)
{
    const YAML::Node value = scalarAt(section, key);
    if (!value.IsDefined())
        return fallback;
    return QString::fromLocal8Bit(value.Scalar().c_str());
}

std::string toSettingsText(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

#include "endpoint.h"

Endpoint::Endpoint(const QString &name, QObject *parent)
    : QObject(parent)
    , m_name(name)
{
}

Endpoint::~Endpoint() = default;

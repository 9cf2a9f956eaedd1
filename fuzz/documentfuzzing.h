// What the fuzz targets of the application's documents share: the input
// goes to a file in a private temporary directory, since the documents are
// read the way the application reads them, from a path.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace DocumentFuzzing {

inline const QTemporaryDir &Directory()
{
    static QTemporaryDir *dir = new QTemporaryDir;
    return *dir;
}

inline QString PathOf(const char *name)
{
    return Directory().filePath(QString::fromLatin1(name));
}

inline QString WriteInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = PathOf("input");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::abort();
    }
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
    return path;
}

inline void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "round trip broken: %s\n", what);
        std::abort();
    }
}

} // namespace DocumentFuzzing

#include "model/yamldocument.h"

#include <QSaveFile>

DocumentHeader DocumentHeader::of(const YAML::Node &root)
{
    DocumentHeader header;
    if (!root.IsMap())
        return header;
    // A const lookup never inserts the key; a missing key yields an invalid
    // node, whose kind must not be asked.
    const YAML::Node &document = root;
    const YAML::Node format = document["fileFormat"];
    const YAML::Node version = document["fileVersion"];
    header.hasFormat = format.IsDefined();
    header.hasVersion = version.IsDefined();
    header.formatIsScalar = header.hasFormat && format.IsScalar();
    if (header.formatIsScalar)
        header.format = format.Scalar();
    return header;
}

bool DocumentHeader::isOf(const char *title) const
{
    return hasFormat && hasVersion && formatIsScalar && format == title;
}

bool hasDocumentHeader(const YAML::Node &root, const char *title)
{
    return DocumentHeader::of(root).isOf(title);
}

YAML::Node newYamlDocument(const char *title, const char *version)
{
    YAML::Node document(YAML::NodeType::Map);
    document["fileFormat"] = title;
    document["fileVersion"] = version;
    return document;
}

bool writeYamlDocument(const QString &path, const YAML::Node &document, QString *reason)
{
    auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    YAML::Emitter emitter;
    emitter << document;
    if (!emitter.good())
        return fail(QString::fromStdString(emitter.GetLastError()));
    QSaveFile file(path);
    // Unbuffered, so that a failing write reports the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Unbuffered))
        return fail(file.errorString());
    const char *text = emitter.c_str();
    const qint64 size = static_cast<qint64>(emitter.size());
    // A short write says nothing; the next one gives the reason.
    for (qint64 done = 0; done < size;) {
        const qint64 written = file.write(text + done, size - done);
        if (written <= 0)
            return fail(file.errorString());
        done += written;
    }
    if ((size == 0 || text[size - 1] != '\n') && file.write("\n", 1) != 1)
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

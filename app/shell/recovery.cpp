#include "shell/recovery.h"

#include "shell/mainwindow.h"
#include "windows/instructs/instructsetwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocolsets/txprotocolsetwindow.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSaveFile>

#include <cstdio>

namespace {

const char kIndexName[] = "recovery.index";
const char kEditorCopy[] = "protocol.dvptc";
const char kSetCopy[] = "protocol-set.dvpts";
const char kInstructCopy[] = "instruct-set.dvits";

// The index holds one line a copy: the copy's name, a tab, and the path the
// document had (empty when it was never saved).
bool writeIndex(const QString &folder, const QStringList &lines)
{
    QSaveFile file(folder + QLatin1Char('/') + QLatin1String(kIndexName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = lines.join(QLatin1Char('\n')).toUtf8() + '\n';
    return file.write(text) == text.size() && file.commit();
}

void removeKept(const QString &folder, const QStringList &copies)
{
    for (const QString &copy : copies)
        QFile::remove(folder + QLatin1Char('/') + copy);
    QFile::remove(folder + QLatin1Char('/') + QLatin1String(kIndexName));
}

} // namespace

namespace Recovery {

QString folderFor(const QString &settingsDir)
{
    return settingsDir + QStringLiteral("/Recovery");
}

int keepModifiedDocuments(MainWindow &window, const QString &folder)
{
    QStringList lines;
    auto keep = [&](bool modified, const char *name, const QString &originalPath, auto &&write) {
        if (!modified)
            return;
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "Dorvane: cannot create %s; unsaved changes are lost\n",
                         qPrintable(QDir::toNativeSeparators(folder)));
            return;
        }
        const QString copy = folder + QLatin1Char('/') + QLatin1String(name);
        if (write(copy))
            lines << QLatin1String(name) + QLatin1Char('\t') + originalPath;
        else
            std::fprintf(stderr, "Dorvane: cannot keep unsaved changes in %s\n",
                         qPrintable(QDir::toNativeSeparators(copy)));
    };
    TxProtocolEditor *editor = window.protocolEditor();
    keep(editor->isModified(), kEditorCopy, editor->documentPath(),
         [editor](const QString &path) { return editor->writeRecoveryCopy(path); });
    TxProtocolSetWindow *set = window.protocolSetWindow();
    keep(set->isModified(), kSetCopy, set->documentPath(),
         [set](const QString &path) { return set->writeRecoveryCopy(path); });
    InstructSetWindow *instructs = window.instructSetWindow();
    keep(instructs->isModified(), kInstructCopy, instructs->path(),
         [instructs](const QString &path) { return instructs->writeRecoveryCopy(path); });
    if (lines.isEmpty())
        return 0;
    if (!writeIndex(folder, lines)) {
        std::fprintf(stderr, "Dorvane: cannot write the index of the kept documents in %s\n",
                     qPrintable(QDir::toNativeSeparators(folder)));
        return 0;
    }
    return lines.size();
}

void offerKeptDocuments(MainWindow &window, const QString &folder)
{
    QFile index(folder + QLatin1Char('/') + QLatin1String(kIndexName));
    if (!index.open(QIODevice::ReadOnly))
        return;
    // A handful of lines; anything larger is no index of ours.
    const QByteArray text = index.read(64 * 1024);
    index.close();
    QStringList copies;
    QStringList originals;
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString name = line.section(QLatin1Char('\t'), 0, 0);
        if (name == QLatin1String(kEditorCopy) || name == QLatin1String(kSetCopy)
            || name == QLatin1String(kInstructCopy)) {
            copies << name;
            originals << line.section(QLatin1Char('\t'), 1);
        }
    }
    if (copies.isEmpty()) {
        removeKept(folder, copies);
        return;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Dorvane"),
                    QObject::tr("Dorvane was ended with unsaved changes, which were kept. Restore them?"),
                    QMessageBox::Yes | QMessageBox::No, &window);
    box.setObjectName(QStringLiteral("RecoveryQuestion"));
    box.setDefaultButton(QMessageBox::Yes);
    box.exec();
    // Closed by a terminating signal rather than answered: the copies wait
    // for the next start.
    if (!box.clickedButton())
        return;
    if (box.clickedButton() == box.button(QMessageBox::Yes)) {
        for (int i = 0; i < copies.size(); ++i) {
            const QString copy = folder + QLatin1Char('/') + copies.at(i);
            bool restored = false;
            if (copies.at(i) == QLatin1String(kEditorCopy))
                restored = window.protocolEditor()->restoreRecoveryCopy(copy, originals.at(i));
            else if (copies.at(i) == QLatin1String(kSetCopy))
                restored = window.protocolSetWindow()->restoreRecoveryCopy(copy, originals.at(i));
            else
                restored = window.instructSetWindow()->restoreRecoveryCopy(copy, originals.at(i));
            if (!restored)
                std::fprintf(stderr, "Dorvane: the kept document %s could not be restored\n",
                             qPrintable(QDir::toNativeSeparators(copy)));
        }
    }
    removeKept(folder, copies);
}

} // namespace Recovery

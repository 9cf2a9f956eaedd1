#pragma once

#include "model/protocolexport.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QSpinBox;

// Asks how a protocol is exported and where to: the name, for a dissector the
// UDP or TCP port (none by default), and the file, preset beside the document.
class ProtocolExportDialog : public QDialog
{
    Q_OBJECT

public:
    ProtocolExportDialog(ProtocolExportOptions::Kind kind, const QString &name, const QString &path,
                         QWidget *parent = nullptr);

    ProtocolExportOptions options() const;
    QString path() const;

    // The title of the action and the dialog of each kind.
    static QString title(ProtocolExportOptions::Kind kind);
    static QString suffix(ProtocolExportOptions::Kind kind);

    // Writes the file for the chosen options; Exported or the outcome with
    // its message.
    using Writer = std::function<ExportOutcome(const ProtocolExportOptions &, const QString &, QString *)>;

    // The whole export as the user sees it: the dialog, then the file, then a
    // warning for a refused protocol or a file that could not be saved. The
    // written path, empty when nothing was written. directory is where the
    // file goes first when the document has not been saved.
    static QString run(QWidget *parent, ProtocolExportOptions::Kind kind, const QString &documentPath,
                       const QString &directory, int column, const Writer &write);

private:
    void browse();
    void updateState();

    ProtocolExportOptions::Kind m_kind;
    QLineEdit *m_nameEdit;
    QComboBox *m_transportCombo = nullptr;
    QSpinBox *m_portSpin = nullptr;
    QLineEdit *m_pathEdit;
    QDialogButtonBox *m_buttons;
};

#include "windows/common/protocolexportdialog.h"

#include "shell/notices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

ProtocolExportDialog::ProtocolExportDialog(ProtocolExportOptions::Kind kind, const QString &name,
                                           const QString &path, QWidget *parent)
    : QDialog(parent)
    , m_kind(kind)
{
    setObjectName(QStringLiteral("ProtocolExportDialog"));
    setWindowTitle(title(kind));
    auto *form = new QFormLayout(this);

    m_nameEdit = new QLineEdit(name, this);
    m_nameEdit->setObjectName(QStringLiteral("ExportNameEdit"));
    m_nameEdit->setToolTip(kind == ProtocolExportOptions::WiresharkDissector
                               ? tr("The protocol's filter name in Wireshark")
                               : tr("The prefix of every name in the header"));
    form->addRow(tr("Protocol name:"), m_nameEdit);

    if (kind == ProtocolExportOptions::WiresharkDissector) {
        auto *portRow = new QHBoxLayout;
        m_transportCombo = new QComboBox(this);
        m_transportCombo->setObjectName(QStringLiteral("ExportTransportCombo"));
        m_transportCombo->addItem(tr("None"), int(DissectorGenerator::NoTransport));
        m_transportCombo->addItem(tr("UDP"), int(DissectorGenerator::Udp));
        m_transportCombo->addItem(tr("TCP"), int(DissectorGenerator::Tcp));
        m_portSpin = new QSpinBox(this);
        m_portSpin->setObjectName(QStringLiteral("ExportPortSpin"));
        m_portSpin->setRange(1, 65535);
        m_portSpin->setValue(5000);
        portRow->addWidget(m_transportCombo);
        portRow->addWidget(m_portSpin, 1);
        form->addRow(tr("Port:"), portRow);
        connect(m_transportCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &ProtocolExportDialog::updateState);
    }

    auto *pathRow = new QHBoxLayout;
    m_pathEdit = new QLineEdit(QDir::toNativeSeparators(path), this);
    m_pathEdit->setObjectName(QStringLiteral("ExportPathEdit"));
    m_pathEdit->setMinimumWidth(320);
    auto *browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("ExportBrowseButton"));
    pathRow->addWidget(m_pathEdit, 1);
    pathRow->addWidget(browse);
    form->addRow(tr("File:"), pathRow);
    connect(browse, &QPushButton::clicked, this, &ProtocolExportDialog::browse);
    connect(m_pathEdit, &QLineEdit::textChanged, this, &ProtocolExportDialog::updateState);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
    form->addRow(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateState();
}

ProtocolExportOptions ProtocolExportDialog::options() const
{
    ProtocolExportOptions options;
    options.kind = m_kind;
    options.name = m_nameEdit->text().trimmed();
    if (m_transportCombo) {
        options.transport = DissectorGenerator::Transport(m_transportCombo->currentData().toInt());
        if (options.transport != DissectorGenerator::NoTransport)
            options.port = m_portSpin->value();
    }
    return options;
}

QString ProtocolExportDialog::path() const
{
    QString path = QDir::fromNativeSeparators(m_pathEdit->text().trimmed());
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix(m_kind);
    return path;
}

QString ProtocolExportDialog::title(ProtocolExportOptions::Kind kind)
{
    return kind == ProtocolExportOptions::WiresharkDissector ? tr("Export Wireshark Dissector")
                                                             : tr("Export C Header");
}

QString ProtocolExportDialog::suffix(ProtocolExportOptions::Kind kind)
{
    return kind == ProtocolExportOptions::WiresharkDissector ? QStringLiteral("lua") : QStringLiteral("h");
}

void ProtocolExportDialog::browse()
{
    const QString filter = m_kind == ProtocolExportOptions::WiresharkDissector
                               ? tr("Wireshark Lua dissector (*.lua)")
                               : tr("C header (*.h)");
    const QString chosen = QFileDialog::getSaveFileName(this, title(m_kind), path(), filter);
    if (!chosen.isEmpty())
        m_pathEdit->setText(QDir::toNativeSeparators(chosen));
}

void ProtocolExportDialog::updateState()
{
    if (m_portSpin)
        m_portSpin->setEnabled(m_transportCombo->currentIndex() > 0);
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_pathEdit->text().trimmed().isEmpty());
}

QString ProtocolExportDialog::run(QWidget *parent, ProtocolExportOptions::Kind kind,
                                  const QString &documentPath, const QString &directory, int column,
                                  const Writer &write)
{
    const QString name = exportNameForPath(documentPath);
    const QString folder = documentPath.isEmpty() ? directory : QFileInfo(documentPath).absolutePath();
    const QString file = name + QLatin1Char('.') + suffix(kind);
    ProtocolExportDialog dialog(kind, name, folder.isEmpty() ? file : QDir(folder).filePath(file), parent);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    ProtocolExportOptions options = dialog.options();
    options.column = column;
    const QString path = dialog.path();
    QString error;
    if (!documentPath.isEmpty()
        && QFileInfo(path).canonicalFilePath() == QFileInfo(documentPath).canonicalFilePath()) {
        warnSaveFailed(parent, path, tr("The export would replace the protocol document itself."));
        return QString();
    }
    switch (write(options, path, &error)) {
    case ExportOutcome::Exported:
        return path;
    case ExportOutcome::FileNotWritten:
        warnSaveFailed(parent, path, error);
        break;
    case ExportOutcome::NotExportable:
        QMessageBox::warning(parent, QStringLiteral("Dorvane"),
                             tr("The protocol cannot be exported.\n%1").arg(error));
        break;
    }
    return QString();
}

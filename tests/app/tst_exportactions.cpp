// The export actions of the protocol editor and the RX Frames window driven
// through their tool bars and the export dialog inside a started
// application: the file is written from the open document, a refused
// protocol or an unwritable file is said and leaves the old file alone, and
// every action stays reachable at the default window size.
#include "apptestsupport.h"

#include "services/rxframewatcher.h"
#include "shell/mainwindow.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocoleditor/txvaluecolumn.h"
#include "windows/rxframes/rxframewindow.h"

#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

TxProtocolEditor *editor()
{
    return Application::instance()->mainWindow()->protocolEditor();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Fills in the next export dialog that shows: the file, then whatever else
// the case wants, then "Export".
void answerExportDialog(const QString &path, std::function<void(QDialog *)> more = {})
{
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, path, more] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            if (!dialog || !dialog->isVisible()
                || dialog->objectName() != QLatin1String("ProtocolExportDialog"))
                continue;
            timer->stop();
            timer->deleteLater();
            dialog->findChild<QLineEdit *>(QStringLiteral("ExportPathEdit"))->setText(path);
            if (more)
                more(dialog);
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QLatin1String("Export"))
                    button->click();
            }
            return;
        }
    });
    timer->start();
}

// A head byte, an address, and an array that is one byte longer in the
// second value column than in the first.
QString writeTransmitProtocol(const QString &path)
{
    TxProtocol protocol;
    protocol.AppendValueColumn();
    const char *params[3][2] = {{"0x7E", "0x7E"}, {"0x1234", "0xBEEF"}, {"1,2", "9,8,7"}};
    const int types[3] = {10, 11, 10};
    for (int i = 0; i < 3; ++i) {
        TxField *field = protocol.AddField(-1);
        field->SetName(i == 0 ? "head" : i == 1 ? "address" : "data");
        field->SetTypeId(types[i]);
        for (int column = 0; column < 2; ++column) {
            field->GetValueMetaInfo(column)->SetValueGeneratorType(i == 2 ? Array : Fixed);
            field->GetValueMetaInfo(column)->SetParamList(params[i][column]);
        }
    }
    return protocol.Save(QFile::encodeName(path).toStdString(), dvApp->context()) ? path : QString();
}

// The actions of a tool bar whose buttons are not on screen, the overflow
// arrow too: what the user can reach only through the arrow's popup.
QStringList unreachable(QToolBar *bar)
{
    QStringList hidden;
    for (QAction *action : bar->actions()) {
        QWidget *widget = bar->widgetForAction(action);
        if (action->isVisible() && !action->isSeparator() && widget && !widget->isVisible())
            hidden << (action->text().isEmpty() ? widget->objectName() : action->text());
    }
    auto *arrow = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    if (arrow && arrow->isVisible())
        hidden << QStringLiteral("overflow arrow");
    return hidden;
}

} // namespace

class TestExportActions : public QObject
{
    Q_OBJECT

private slots:
    // The editor exports the value set that is active, under the name and
    // port chosen in the dialog.
    void editorExportsTheActiveValueSet()
    {
        QDockWidget *dock = dvApp->mainWindow()->protocolEditorDock();
        dock->show();
        dock->raise();
        const QString document = writeTransmitProtocol(m_dir.filePath(QStringLiteral("link.dvptc")));
        QVERIFY(!document.isEmpty());
        QVERIFY(editor()->open(document));
        editor()->columns().at(1)->headerButton()->click();
        QCOMPARE(editor()->currentColumn(), 1);

        const QString lua = m_dir.filePath(QStringLiteral("chosen.lua"));
        answerExportDialog(lua, [](QDialog *dialog) {
            dialog->findChild<QLineEdit *>(QStringLiteral("ExportNameEdit"))
                ->setText(QStringLiteral("Link Bus"));
            dialog->findChild<QComboBox *>(QStringLiteral("ExportTransportCombo"))->setCurrentIndex(2);
            dialog->findChild<QSpinBox *>(QStringLiteral("ExportPortSpin"))->setValue(5020);
        });
        editor()->findChild<QAction *>(QStringLiteral("ProtocolExportDissectorAction"))->trigger();
        const QByteArray script = readAll(lua);
        QVERIFY2(script.contains("Proto(\"link_bus\""), script.constData());
        QVERIFY(script.contains("DissectorTable.get(\"tcp.port\"):add(5020, proto)"));
        QVERIFY(!script.contains("udp.port\"):add("));
        QVERIFY2(script.contains("local FRAME_SIZE = 6\n"), "the second column's frame: 1 + 2 + 3 bytes");

        const auto *message
            = editor()->statusWidget()->findChild<QLabel *>(QStringLiteral("ProtocolEditorMessage"));
        QVERIFY(message->text().startsWith(QStringLiteral("Exported to ")));
    }

    // At the default size the RX Frames window shows every tool bar action,
    // the exports included, and its exports check the protocol's checksum.
    void rxFramesExportsReachableAndCarryTheChecksum()
    {
        // The width the RX Frames dock gives the window at the main window's
        // default 1200 x 700 layout.
        RxFrameWatcher watcher;
        RxFrameWindow bench(&watcher, dvApp->context(), nullptr);
        RxFrameWindow *window = &bench;
        window->resize(596, 420);
        window->show();
        const QString document = m_dir.filePath(QStringLiteral("telemetry.dvprx"));
        QFile::remove(document);
        QVERIFY(QFile::copy(QStringLiteral(DORVANE_SOURCE_DIR "/resources/samples/devsim-telemetry.dvprx"),
                            document));
        QVERIFY(window->open(document));
        QCoreApplication::processEvents();
        const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
        QCOMPARE(bars.size(), 2);
        for (QToolBar *bar : bars) {
            QVERIFY(bar->isVisible());
            QVERIFY2(unreachable(bar).isEmpty(), qPrintable(bar->objectName() + QStringLiteral(": ")
                                                            + unreachable(bar).join(QLatin1Char(','))));
        }
        QVERIFY(window->findChild<QToolButton *>(QStringLiteral("RxExportButton"))->isVisible());

        // The sum byte guarded by CRC-8 over counter, sine and ramp.
        RxFrameRoles roles;
        roles.hasChecksum = true;
        roles.checksum.model = CrcParameters{"CRC-8", 8, 0x07, 0, false, false, 0};
        roles.checksum.field = 5;
        roles.checksum.firstCoveredField = 2;
        window->protocol()->SetRoles(roles);
        const QString lua = m_dir.filePath(QStringLiteral("telemetry.lua"));
        answerExportDialog(lua);
        window->findChild<QAction *>(QStringLiteral("RxExportDissectorAction"))->trigger();
        QVERIFY(readAll(lua).contains("checksum_status"));
        QVERIFY(window->statusLabel()->text().contains(QStringLiteral("Exported to")));
        const QString header = m_dir.filePath(QStringLiteral("telemetry.h"));
        answerExportDialog(header);
        window->findChild<QAction *>(QStringLiteral("RxExportCHeaderAction"))->trigger();
        QVERIFY(readAll(header).contains("123456789"));
    }

    // A protocol the generator refuses and a file that cannot be written are
    // both said, and the file that was there stays as it was.
    void failedExportKeepsTheOldFileAndSaysWhy()
    {
        RxFrameWatcher watcher;
        RxFrameWindow window(&watcher, dvApp->context(), nullptr);
        const QString flagless = m_dir.filePath(QStringLiteral("flagless.dvprx"));
        {
            RxProtocol protocol;
            RxField *head = protocol.AddField(-1);
            head->SetName("head");
            head->SetTypeId(10);
            head->GetValueMetaInfo()->SetHeadFlag();
            QVERIFY(protocol.Save(QFile::encodeName(flagless).toStdString(), dvApp->context()));
        }
        QVERIFY(window.open(flagless));
        const QString old = m_dir.filePath(QStringLiteral("old.lua"));
        QVERIFY(writeAll(old, "-- the previous dissector\n"));
        {
            MessageBoxCatcher catcher;
            answerExportDialog(old);
            window.findChild<QAction *>(QStringLiteral("RxExportDissectorAction"))->trigger();
            QVERIFY(catcher.waitForBox());
            QVERIFY2(catcher.texts().first().startsWith(QStringLiteral("The protocol cannot be exported.")),
                     qPrintable(catcher.texts().first()));
            QVERIFY(catcher.texts().first().contains(QStringLiteral("is a flag without constants")));
            QCOMPARE(catcher.titles().first(), QStringLiteral("Dorvane"));
        }
        QCOMPARE(readAll(old), QByteArray("-- the previous dissector\n"));

        QVERIFY(window.open(QStringLiteral(DORVANE_SOURCE_DIR "/resources/samples/devsim-telemetry.dvprx")));
        const QString unwritable = m_dir.filePath(QStringLiteral("missing/out.lua"));
        MessageBoxCatcher catcher;
        answerExportDialog(unwritable);
        window.findChild<QAction *>(QStringLiteral("RxExportDissectorAction"))->trigger();
        QVERIFY(catcher.waitForBox());
        QVERIFY2(catcher.texts().first().startsWith(QStringLiteral("Unable to save file: ")
                                                    + QDir::toNativeSeparators(unwritable)),
                 qPrintable(catcher.texts().first()));
        QVERIFY(!QFile::exists(unwritable));
    }

private:
    QTemporaryDir m_dir;
};

DORVANE_APP_TEST_MAIN(TestExportActions)
#include "tst_exportactions.moc"

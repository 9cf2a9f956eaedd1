// The transmit protocol editor driven through its own widgets inside a
// started application: rows, value columns, the value dialog, saving and
// opening, and frames sent over a real pseudo-terminal.
#include "apptestsupport.h"

#include "services/channeltracker.h"
#include "shell/mainwindow.h"
#include "shell/savefileaskdialog.h"
#include "windows/common/editorheaderview.h"
#include "windows/common/nameedit.h"
#include "windows/common/scrollworkspace.h"
#include "windows/protocoleditor/datatypeselectdialog.h"
#include "windows/protocoleditor/fieldeditdialog.h"
#include "windows/protocoleditor/txfieldeditor.h"
#include "windows/protocoleditor/txprotocolbuildbar.h"
#include "windows/protocoleditor/txprotocoleditor.h"
#include "windows/protocoleditor/txvaluecolumn.h"
#include "windows/protocoleditor/txvalueedit.h"

#include <dorvane/Channel.h>
#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <functional>

namespace {

TxProtocolEditor *editor()
{
    return Application::instance()->mainWindow()->protocolEditor();
}

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

QAction *action(const QString &text)
{
    const QList<QAction *> actions = editor()->findChildren<QAction *>();
    for (QAction *candidate : actions) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QString label(const char *name)
{
    auto *found = editor()->statusWidget()->findChild<QLabel *>(QLatin1String(name));
    return found ? found->text() : QString();
}

// Runs the action on the next dialog of the type that shows, modal ones
// included.
template<typename Dialog>
void onNextDialog(std::function<void(Dialog *)> act)
{
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        for (QWidget *widget : widgets) {
            auto *dialog = qobject_cast<Dialog *>(widget);
            if (dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
                return;
            }
        }
    });
    timer->start();
}

void answerSaveQuestion(const char *button)
{
    onNextDialog<SaveFileAskDialog>([button](SaveFileAskDialog *dialog) {
        dialog->findChild<QPushButton *>(QLatin1String(button))->click();
    });
}

// A new document, dropping whatever the previous test left unsaved.
void freshDocument()
{
    if (editor()->isModified())
        answerSaveQuestion("btnDoNotSave");
    action(QStringLiteral("New Protocol"))->trigger();
    QVERIFY(!editor()->isModified());
}

TxFieldEditor *row(int index)
{
    return editor()->rows().value(index);
}

TxValueEdit *edit(int rowIndex, int column)
{
    return editor()->columns().value(column)->editFor(row(rowIndex));
}

// Changes one value through the value dialog, as a user does.
void editValue(int rowIndex, int column, const QString &generator, const QString &params)
{
    onNextDialog<FieldEditDialog>([generator, params](FieldEditDialog *dialog) {
        auto *generators = dialog->findChild<QComboBox *>(QStringLiteral("cbxGenerator"));
        generators->setCurrentIndex(generators->findText(generator));
        dialog->findChild<QLineEdit *>(QStringLiteral("txtParam"))->setText(params);
        dialog->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        // A value the dialog refuses must not hold the test up.
        if (dialog->isVisible())
            dialog->reject();
    });
    edit(rowIndex, column)->editAction()->trigger();
}

void setType(int rowIndex, int typeId)
{
    onNextDialog<DataTypeSelectDialog>([typeId](DataTypeSelectDialog *dialog) {
        dialog->findChild<QPushButton *>(QStringLiteral("type%1").arg(typeId))->click();
    });
    row(rowIndex)->typeButton()->click();
}

void rename(int rowIndex, const QString &name)
{
    NameEdit *edit = row(rowIndex)->nameEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

// One unsigned-byte field per value, in order.
void composeBytes(const QStringList &values)
{
    freshDocument();
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            action(QStringLiteral("New Field"))->trigger();
        setType(i, 10);
        editValue(i, 0, QStringLiteral("Fixed"), values.at(i));
    }
}

QStringList rowNumbers()
{
    QStringList numbers;
    for (TxFieldEditor *fieldRow : editor()->rows())
        numbers << fieldRow->numberText();
    return numbers;
}

QStringList fieldNames()
{
    QStringList names;
    for (int i = 0; i < editor()->protocol()->GetFieldCount(); ++i)
        names << QString::fromStdString(editor()->protocol()->GetField(i)->GetName());
    return names;
}

std::string paramsAt(int field, int column)
{
    return editor()->protocol()->GetField(field)->GetValueMetaInfo(column)->GetParamList();
}

// A pseudo-terminal opened as the channel; the channel closes before the
// line hangs up, so no channel warning outlives the test.
struct PtyChannel
{
    PtyChannel()
    {
        if (!pty.isOpen())
            return;
        SerialChannelParams params;
        params.portName = pty.slavePath();
        params.baudRate = 115200;
        params.timing = PreciseTiming;
        open = proxy()->open(params);
    }
    ~PtyChannel()
    {
        if (proxy()->isPeriodSendRun())
            proxy()->stopPeriodSend();
        proxy()->close();
    }
    int master() const { return pty.master(); }

    PseudoTerminal pty;
    bool open = false;
};

void clickSend()
{
    editor()->buildBar()->sendButton()->click();
}

} // namespace

class TestProtocolEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDockWidget *dock = Application::instance()->mainWindow()->protocolEditorDock();
        dock->show();
        dock->raise();
        // Before any document, nothing document-related is offered.
        QVERIFY(!action(QStringLiteral("New Field"))->isEnabled());
        QVERIFY(!editor()->buildBar()->sendButton()->isEnabled());
        QVERIFY(editor()->statusWidget()->isHidden());
    }

    void cleanup()
    {
        for (QAction *mode : {action(QStringLiteral("Enable")), action(QStringLiteral("Copy")),
                              action(QStringLiteral("Move")), action(QStringLiteral("Deletion"))})
            mode->setChecked(false);
        editor()->buildBar()->periodButton()->setChecked(false);
    }

    void newDocumentAndValueColumns()
    {
        freshDocument();
        QCOMPARE(editor()->rows().size(), 1);
        QCOMPARE(editor()->columns().size(), 1);
        QCOMPARE(editor()->currentColumn(), 0);
        QVERIFY(editor()->headerView()->isVisibleTo(editor()));
        QVERIFY(!editor()->workspace()->isPictureVisible());
        QCOMPARE(label("ProtocolDocumentLabel"), QStringLiteral("Untitled"));
        QCOMPARE(label("FieldCountLabel"), QStringLiteral("1"));
        QCOMPARE(label("ProtocolSizeLabel"), QStringLiteral("4"));

        QAction *newValueSet = action(QStringLiteral("New Value Set"));
        for (int i = 0; i < 3; ++i)
            newValueSet->trigger();
        QCOMPARE(editor()->columns().size(), 3);
        QCOMPARE(editor()->protocol()->GetValueCountPerField(), 3);
        QCOMPARE(editor()->currentColumn(), 2);
        QVERIFY(editor()->isModified());

        action(QStringLiteral("Deletion"))->setChecked(true);
        QVERIFY(row(0)->deleteButton()->isVisibleTo(editor()));
        QVERIFY(!editor()->columns().at(0)->deleteButton()->isVisibleTo(editor()));
        QVERIFY(editor()->columns().at(2)->deleteButton()->isVisibleTo(editor()));
        // Deleting the current column falls back to the first and renumbers.
        editor()->columns().at(2)->deleteButton()->click();
        QCOMPARE(editor()->columns().size(), 2);
        QCOMPARE(editor()->columns().at(1)->headerButton()->text(), QStringLiteral("2"));
        QCOMPARE(editor()->currentColumn(), 0);
        QVERIFY(!editor()->columns().at(0)->deleteButton()->isVisibleTo(editor()));
        action(QStringLiteral("Deletion"))->setChecked(false);
        QVERIFY(!editor()->columns().at(1)->deleteButton()->isVisibleTo(editor()));
    }

    void moveCopyAndNumbering()
    {
        freshDocument();
        action(QStringLiteral("New Field"))->trigger();
        action(QStringLiteral("New Field"))->trigger();
        rename(0, QStringLiteral("a"));
        rename(1, QStringLiteral("b"));
        rename(2, QStringLiteral("c"));
        QCOMPARE(fieldNames(), QStringList({"a", "b", "c"}));

        action(QStringLiteral("Move"))->setChecked(true);
        row(0)->moveUpButton()->click();
        row(2)->moveDownButton()->click();
        QCOMPARE(fieldNames(), QStringList({"a", "b", "c"}));
        row(0)->moveDownButton()->click();
        QCOMPARE(fieldNames(), QStringList({"b", "a", "c"}));
        QCOMPARE(row(0)->nameEdit()->text(), QStringLiteral("b"));
        QCOMPARE(rowNumbers(), QStringList({"1", "2", "3"}));

        // A name still being typed travels with a copy.
        action(QStringLiteral("Copy"))->setChecked(true);
        row(2)->nameEdit()->setFocus();
        QTest::keyClicks(row(2)->nameEdit(), QStringLiteral("d"));
        row(2)->copyUpButton()->click();
        QCOMPARE(fieldNames(), QStringList({"b", "a", "cd", "cd"}));

        // Insert at a position; the spin box never goes past the last row.
        QSpinBox *position = editor()->findChild<QSpinBox *>(QStringLiteral("InsertPositionSpin"));
        QCOMPARE(position->maximum(), 4);
        position->setValue(2);
        action(QStringLiteral("Insert Field At"))->trigger();
        QCOMPARE(fieldNames(), QStringList({"b", "", "a", "cd", "cd"}));

        while (editor()->rows().size() < 9)
            action(QStringLiteral("New Field"))->trigger();
        QCOMPARE(rowNumbers().first(), QStringLiteral("1"));
        action(QStringLiteral("New Field"))->trigger();
        QStringList expected;
        for (int i = 1; i <= 10; ++i)
            expected << QStringLiteral("%1").arg(i, 2);
        QCOMPARE(rowNumbers(), expected);

        action(QStringLiteral("Deletion"))->setChecked(true);
        row(0)->deleteButton()->click();
        QCOMPARE(rowNumbers().first(), QStringLiteral("1"));
        QCOMPARE(rowNumbers().last(), QStringLiteral("9"));
        QCOMPARE(label("FieldCountLabel"), QStringLiteral("9"));
        QCOMPARE(fieldNames().first(), QString());
    }

    void valuesInheritAndRevert()
    {
        freshDocument();
        action(QStringLiteral("New Value Set"))->trigger();
        action(QStringLiteral("New Value Set"))->trigger();
        editValue(0, 2, QStringLiteral("Fixed"), QStringLiteral("7"));
        QVERIFY(edit(0, 2)->isOverridden());
        QCOMPARE(edit(0, 2)->text(), QStringLiteral("Fixed: 7"));

        editValue(0, 0, QStringLiteral("Sequence"), QStringLiteral("1, 2"));
        QCOMPARE(edit(0, 0)->text(), QStringLiteral("Sequence: 1, 2"));
        QCOMPARE(paramsAt(0, 1), std::string("1, 2"));
        QCOMPARE(edit(0, 1)->text(), QString());
        QCOMPARE(edit(0, 1)->placeholderText(), QStringLiteral("inhiert from parent"));
        QCOMPARE(paramsAt(0, 2), std::string("7"));

        // An overridden value that is edited to the first column's own text
        // is still taken.
        editValue(0, 2, QStringLiteral("Sequence"), QStringLiteral("1, 2"));
        QCOMPARE(paramsAt(0, 2), std::string("1, 2"));
        QCOMPARE(editor()->protocol()->GetField(0)->GetValueMetaInfo(2)->GetValueGeneratorType(), Sequence);
        QVERIFY(edit(0, 2)->isOverridden());

        edit(0, 2)->revertAction()->trigger();
        QVERIFY(!edit(0, 2)->isOverridden());
        QCOMPARE(edit(0, 2)->text(), QString());
        editValue(0, 0, QStringLiteral("Fixed"), QStringLiteral("9"));
        QCOMPARE(paramsAt(0, 2), std::string("9"));

        // Accepting the value as it stands is no change.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("same.dvptc"));
        answerNextFileDialog(path);
        QVERIFY(editor()->saveDocumentAs());
        editValue(0, 1, QStringLiteral("Fixed"), QStringLiteral("9"));
        QVERIFY(!editor()->isModified());
        QVERIFY(!edit(0, 1)->isOverridden());
    }

    void valueDialogValidation_data()
    {
        QTest::addColumn<QString>("generator");
        QTest::addColumn<QString>("params");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("fixed one number") << "Fixed"
                                          << "0x7F" << true;
        QTest::newRow("fixed two numbers") << "Fixed"
                                           << "1,2" << false;
        QTest::newRow("fixed unparsable") << "Fixed"
                                          << "abc" << false;
        QTest::newRow("random needs two") << "Random"
                                          << "5" << false;
        QTest::newRow("random range") << "Random"
                                      << "5,10" << true;
        QTest::newRow("sequence bounded") << "Sequence"
                                          << "0,1,3" << true;
        QTest::newRow("sequence too many") << "Sequence"
                                           << "0,1,3,9" << false;
        QTest::newRow("array text") << "Array"
                                    << "\"AB\"" << true;
        QTest::newRow("array hex list") << "Array"
                                        << "0x[01 02]" << true;
        QTest::newRow("array empty") << "Array"
                                     << "" << false;
        QTest::newRow("block without count") << "Block"
                                             << "" << false;
        QTest::newRow("block count and fill") << "Block"
                                              << "4,0xFF" << true;
        QTest::newRow("datetime format") << "DateTime"
                                         << "\"hh:mm:ss\"" << true;
        QTest::newRow("datetime number") << "DateTime"
                                         << "5" << false;
        QTest::newRow("sin four") << "Sin"
                                  << "1000,0,10,1" << true;
        QTest::newRow("step three") << "Step"
                                    << "1000,0,1" << false;
    }
    void valueDialogValidation()
    {
        QFETCH(QString, generator);
        QFETCH(QString, params);
        QFETCH(bool, accepted);
        FieldEditDialog dialog(Application::instance()->context());
        dialog.setValue(10, Fixed, QStringLiteral("0"));
        QVERIFY(!dialog.findChild<QComboBox *>(QStringLiteral("cbxDataType"))->isEnabled());
        auto *generators = dialog.findChild<QComboBox *>(QStringLiteral("cbxGenerator"));
        generators->setCurrentIndex(generators->findText(generator));
        dialog.findChild<QLineEdit *>(QStringLiteral("txtParam"))->setText(params);
        QCOMPARE(dialog.findChild<QPushButton *>(QStringLiteral("btnOk"))->isEnabled(), accepted);
    }

    // Each generator shows the form of its parameter text, and the example
    // given is one the dialog accepts.
    void valueDialogHints()
    {
        FieldEditDialog dialog(Application::instance()->context());
        dialog.setValue(10, Fixed, QStringLiteral("0"));
        auto *generators = dialog.findChild<QComboBox *>(QStringLiteral("cbxGenerator"));
        auto *hint = dialog.findChild<QLabel *>(QStringLiteral("lblParamHint"));
        auto *params = dialog.findChild<QLineEdit *>(QStringLiteral("txtParam"));
        QVERIFY(hint);
        QCOMPARE(generators->count(), 9);
        QSet<QString> hints;
        for (int i = 0; i < generators->count(); ++i) {
            generators->setCurrentIndex(i);
            const QString text = hint->text();
            const int example = text.lastIndexOf(QStringLiteral("e.g. "));
            QVERIFY2(example > 0, qPrintable(text));
            params->setText(text.mid(example + 5));
            QVERIFY2(dialog.findChild<QPushButton *>(QStringLiteral("btnOk"))->isEnabled(), qPrintable(text));
            hints.insert(text);
        }
        QCOMPARE(hints.size(), 9);
        generators->setCurrentIndex(generators->findText(QStringLiteral("Sequence")));
        QCOMPARE(hint->text(), QStringLiteral("start, step[, end], e.g. 0, 1, 10"));
    }

    void sendOneFramePerClick()
    {
        MessageBoxCatcher boxes;
        composeBytes({QStringLiteral("0x41")});
        clickSend();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.texts().first(),
                 QStringLiteral("There is no active channel, no protocol can be sent!"));

        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        action(QStringLiteral("New Field"))->trigger();
        setType(1, 11);
        row(1)->endianButton()->click();
        QCOMPARE(row(1)->endianButton()->text(), QStringLiteral("B"));
        editValue(1, 0, QStringLiteral("Sequence"), QStringLiteral("0x1234, 1"));
        QCOMPARE(label("ProtocolSizeLabel"), QStringLiteral("3"));
        for (int i = 0; i < 3; ++i)
            clickSend();
        QCOMPARE(readMaster(pty.master(), 100, 500), QByteArray("\x41\x12\x34\x41\x12\x35\x41\x12\x36", 9));

        // A disabled field leaves the frame; the generators start over.
        action(QStringLiteral("Enable"))->setChecked(true);
        row(0)->enableButton()->click();
        editor()->buildBar()->resetButton()->click();
        // Resetting cannot fail: a status note, no dialog.
        QCOMPARE(label("ProtocolEditorMessage"), QStringLiteral("Generator reset done!"));
        QCOMPARE(boxes.count(), 1);
        clickSend();
        QCOMPARE(readMaster(pty.master(), 100, 500), QByteArray("\x12\x34", 2));

        // A second value set is sent once it is the current one.
        action(QStringLiteral("New Value Set"))->trigger();
        editValue(1, 1, QStringLiteral("Fixed"), QStringLiteral("0xBEEF"));
        clickSend();
        editor()->columns().at(0)->headerButton()->click();
        clickSend();
        QCOMPARE(readMaster(pty.master(), 100, 500), QByteArray("\xBE\xEF\x12\x34", 4));
        QCOMPARE(boxes.count(), 1);
    }

    void generatorsAdvanceOnEachSend_data()
    {
        QTest::addColumn<QString>("generator");
        QTest::addColumn<QString>("params");
        QTest::addColumn<int>("frameSize");
        QTest::newRow("sequence") << "Sequence"
                                  << "250, 5" << 1;
        QTest::newRow("sine from its minimum") << "Sin"
                                               << "600, 0, 200, 1" << 1;
        QTest::newRow("date and time") << "DateTime"
                                       << "\"ss.zzz\"" << 6;
    }
    void generatorsAdvanceOnEachSend()
    {
        QFETCH(QString, generator);
        QFETCH(QString, params);
        QFETCH(int, frameSize);
        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        composeBytes({QStringLiteral("0")});
        editValue(0, 0, generator, params);
        QCOMPARE(label("ProtocolSizeLabel"), QString::number(frameSize));
        QList<QByteArray> frames;
        for (int i = 0; i < 3; ++i) {
            clickSend();
            frames << readMaster(pty.master(), frameSize, 1000);
            QCOMPARE(frames.last().size(), frameSize);
            QTest::qWait(30);
        }
        // A wave may pass one level twice; the first step off its minimum
        // always shows.
        const bool wave = generator == QLatin1String("Sin");
        QVERIFY2(frames.at(0) != frames.at(1) && (wave || frames.at(1) != frames.at(2)),
                 frames.at(0).toHex() + " " + frames.at(1).toHex() + " " + frames.at(2).toHex());
        if (generator == QLatin1String("Sequence"))
            QCOMPARE(frames.at(0) + frames.at(1) + frames.at(2), QByteArray("\xFA\xFF\x04", 3));
        if (wave)
            QCOMPARE(frames.at(0), QByteArray(1, '\0'));
    }

    void deletingEveryFieldThenSendFailsToBuild()
    {
        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        composeBytes({QStringLiteral("1"), QStringLiteral("2")});
        clickSend();
        QCOMPARE(readMaster(pty.master(), 2, 1000), QByteArray("\x01\x02", 2));

        action(QStringLiteral("Deletion"))->setChecked(true);
        row(0)->deleteButton()->click();
        row(0)->deleteButton()->click();
        QVERIFY(editor()->rows().isEmpty());
        QVERIFY(editor()->headerView()->isHidden());
        QVERIFY(editor()->workspace()->isPictureVisible());
        QCOMPARE(label("ProtocolSizeLabel"), QStringLiteral("0"));
        QVERIFY(editor()->buildBar()->sendButton()->isEnabled());

        MessageBoxCatcher boxes;
        clickSend();
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().first(),
                 QStringLiteral("A problem occurred during build. Check data validity."));
        QCOMPARE(readMaster(pty.master(), 1, 200), QByteArray());
    }

    // A value whose frame cannot be made says so on Send, whatever the cause:
    // here a date-time format that gives no characters, so no bytes.
    void failedBuildsAlwaysReport()
    {
        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        composeBytes({QStringLiteral("0")});
        editValue(0, 0, QStringLiteral("DateTime"), QStringLiteral("\"yyy\""));
        QCOMPARE(label("ProtocolSizeLabel"), QStringLiteral("0"));
        MessageBoxCatcher boxes;
        clickSend();
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().first(),
                 QStringLiteral("A problem occurred during build. Check data validity."));
        QCOMPARE(readMaster(pty.master(), 1, 200), QByteArray());
    }

    void saveCloseAndOpenGiveTheSameFrames()
    {
        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        composeBytes({QStringLiteral("0x01"), QStringLiteral("0x03")});
        rename(0, QStringLiteral("address"));
        action(QStringLiteral("New Value Set"))->trigger();
        editValue(1, 1, QStringLiteral("Array"), QStringLiteral("\"OK\""));
        clickSend();
        const QByteArray before = readMaster(pty.master(), 3, 1000);
        QCOMPARE(before, QByteArray("\x01OK"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("request"));
        answerNextFileDialog(path);
        QVERIFY(editor()->saveDocumentAs());
        QCOMPARE(editor()->documentPath(), path + QStringLiteral(".dvptc"));
        QCOMPARE(label("ProtocolDocumentLabel"), QStringLiteral("request"));
        QVERIFY(!editor()->isModified());

        // Ctrl+S in the editor writes to the document's own file, unasked.
        rename(0, QStringLiteral("station"));
        MainWindow *window = Application::instance()->mainWindow();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        row(0)->nameEdit()->setFocus();
        QTest::keyClick(row(0)->nameEdit(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!editor()->isModified());

        freshDocument();
        MessageBoxCatcher boxes;
        QVERIFY(editor()->open(path + QStringLiteral(".dvptc")));
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(editor()->columns().size(), 2);
        QCOMPARE(editor()->currentColumn(), 0);
        QCOMPARE(fieldNames(), QStringList({"station", ""}));
        QVERIFY(edit(1, 1)->isOverridden());
        QVERIFY(!edit(0, 1)->isOverridden());
        editor()->columns().at(1)->headerButton()->click();
        clickSend();
        QCOMPARE(readMaster(pty.master(), 3, 1000), before);
    }

    void unreadableDocumentsKeepTheOpenOne_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not yaml at all") << QByteArray("\x01\x02 : : [");
        QTest::newRow("another document")
            << QByteArray("fileFormat: dorvane protocol-set file\nfileVersion: \"1.0\"\n");
        QTest::newRow("no fields") << QByteArray("fileFormat: dorvane protocol file\nfileVersion: \"1.0\"\n"
                                                 "protocol: {fields: 0, values: 1}\nfields: []\n");
        QTest::newRow("columns beyond the header") << QByteArray(
            "fileFormat: dorvane protocol file\nfileVersion: \"1.0\"\n"
            "protocol: {fields: 1, values: 9}\nfields:\n"
            "  - {name: a, tid: 10, endian: 1, enable: true, meta: [{generator: Fixed, params: \"1\"}]}\n");
    }
    void unreadableDocumentsKeepTheOpenOne()
    {
        QFETCH(QByteArray, content);
        composeBytes({QStringLiteral("5")});
        rename(0, QStringLiteral("kept"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("bad.dvptc"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();

        QVERIFY(!editor()->open(path));
        MessageBoxCatcher boxes;
        Application::instance()->mainWindow()->openProtocolFile(path);
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().first(),
                 QStringLiteral("Unable to open file: ") + QDir::toNativeSeparators(path));
        answerSaveQuestion("btnDoNotSave");
        answerNextFileDialog(path);
        action(QStringLiteral("Open Protocol"))->trigger();
        QTRY_COMPARE(boxes.count(), 2);
        QCOMPARE(boxes.texts().last(), boxes.texts().first());
        QCOMPARE(fieldNames(), QStringList({"kept"}));
        QCOMPARE(editor()->rows().size(), 1);
        QVERIFY(editor()->isModified());
    }

    // Another window handing the editor a file never drops what was typed.
    void openFromAnotherWindowAsksFirst()
    {
        composeBytes({QStringLiteral("1")});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("other.dvptc"));
        answerNextFileDialog(path);
        QVERIFY(editor()->saveDocumentAs());
        composeBytes({QStringLiteral("2"), QStringLiteral("3")});

        answerSaveQuestion("btnCancel");
        QVERIFY(!editor()->open(path));
        QCOMPARE(editor()->rows().size(), 2);
        QVERIFY(editor()->isModified());

        answerSaveQuestion("btnDoNotSave");
        Application::instance()->mainWindow()->openProtocolFile(path);
        QCOMPARE(editor()->rows().size(), 1);
        QCOMPARE(editor()->documentPath(), path);
        QVERIFY(!editor()->isModified());
    }

    void failedSaveKeepsTheDocumentModified()
    {
        composeBytes({QStringLiteral("5")});
        QTemporaryDir dir;
        // A folder that is a regular file refuses every writer, root too.
        QFile blocker(dir.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString path = dir.filePath(QStringLiteral("blocker/protocol.dvptc"));

        MessageBoxCatcher boxes;
        answerNextFileDialog(path);
        QVERIFY(!editor()->saveDocumentAs());
        QVERIFY(boxes.waitForBox());
        QVERIFY2(boxes.texts().first().contains(QDir::toNativeSeparators(path)),
                 qPrintable(boxes.texts().first()));
        QVERIFY(boxes.texts().first().contains(QStringLiteral("not a directory")));
        QCOMPARE(boxes.titles().first(), QStringLiteral("Dorvane"));
        QVERIFY(editor()->isModified());
        QVERIFY(editor()->documentPath().isEmpty());
        QCOMPARE(label("ProtocolDocumentLabel"), QStringLiteral("Untitled"));

        // Closing the main window asks; Cancel keeps everything.
        answerSaveQuestion("btnCancel");
        QVERIFY(!Application::instance()->mainWindow()->close());
        QVERIFY(Application::instance()->mainWindow()->isVisible());
        QCOMPARE(editor()->rows().size(), 1);
        QVERIFY(editor()->isModified());
    }

    void periodicSendingOwnership()
    {
        PtyChannel pty;
        if (!pty.pty.isOpen())
            DORVANE_PEER_MISSING("no pseudo-terminal available (openpty failed)");
        QVERIFY(pty.open);
        composeBytes({QStringLiteral("0x55")});
        TxProtocolBuildBar *bar = editor()->buildBar();
        bar->intervalSpin()->setValue(10);
        bar->periodButton()->setChecked(true);

        clickSend();
        QTRY_COMPARE(bar->sendButton()->text(), QStringLiteral("Stop Send"));
        QVERIFY(!bar->periodButton()->isEnabled());
        QCOMPARE(Application::instance()->channelTracker()->trackedDescription(),
                 QStringLiteral("Protocol Editor"));
        QVERIFY(readMaster(pty.master(), 5, 2000).startsWith("\x55\x55\x55\x55\x55"));
        clickSend();
        QTRY_COMPARE(bar->sendButton()->text(), QStringLiteral("Send"));
        QVERIFY(bar->periodButton()->isEnabled());
        QVERIFY(!proxy()->isPeriodSendRun());

        // Another window's periodic sending is named and left alone.
        QObject other;
        struct Idle : IPeriodSendCallback
        {
            void periodSend() override {}
        } idle;
        QVERIFY(Application::instance()->channelTracker()->track(&other, QStringLiteral("Transmit Window")));
        proxy()->startPeriodSend(&idle, 10);
        QTRY_VERIFY(proxy()->isPeriodSendRun());
        MessageBoxCatcher boxes;
        clickSend();
        QVERIFY(boxes.waitForBox());
        QCOMPARE(boxes.texts().first(),
                 QStringLiteral("Periodic sending has been turned on: Transmit Window"));
        QVERIFY(proxy()->isPeriodSendRun());
        QCOMPARE(bar->sendButton()->text(), QStringLiteral("Send"));
        proxy()->stopPeriodSend();
        QTRY_VERIFY(!proxy()->isPeriodSendRun());
    }
};

DORVANE_APP_TEST_MAIN(TestProtocolEditor)
#include "tst_protocoleditor.moc"

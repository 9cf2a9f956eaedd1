// The interpret window on the real widgets of a started application: every
// row for picked bytes in both byte orders and number bases, the text rows,
// and the tool bar that drives picking in the dialogue view.
#include "apptestsupport.h"

#include "shell/mainwindow.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"
#include "windows/interpret/interpretwindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

namespace {

InterpretWindow *window()
{
    return Application::instance()->mainWindow()->interpretWindow();
}

template<typename T>
T *child(const char *name)
{
    return window()->findChild<T *>(QLatin1String(name));
}

QAction *toolAction(const QString &text)
{
    for (QAction *action : window()->findChildren<QAction *>())
        if (action->text() == text)
            return action;
    return nullptr;
}

void setOptions(bool bigEndian, bool hex)
{
    child<QToolButton>("btnBigEndian")->setChecked(bigEndian);
    child<QToolButton>("btnHexNumbers")->setChecked(hex);
}

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

} // namespace

class TestInterpretWindow : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void emptyPickKeepsValues();
    void textRows_data();
    void textRows();
    void pickInDialogueReachesRows();
};

void TestInterpretWindow::rows_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QStringList>("expected"); // rows 0 to 14

    const QString z = QStringLiteral("0");
    QTest::newRow("0xFF") << bytes({0xFF}) << false << false
                          << QStringList{"11111111", "-1", "255", z, z, z, z, z, z, z, z, z, z, z, z};
    QTest::newRow("0xFF hex") << bytes({0xFF}) << false << true
                              << QStringList{"11111111", "0xFF", "0xFF", z, z, z, z, z, z, z, z, z, z, z, z};
    QTest::newRow("01 00 little") << bytes({1, 0}) << false << false
                                  << QStringList{"00000001", "1", "1", "1", "1", z, z, z,
                                                 z,          z,   z,   z,   z,   z, z};
    QTest::newRow("01 00 big") << bytes({1, 0}) << true << false
                               << QStringList{"00000001", "1", "1", "256", "256", z, z, z,
                                              z,          z,   z,   z,     z,     z, z};
    // 1.0f little-endian, then 8 bytes: every number row, no time and no GUID.
    QTest::newRow("eight bytes") << bytes({0, 0, 0x80, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF}) << false << false
                                 << QStringList{"00000000",
                                                "0",
                                                "0",
                                                "0",
                                                "0",
                                                "1065353216",
                                                "1065353216",
                                                "1065353216",
                                                "1065353216",
                                                "-7524581376",
                                                "18446744066184970240",
                                                "1.0000000",
                                                "nan",
                                                "N/A",
                                                "N/A"};
    QTest::newRow("eight bytes hex big") << bytes({0xC0, 0, 0, 0, 0, 0, 0, 0}) << true << true
                                         << QStringList{"11000000",
                                                        "0xC0",
                                                        "0xC0",
                                                        "0xC000",
                                                        "0xC000",
                                                        "0xC0000000",
                                                        "0xC0000000",
                                                        "0xC0000000",
                                                        "0xC0000000",
                                                        "0xC000000000000000",
                                                        "0xC000000000000000",
                                                        "0xC0000000",
                                                        "0xC000000000000000",
                                                        "N/A",
                                                        "N/A"};
    QTest::newRow("double -2") << bytes({0, 0, 0, 0, 0, 0, 0, 0xC0}) << false << false
                               << QStringList{"00000000",
                                              "0",
                                              "0",
                                              "0",
                                              "0",
                                              "0",
                                              "0",
                                              "0",
                                              "0",
                                              "-4611686018427387904",
                                              "13835058055282163712",
                                              "0.0000000",
                                              "-2",
                                              "N/A",
                                              "N/A"};

    const QByteArray time = bytes({0xE8, 0x07, 3, 0, 2, 0, 5, 0, 12, 0, 34, 0, 56, 0, 0x15, 0x03});
    QTest::newRow("system time") << time << false << false
                                 << QStringList{"11101000",
                                                "-24",
                                                "232",
                                                "2024",
                                                "2024",
                                                "198632",
                                                "198632",
                                                "198632",
                                                "198632",
                                                "1407383473686504",
                                                "1407383473686504",
                                                "0.0000000",
                                                "6.9533982487322e-309",
                                                "2024-03-05 12:34:56.789",
                                                "{000307e8-0002-0005-0c00-22003800"
                                                "1503}"};
    QByteArray month13 = time;
    month13[2] = 13;
    QByteArray april31 = time;
    april31[2] = 4;
    april31[6] = 31;
    QByteArray swapped;
    for (int i = 0; i < 16; i += 2)
        swapped += time.mid(i + 1, 1) + time.mid(i, 1);
    QTest::newRow("month 13") << month13 << false << false << QStringList();
    QTest::newRow("31 April") << april31 << false << false << QStringList();
    QTest::newRow("system time big-endian") << swapped << true << false << QStringList();

    QByteArray counting;
    for (int i = 0; i < 17; ++i)
        counting.append(char(i));
    QTest::newRow("guid little") << counting << false << false << QStringList();
    QTest::newRow("guid big") << counting << true << false << QStringList();
}

void TestInterpretWindow::rows()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, bigEndian);
    QFETCH(bool, hex);
    QFETCH(QStringList, expected);

    setOptions(bigEndian, hex);
    window()->setData(data);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    if (tag == QLatin1String("month 13") || tag == QLatin1String("31 April")) {
        QCOMPARE(window()->valueText(13), QStringLiteral("N/A"));
        return;
    }
    if (tag == QLatin1String("system time big-endian")) {
        QCOMPARE(window()->valueText(13), QStringLiteral("2024-03-05 12:34:56.789"));
        return;
    }
    if (tag.startsWith(QLatin1String("guid"))) {
        QCOMPARE(window()->valueText(14), bigEndian
                                              ? QStringLiteral("{00010203-0405-0607-0809-0a0b0c0d0e0f}")
                                              : QStringLiteral("{03020100-0504-0706-0809-0a0b0c0d0e0f}"));
        return;
    }
    QStringList shown;
    for (int row = 0; row < 15; ++row)
        shown << window()->valueText(row);
    QCOMPARE(shown, expected);
}

void TestInterpretWindow::emptyPickKeepsValues()
{
    window()->setData(bytes({0x7F}));
    window()->setData(QByteArray());
    QCOMPARE(window()->valueText(2), QStringLiteral("127"));
    QCOMPARE(window()->data(), bytes({0x7F}));
}

void TestInterpretWindow::textRows_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("expected"); // Latin1, Utf8, Utf16, Ucs4

    QTest::newRow("zero byte ends the 8-bit texts")
        << QByteArray("AB\0CD", 5) << QStringList{"AB", "AB", "\u4241\u4300", "\uFFFD"};
    QTest::newRow("zero unit ends utf-16")
        << QByteArray("A\0B\0\0\0C\0", 8) << QStringList{"A", "A", "AB", "\uFFFD\uFFFD"};
    QTest::newRow("big-endian mark") << QByteArray("\xFE\xFF\0A\0B", 6)
                                     << QStringList{"\u00FE\u00FF", "\uFFFD\uFFFD", "AB", "\uFFFD"};
    QTest::newRow("ucs-4, odd tail left alone") << QByteArray("A\0\0\0\x01\xF6\x01\0\x7F", 9)
                                                << QStringList{"A", "A", "A", QStringLiteral("A\U0001F601")};
    QTest::newRow("zero unit ends ucs-4")
        << QByteArray("A\0\0\0\0\0\0\0B\0\0\0", 12) << QStringList{"A", "A", "A", "A"};
    QTest::newRow("markup and line break shown as plain text")
        << QByteArray("<b>x</b>\n") << QStringList{"<b>x</b> ", "<b>x</b> ", "*", "*"};
}

void TestInterpretWindow::textRows()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, expected);
    QToolButton *inspectText = child<QToolButton>("btnInspectText");
    if (window()->inspectText())
        QTest::mouseClick(inspectText, Qt::LeftButton);
    window()->setData(data);
    QCOMPARE(window()->valueText(15), QStringLiteral("0"));

    QTest::mouseClick(inspectText, Qt::LeftButton);
    QVERIFY(window()->inspectText());
    QVERIFY(inspectText->isChecked());
    for (int i = 0; i < 4; ++i) {
        if (expected.at(i) != QLatin1String("*"))
            QCOMPARE(window()->valueText(15 + i), expected.at(i));
        QCOMPARE(window()->valueLabels().at(15 + i)->textFormat(), Qt::PlainText);
    }

    // Off again: the text rows are cleared and stay so on refresh.
    QTest::mouseClick(inspectText, Qt::LeftButton);
    QVERIFY(!inspectText->isChecked());
    QCOMPARE(window()->valueText(16), QString());
    window()->setData(data);
    QCOMPARE(window()->valueText(16), QStringLiteral("0"));
}

void TestInterpretWindow::pickInDialogueReachesRows()
{
    setOptions(false, false);
    MainWindow *main = Application::instance()->mainWindow();
    main->resize(1200, 700);
    DialogueWindow *dialogue = main->dialogueWindow();
    EchoTextEdit *edit = dialogue->echoEdit();
    QTRY_VERIFY(edit->viewport()->width() > 300);

    QVERIFY(!dialogue->interpretEnabled(0));
    toolAction(QStringLiteral("Inspect Rx Data"))->trigger();
    QVERIFY(dialogue->interpretEnabled(0));
    toolAction(QStringLiteral("Inspect Tx Data"))->trigger();
    QVERIFY(dialogue->interpretEnabled(1));
    toolAction(QStringLiteral("Inspect Tx Data"))->trigger();
    QVERIFY(!dialogue->interpretEnabled(1));
    child<QComboBox>("cbxMouseMode")->setCurrentIndex(1);
    QCOMPARE(edit->interpretTrigger(), 1);
    child<QComboBox>("cbxMouseMode")->setCurrentIndex(0);
    QCOMPARE(edit->interpretTrigger(), 0);

    edit->setDisplayLabel(false);
    dialogue->echoReceived(bytes({0x01, 0xAB, 0x00, 0x01}));
    edit->flushEcho();
    const QTextBlock block = edit->document()->lastBlock();
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + 3);
    const QRect at = edit->cursorRect(cursor);
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, at.center() + QPoint(2, 0));
    QCOMPARE(window()->data(), bytes({0xAB, 0x00, 0x01}));
    QCOMPARE(window()->valueText(2), QStringLiteral("171"));
    QCOMPARE(window()->valueText(3), QStringLiteral("171"));
    toolAction(QStringLiteral("Inspect Rx Data"))->trigger();
    QVERIFY(!dialogue->interpretEnabled(0));
}

DORVANE_APP_TEST_MAIN(TestInterpretWindow)
#include "tst_interpretwindow.moc"

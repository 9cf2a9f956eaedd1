// The factories and layout helpers.
#include <dorvane/WdxWidgets.h>

#include <QActionGroup>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QToolButton>
#include <QtTest>

class TestWdxFactories : public QObject
{
    Q_OBJECT

private slots:
    void layoutWidgetsAddsStretchesForNullEntries();
    void layoutWidgetsMarginsAndSpacing();
    void layoutWidgetsRefusesWhatItCannotLayOut();
    void spacerItemsFollowTheOrientation_data();
    void spacerItemsFollowTheOrientation();
    void spacerWidgets();
    void dockWidgetAreas_data();
    void dockWidgetAreas();
    void buttonsAndBoxes();
    void groupsSkipNullEntries();
};

void TestWdxFactories::layoutWidgetsAddsStretchesForNullEntries()
{
    QWidget parent;
    QLabel *a = new QLabel;
    QLabel *b = new QLabel;
    QBoxLayout *layout = Wdx::layoutWidgets(Qt::Horizontal, &parent, {a, nullptr, b});
    QVERIFY(layout);
    QCOMPARE(parent.layout(), layout);
    QCOMPARE(layout->direction(), QBoxLayout::LeftToRight);
    QCOMPARE(layout->count(), 3);
    QCOMPARE(layout->itemAt(0)->widget(), a);
    QVERIFY(layout->itemAt(1)->spacerItem());
    QVERIFY(layout->itemAt(1)->expandingDirections() & Qt::Horizontal);
    QCOMPARE(layout->itemAt(2)->widget(), b);
    QCOMPARE(a->parentWidget(), &parent);

    QWidget column;
    QBoxLayout *vertical = Wdx::layoutWidgets(Qt::Vertical, &column, {nullptr, new QLabel});
    QVERIFY(vertical);
    QCOMPARE(vertical->direction(), QBoxLayout::TopToBottom);
    QVERIFY(vertical->itemAt(0)->expandingDirections() & Qt::Vertical);
}

void TestWdxFactories::layoutWidgetsMarginsAndSpacing()
{
    QWidget styled;
    QWidget reference;
    QBoxLayout *defaults = Wdx::layoutWidgets(Qt::Horizontal, &styled, {});
    QBoxLayout *plain = new QBoxLayout(QBoxLayout::LeftToRight, &reference);
    QCOMPARE(defaults->contentsMargins(), plain->contentsMargins());
    QCOMPARE(defaults->spacing(), plain->spacing());

    QWidget even;
    QBoxLayout *layout = Wdx::layoutWidgets(Qt::Horizontal, &even, {new QLabel}, 0, 7);
    QCOMPARE(layout->contentsMargins(), QMargins(0, 0, 0, 0));
    QCOMPARE(layout->spacing(), 7);

    QWidget uneven;
    layout = Wdx::layoutWidgets(Qt::Vertical, &uneven, {new QLabel}, QMargins(1, 2, 3, 4), 0);
    QCOMPARE(layout->contentsMargins(), QMargins(1, 2, 3, 4));
    QCOMPARE(layout->spacing(), 0);
}

void TestWdxFactories::layoutWidgetsRefusesWhatItCannotLayOut()
{
    QWidget parent;
    QVERIFY(!Wdx::layoutWidgets(static_cast<Qt::Orientation>(0), &parent, {new QLabel(&parent)}));
    QVERIFY(!Wdx::layoutWidgets(static_cast<Qt::Orientation>(3), &parent, {}, QMargins()));
    QCOMPARE(parent.layout(), nullptr);

    QBoxLayout *first = Wdx::layoutWidgets(Qt::Horizontal, &parent, {});
    QVERIFY(first);
    QVERIFY(!Wdx::layoutWidgets(Qt::Vertical, &parent, {}));
    QCOMPARE(parent.layout(), first);

    // Without a parent the layout is free to be installed elsewhere.
    QScopedPointer<QBoxLayout> loose(Wdx::layoutWidgets(Qt::Vertical, nullptr, {}));
    QVERIFY(loose);
}

void TestWdxFactories::spacerItemsFollowTheOrientation_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("hint");
    QTest::addColumn<int>("horizontal");
    QTest::addColumn<int>("vertical");
    QTest::newRow("horizontal fixed")
        << int(Qt::Horizontal) << 30 << QSize(30, 20) << int(QSizePolicy::Fixed) << int(QSizePolicy::Minimum);
    QTest::newRow("horizontal expanding") << int(Qt::Horizontal) << 0 << QSize(0, 20)
                                          << int(QSizePolicy::Expanding) << int(QSizePolicy::Minimum);
    QTest::newRow("vertical fixed") << int(Qt::Vertical) << 1 << QSize(20, 1) << int(QSizePolicy::Minimum)
                                    << int(QSizePolicy::Fixed);
    QTest::newRow("vertical expanding") << int(Qt::Vertical) << -5 << QSize(20, 0)
                                        << int(QSizePolicy::Minimum) << int(QSizePolicy::Expanding);
}

void TestWdxFactories::spacerItemsFollowTheOrientation()
{
    QFETCH(int, orientation);
    QFETCH(int, size);
    QFETCH(QSize, hint);
    QFETCH(int, horizontal);
    QFETCH(int, vertical);
    QScopedPointer<QSpacerItem> spacer(Wdx::createSpacer(static_cast<Qt::Orientation>(orientation), size));
    QVERIFY(spacer);
    QCOMPARE(spacer->sizeHint(), hint);
    QCOMPARE(int(spacer->sizePolicy().horizontalPolicy()), horizontal);
    QCOMPARE(int(spacer->sizePolicy().verticalPolicy()), vertical);
    QCOMPARE(Wdx::createSpacer(static_cast<Qt::Orientation>(0), 10), nullptr);
}

void TestWdxFactories::spacerWidgets()
{
    QScopedPointer<QWidget> fixed(Wdx::createSpacerWidget(Qt::Horizontal, 25));
    QCOMPARE(fixed->minimumWidth(), 25);
    QCOMPARE(fixed->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    QCOMPARE(fixed->sizePolicy().verticalPolicy(), QSizePolicy::Preferred);
    QScopedPointer<QWidget> expanding(Wdx::createSpacerWidget(Qt::Vertical, 0));
    QCOMPARE(expanding->minimumHeight(), 0);
    QCOMPARE(expanding->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(expanding->sizePolicy().horizontalPolicy(), QSizePolicy::Preferred);
}

void TestWdxFactories::dockWidgetAreas_data()
{
    QTest::addColumn<bool>("leftRight");
    QTest::addColumn<bool>("topBottom");
    QTest::addColumn<int>("areas");
    QTest::newRow("both") << true << true << int(Qt::AllDockWidgetAreas);
    QTest::newRow("sides") << true << false << int(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    QTest::newRow("ends") << false << true << int(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    QTest::newRow("none") << false << false << int(Qt::NoDockWidgetArea);
}

void TestWdxFactories::dockWidgetAreas()
{
    QFETCH(bool, leftRight);
    QFETCH(bool, topBottom);
    QFETCH(int, areas);
    QWidget owner;
    QLabel *content = new QLabel;
    QDockWidget *dock
        = Wdx::createDockWidget(&owner, content, QStringLiteral("History"), leftRight, topBottom);
    QCOMPARE(int(dock->allowedAreas()), areas);
    QCOMPARE(dock->widget(), content);
    QCOMPARE(dock->windowTitle(), QStringLiteral("History"));
    QCOMPARE(dock->parentWidget(), &owner);
}

void TestWdxFactories::buttonsAndBoxes()
{
    QScopedPointer<QPushButton> plain(Wdx::createPushButton(QStringLiteral("Send"), QString(), false, true));
    QVERIFY(!plain->isCheckable());
    QVERIFY(!plain->isChecked());
    QVERIFY(plain->objectName().isEmpty());
    QScopedPointer<QPushButton> toggle(
        Wdx::createPushButton(QStringLiteral("Hex"), QStringLiteral("HexButton"), true, true));
    QVERIFY(toggle->isChecked());
    QCOMPARE(toggle->objectName(), QStringLiteral("HexButton"));

    QScopedPointer<QToolButton> tool(Wdx::createToolButton(QIcon(), QStringLiteral("Run"), true, false));
    QCOMPARE(tool->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(tool->isCheckable() && !tool->isChecked());

    QScopedPointer<QDoubleSpinBox> box(
        Wdx::createDoubleSpinBox(0.5, 2.5, 9.0, 60, true, QStringLiteral(" s")));
    QCOMPARE(box->value(), 2.5); // clamped into the range
    QCOMPARE(box->minimumWidth(), 60);
    QCOMPARE(box->buttonSymbols(), QAbstractSpinBox::UpDownArrows);
    QCOMPARE(box->suffix(), QStringLiteral(" s"));

    QScopedPointer<QLabel> label(
        Wdx::createLabel(QStringLiteral("Rx"), QStringLiteral("RxCounter"), Qt::AlignRight));
    QCOMPARE(label->objectName(), QStringLiteral("RxCounter"));
    QCOMPARE(label->alignment(), Qt::Alignment(Qt::AlignRight));
}

void TestWdxFactories::groupsSkipNullEntries()
{
    QObject owner;
    QAction a(QStringLiteral("a")), b(QStringLiteral("b"));
    QActionGroup *actions = Wdx::createActionGroup(&owner, {&a, nullptr, &b}, false);
    QCOMPARE(actions->actions().size(), 2);
    QVERIFY(!actions->isExclusive());
    QPushButton x, y;
    QButtonGroup *buttons = Wdx::createButtonGroup(&owner, {nullptr, &x, &y});
    QCOMPARE(buttons->buttons().size(), 2);
    QVERIFY(buttons->exclusive());
}

QTEST_MAIN(TestWdxFactories)
#include "tst_wdxfactories.moc"

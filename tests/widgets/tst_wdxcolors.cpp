// Colour picking: the palette grid and the colour block.
#include <dorvane/WdxWidgets.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

void moveTo(QWidget *widget, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void releaseAt(QWidget *widget, const QPoint &pos)
{
    QMouseEvent release(QEvent::MouseButtonRelease, pos, widget->mapToGlobal(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

QColor pixel(QWidget *widget, int x, int y)
{
    return widget->grab().toImage().pixelColor(x, y);
}

} // namespace

class TestWdxColors : public QObject
{
    Q_OBJECT

private slots:
    void fixedBlocksRunRowByRowAndBoundTheWidget();
    void stretchedBlocksShareTheWidgetRoom();
    void emptyGridHasNoBlocks();
    void releaseSelectsOnlyAnotherHoveredBlock();
    void unknownColourLeavesNothingCurrent();
    void paletteReplacementResetsTheCurrentBlock();
    void colourBlockPaintsItsHalvesByMode();
    void colourBlockSignals();
};

void TestWdxColors::fixedBlocksRunRowByRowAndBoundTheWidget()
{
    WdxPaletteWidget palette;
    QCOMPARE(palette.rows(), 3);
    QCOMPARE(palette.columns(), 4);
    QCOMPARE(palette.colors().size(), 12);
    QCOMPARE(palette.currentColor(), QColor(255, 0, 0));
    QCOMPARE(palette.blockRect(0), QRect(5, 5, 40, 40));
    QCOMPARE(palette.blockRect(3), QRect(5 + 3 * 43, 5, 40, 40));
    QCOMPARE(palette.blockRect(4), QRect(5, 48, 40, 40)); // wraps after the column count
    QCOMPARE(palette.blockRect(11), QRect(5 + 3 * 43, 5 + 2 * 43, 40, 40));
    QVERIFY(palette.blockRect(12).isNull());
    QVERIFY(palette.blockRect(-1).isNull());
    QCOMPARE(palette.maximumSize(), QSize(4 * 40 + 3 * 3 + 10, 3 * 40 + 2 * 3 + 10));

    palette.setMsPaintPalette();
    QCOMPARE(palette.colors().size(), 10);
    QCOMPARE(palette.colors().at(7), QColor(255, 255, 255));
    QCOMPARE(palette.maximumSize(), QSize(5 * 40 + 4 * 3 + 10, 2 * 40 + 3 + 10));

    QCOMPARE(palette.blockAt(QPoint(5, 5)), 0);
    QCOMPARE(palette.blockAt(QPoint(46, 10)), -1); // in the spacing
    QCOMPARE(palette.blockAt(QPoint(48, 50)), 6);
}

void TestWdxColors::stretchedBlocksShareTheWidgetRoom()
{
    WdxPaletteWidget palette;
    palette.setScaledContents(false);
    palette.resize(200, 100);
    QCOMPARE(palette.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    // (200 - 10 - 9) / 4 = 45, (100 - 10 - 6) / 3 = 28
    QCOMPARE(palette.blockRect(0), QRect(5, 5, 45, 28));
    QCOMPARE(palette.blockRect(5), QRect(5 + 48, 5 + 31, 45, 28));
    palette.setMargins(QMargins(1, 2, 3, 4));
    palette.setSpacing(0);
    QCOMPARE(palette.blockRect(0), QRect(1, 2, 49, 31));
}

void TestWdxColors::emptyGridHasNoBlocks()
{
    WdxPaletteWidget palette;
    palette.setPaletteSize(-1, 5);
    QCOMPARE(palette.columns(), 4);
    palette.setScaledContents(false);
    palette.setPaletteSize(0, 0);
    palette.resize(100, 100);
    QCOMPARE(palette.blockCount(), 0);
    QVERIFY(palette.blockRect(0).isNull());
    QCOMPARE(palette.blockAt(QPoint(10, 10)), -1);
    palette.grab(); // painting an empty grid must not divide by zero
}

void TestWdxColors::releaseSelectsOnlyAnotherHoveredBlock()
{
    WdxPaletteWidget palette;
    palette.resize(palette.maximumSize());
    QSignalSpy changed(&palette, &WdxPaletteWidget::currentColorChanged);
    const QPoint overCurrent = palette.blockRect(0).center();
    const QPoint overBlock6 = palette.blockRect(6).center();

    releaseAt(&palette, overBlock6); // nothing hovered yet
    QCOMPARE(changed.count(), 0);

    moveTo(&palette, overCurrent);
    QCOMPARE(palette.hoverIndex(), 0);
    releaseAt(&palette, overCurrent);
    QCOMPARE(changed.count(), 0);

    moveTo(&palette, overBlock6);
    QCOMPARE(palette.hoverIndex(), 6);
    releaseAt(&palette, QPoint(-3, -3)); // dragged out of the widget
    QCOMPARE(changed.count(), 0);
    QCOMPARE(palette.currentIndex(), 0);

    releaseAt(&palette, overBlock6);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QColor>(), QColor(128, 0, 128));
    QCOMPARE(palette.currentIndex(), 6);
    releaseAt(&palette, overBlock6); // already current
    QCOMPARE(changed.count(), 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&palette, &leave);
    QCOMPARE(palette.hoverIndex(), -1);
}

void TestWdxColors::unknownColourLeavesNothingCurrent()
{
    WdxPaletteWidget palette;
    QSignalSpy changed(&palette, &WdxPaletteWidget::currentColorChanged);
    palette.setCurrentColor(QColor(165, 42, 42));
    QCOMPARE(palette.currentIndex(), 10);
    QVERIFY(palette.hasColor(QColor(50, 205, 50)));
    QVERIFY(!palette.hasColor(QColor(1, 2, 3)));
    palette.setCurrentColor(QColor(1, 2, 3));
    QCOMPARE(palette.currentIndex(), -1);
    QCOMPARE(palette.currentColor(), QColor(Qt::transparent));
    QCOMPARE(changed.count(), 0);
}

void TestWdxColors::paletteReplacementResetsTheCurrentBlock()
{
    WdxPaletteWidget palette;
    palette.setCurrentColor(QColor(128, 128, 128));
    palette.setPalette(QList<QColor>{Qt::red, Qt::green});
    QCOMPARE(palette.currentIndex(), 0);
    palette.setPalette(QList<QColor>());
    QCOMPARE(palette.currentIndex(), -1);
    QCOMPARE(palette.currentColor(), QColor(Qt::transparent));

    // Blocks beyond a short list select transparent.
    palette.setPalette(QList<QColor>{Qt::red});
    palette.resize(palette.maximumSize());
    moveTo(&palette, palette.blockRect(5).center());
    QSignalSpy changed(&palette, &WdxPaletteWidget::currentColorChanged);
    releaseAt(&palette, palette.blockRect(5).center());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<QColor>(), QColor(Qt::transparent));
    QCOMPARE(palette.currentColor(), QColor(Qt::transparent));
}

void TestWdxColors::colourBlockPaintsItsHalvesByMode()
{
    WdxColorBlockLabel block;
    block.resize(24, 24);
    const QColor translucent(255, 0, 0, 100);
    block.setColor(translucent);
    const QPoint left(5, 12), right(18, 12);

    QCOMPARE(pixel(&block, left.x(), left.y()), QColor(255, 0, 0));
    QCOMPARE(pixel(&block, right.x(), right.y()), QColor(255, 0, 0));

    block.setDisplayMode(WdxColorBlockLabel::SplitAlpha);
    QCOMPARE(pixel(&block, left.x(), left.y()), QColor(255, 0, 0));
    QVERIFY(pixel(&block, right.x(), right.y()) != QColor(255, 0, 0));

    block.setDisplayMode(WdxColorBlockLabel::AllAlpha);
    QVERIFY(pixel(&block, left.x(), left.y()) != QColor(255, 0, 0));

    block.setDisplayMode(WdxColorBlockLabel::SplitColor);
    block.setComparisonColor(Qt::blue);
    block.setColor(Qt::green);
    QCOMPARE(pixel(&block, left.x(), left.y()), QColor(Qt::blue));
    QCOMPARE(pixel(&block, right.x(), right.y()), QColor(Qt::green));
}

void TestWdxColors::colourBlockSignals()
{
    WdxColorBlockLabel block;
    block.resize(24, 24);
    QSignalSpy colorChanged(&block, &WdxColorBlockLabel::colorChanged);
    QSignalSpy clicked(&block, &WdxColorBlockLabel::clicked);
    block.setColor(Qt::green);
    block.setColor(Qt::green);
    QCOMPARE(colorChanged.count(), 2); // also when unchanged
    releaseAt(&block, QPoint(30, 30));
    QCOMPARE(clicked.count(), 0);
    releaseAt(&block, QPoint(10, 10));
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestWdxColors)
#include "tst_wdxcolors.moc"

// Widgets that hold or present others: the roll-up group, the blank placeholder, links, separators and
// the bars.
#include <dorvane/WdxWidgets.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

Qt::CursorShape overrideShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::BitmapCursor;
}

void sendPlain(QWidget *widget, QEvent::Type type)
{
    QEvent event(type);
    QApplication::sendEvent(widget, &event);
}

int textWidth(const QFont &font, int pixelSize, const QString &text)
{
    QFont sized(font);
    sized.setPixelSize(pixelSize);
    return QFontMetrics(sized).horizontalAdvance(text);
}

} // namespace

class TestWdxContainers : public QObject
{
    Q_OBJECT

private slots:
    void rollupHidesAndRestoresItsBody();
    void rollupKeepsRequestedHidingAcrossExpand();
    void rollupForgetsDeletedAndClearedWidgets();
    void blankTextTakesTheLargestFittingSize();
    void blankPictureSitsAboveTheText();
    void blankSvgTakesPrecedenceOverThePixmap();
    void hyperlinkCursorIsRestoredOnce();
    void hyperlinkPressEmitsClicked();
    void separatorLineStartsAfterTheTitle();
    void toolBarHelpers();
    void infoAndStatusBarHelpers();
};

void TestWdxContainers::rollupHidesAndRestoresItsBody()
{
    WdxRoolupWidget rollup;
    QCOMPARE(rollup.text(), QStringLiteral("Untitled"));
    QLabel a(QStringLiteral("a")), b(QStringLiteral("b"));
    rollup.addWidget(&a);
    rollup.addWidget(&b);
    rollup.addWidget(&a);
    QCOMPARE(rollup.widgets().size(), 2);
    rollup.show();
    QVERIFY(rollup.isExpanded());
    QVERIFY(a.isVisible() && b.isVisible());

    QToolButton *button = rollup.findChild<QToolButton *>(QStringLiteral("RollupButton"));
    QVERIFY(button);
    QVERIFY(rollup.findChild<QLabel *>(QStringLiteral("TitleLabel")));
    QSignalSpy expandChanged(&rollup, &WdxRoolupWidget::expandChanged);
    button->click();
    QVERIFY(!rollup.isExpanded());
    QVERIFY(a.isHidden() && b.isHidden());
    QCOMPARE(button->icon().cacheKey(), WdxRoolupWidget::collapseIcon().cacheKey());
    QVERIFY(!WdxRoolupWidget::collapseIcon().availableSizes().isEmpty()); // the pictures ship inside
    QVERIFY(!WdxRoolupWidget::expandIcon().availableSizes().isEmpty());

    // A widget added while collapsed stays hidden until the body expands.
    QLabel c(QStringLiteral("c"));
    rollup.addWidget(&c);
    QVERIFY(c.isHidden());
    button->click();
    QVERIFY(rollup.isExpanded());
    QVERIFY(a.isVisible() && b.isVisible() && c.isVisible());
    QCOMPARE(button->icon().cacheKey(), WdxRoolupWidget::expandIcon().cacheKey());
    QCOMPARE(expandChanged.count(), 2);
}

void TestWdxContainers::rollupKeepsRequestedHidingAcrossExpand()
{
    WdxRoolupWidget rollup(QStringLiteral("Options"));
    QLabel a(QStringLiteral("a")), b(QStringLiteral("b"));
    rollup.addWidget(&a);
    rollup.addWidget(&b);
    rollup.show();
    rollup.hideWidget(&b);
    QCOMPARE(rollup.hiddenWidgets(), QList<QWidget *>{&b});
    rollup.setExpand(false);
    rollup.setExpand(true);
    QVERIFY(a.isVisible());
    QVERIFY(b.isHidden());

    rollup.setExpand(false);
    rollup.showWidget(&b); // collapsed: it waits for the expand
    QVERIFY(b.isHidden());
    QVERIFY(rollup.hiddenWidgets().isEmpty());
    rollup.setExpand(true);
    QVERIFY(b.isVisible());
}

void TestWdxContainers::rollupForgetsDeletedAndClearedWidgets()
{
    WdxRoolupWidget rollup;
    QLabel *doomed = new QLabel(QStringLiteral("doomed"));
    QLabel kept(QStringLiteral("kept"));
    rollup.addWidget(doomed);
    rollup.addWidget(&kept);
    rollup.hideWidget(doomed);
    delete doomed;
    QCOMPARE(rollup.widgets(), QList<QWidget *>{&kept});
    QVERIFY(rollup.hiddenWidgets().isEmpty());
    rollup.setExpand(false);
    rollup.setExpand(true);

    rollup.hideWidget(&kept);
    rollup.clearWidgets();
    QVERIFY(rollup.widgets().isEmpty());
    QVERIFY(rollup.hiddenWidgets().isEmpty());
    rollup.setExpand(false);
    rollup.setExpand(true);
    QVERIFY(kept.isHidden()); // no longer part of the body

    // Hidden before it joins the body, then deleted: no stale entry is left behind.
    QLabel *early = new QLabel(QStringLiteral("early"));
    rollup.hideWidget(early);
    delete early;
    QVERIFY(rollup.hiddenWidgets().isEmpty());

    // Body widgets owned by the roll-up die with it.
    WdxRoolupWidget *owner = new WdxRoolupWidget;
    owner->addWidget(new QLabel(QStringLiteral("owned")));
    owner->addWidget(new QLabel(QStringLiteral("hidden")));
    owner->hideWidget(owner->widgets().value(1));
    delete owner;
}

void TestWdxContainers::blankTextTakesTheLargestFittingSize()
{
    WdxBlankWidget blank;
    blank.resize(300, 200);
    blank.show(); // resize events reach shown widgets only
    QCOMPARE(blank.fontPixelSize(), 0);
    const QString text = QStringLiteral("No channel is open at the moment");
    blank.setText(text);
    const int size = blank.fontPixelSize();
    QVERIFY(size >= 1 && size <= 40);
    const QFont font = blank.textFont();
    QCOMPARE(font.pixelSize(), size);
    QVERIFY(textWidth(font, size, text) < 300 - 10);
    if (size < 40)
        QVERIFY(textWidth(font, size + 1, text) >= 300 - 10);

    blank.resize(120, 200);
    QVERIFY(blank.fontPixelSize() < size);
    blank.setText(QStringLiteral("x"));
    QCOMPARE(blank.fontPixelSize(), 40);
    blank.resize(4, 4); // no size fits: the smallest one is taken
    QCOMPARE(blank.fontPixelSize(), 1);
    blank.setText(QString());
    QCOMPARE(blank.fontPixelSize(), 0);
    blank.grab();
}

void TestWdxContainers::blankPictureSitsAboveTheText()
{
    WdxBlankWidget blank;
    blank.resize(400, 300);
    blank.show();
    blank.setText(QStringLiteral("Empty"));
    QVERIFY(blank.pictureRect().isNull());
    QCOMPARE(blank.textRect(), blank.rect());

    QPixmap picture(64, 32);
    picture.fill(Qt::blue);
    blank.setPixmap(picture);
    const int fps = blank.fontPixelSize();
    const int r = int(0.2 * qMin(400, 300 - 15 - fps));
    const QRect square = blank.pictureRect();
    QCOMPARE(square.size(), QSize(2 * r, 2 * r));
    QCOMPARE(square.left(), 200 - r);
    QCOMPARE(square.top(), 150 - fps - 15 - r);
    QCOMPARE(blank.textRect(), QRect(0, square.bottom() + 16, 400, fps));

    // The pixmap keeps its aspect ratio inside the square.
    const QImage image = blank.grab().toImage();
    QCOMPARE(image.pixelColor(square.center()), QColor(Qt::blue));
    QVERIFY(image.pixelColor(square.center().x(), square.top() + 2) != QColor(Qt::blue));

    blank.resize(10, 10);
    QVERIFY(blank.pictureRect().isNull());
    blank.grab();

    blank.resize(400, 300);
    blank.setDrawBackground(false);
    const QImage bare = blank.grab().toImage();
    QVERIFY(bare.pixelColor(blank.pictureRect().center()) != QColor(Qt::blue));
}

void TestWdxContainers::blankSvgTakesPrecedenceOverThePixmap()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString svgPath = dir.filePath(QStringLiteral("red.svg"));
    QFile svg(svgPath);
    QVERIFY(svg.open(QIODevice::WriteOnly));
    svg.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\">"
              "<rect width=\"10\" height=\"10\" fill=\"#ff0000\"/></svg>");
    svg.close();
    const QString brokenPath = dir.filePath(QStringLiteral("broken.svg"));
    QFile broken(brokenPath);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<svg");
    broken.close();

    WdxBlankWidget blank;
    blank.resize(300, 300);
    QPixmap picture(10, 10);
    picture.fill(Qt::blue);
    blank.setPixmap(picture);
    QVERIFY(blank.setSvg(svgPath));
    QCOMPARE(blank.grab().toImage().pixelColor(blank.pictureRect().center()), QColor(Qt::red));

    const QRegularExpression unreadable(QStringLiteral("Cannot read file .*broken\\.svg"));
    QTest::ignoreMessage(QtWarningMsg, unreadable);
    QVERIFY(!blank.setSvg(brokenPath));
    QVERIFY(!blank.hasValidSvg());
    QCOMPARE(blank.grab().toImage().pixelColor(blank.pictureRect().center()), QColor(Qt::blue));

    WdxBlankWidget svgOnly;
    svgOnly.resize(300, 300);
    QTest::ignoreMessage(QtWarningMsg, unreadable);
    QVERIFY(!svgOnly.setSvg(brokenPath));
    QVERIFY(svgOnly.pictureRect().isNull());
}

void TestWdxContainers::hyperlinkCursorIsRestoredOnce()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    WdxHyperLink *link = new WdxHyperLink(QStringLiteral("Help"), QStringLiteral("https://example.org"));
    link->show();
    sendPlain(link, QEvent::Enter);
    sendPlain(link, QEvent::Enter);
    QVERIFY(link->isHovered());
    QCOMPARE(overrideShape(), Qt::PointingHandCursor);
    sendPlain(link, QEvent::Leave);
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    sendPlain(link, QEvent::Leave);
    QCOMPARE(overrideShape(), Qt::CrossCursor);

    sendPlain(link, QEvent::Enter);
    link->hide(); // no leave event follows
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    link->show();
    sendPlain(link, QEvent::Enter);
    delete link;
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestWdxContainers::hyperlinkPressEmitsClicked()
{
    WdxHyperLink link(QStringLiteral("Details"), QString());
    link.resize(80, 20);
    QSignalSpy clicked(&link, &WdxHyperLink::clicked);
    QTest::mousePress(&link, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);

    WdxHyperLink *external = Wdx::createHyperLink(
        QStringLiteral("Site"), QStringLiteral("https://example.org"), QStringLiteral("SiteLink"));
    QVERIFY(external->openExternalLinks());
    QCOMPARE(external->objectName(), QStringLiteral("SiteLink"));
    QCOMPARE(external->url(), QStringLiteral("https://example.org"));
    delete external;

    WdxClickableLabel label(QStringLiteral("press"));
    QSignalSpy labelClicked(&label, &WdxClickableLabel::clicked);
    QTest::mousePress(&label, Qt::LeftButton);
    QCOMPARE(labelClicked.count(), 1);
}

void TestWdxContainers::separatorLineStartsAfterTheTitle()
{
    WdxSeparator plain;
    QCOMPARE(plain.sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    plain.setLineColor(Qt::red);
    plain.resize(100, 20);
    const int y = plain.rect().center().y() + 1;
    QImage image = plain.grab().toImage();
    QCOMPARE(image.pixelColor(0, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(99, y), QColor(Qt::red));
    QVERIFY(image.pixelColor(50, y - 1) != QColor(Qt::red));

    WdxSeparator titled(QStringLiteral("Group"));
    titled.setLineColor(Qt::red);
    titled.setTextBackgroundColor(Qt::green);
    titled.resize(200, 20);
    const int start = QFontMetrics(titled.titleFont()).horizontalAdvance(QStringLiteral("Group")) + 11;
    image = titled.grab().toImage();
    QCOMPARE(image.pixelColor(start - 3, y), titled.palette().color(QPalette::Window));
    QCOMPARE(image.pixelColor(start, y), QColor(Qt::red));
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::green));

    WdxMenuSeparator action(QStringLiteral("Recent"));
    QVERIFY(!action.isEnabled());
    QVERIFY(action.separator());
    QCOMPARE(action.separator()->title(), QStringLiteral("Recent"));
}

void TestWdxContainers::toolBarHelpers()
{
    WdxToolBar bar;
    QPixmap dot(8, 8);
    dot.fill(Qt::red);
    const QIcon icon(dot);
    QAction *action = bar.addAction(QStringLiteral("Open"), icon);
    QToolButton *button = qobject_cast<QToolButton *>(bar.widgetForAction(action));
    QVERIFY(button);
    QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    QVERIFY(!action->icon().isNull());
    QAction foreign(QStringLiteral("Elsewhere"));
    QVERIFY(!bar.attachIcon(&foreign, icon));
    QVERIFY(!bar.attachIcon(bar.addSeparator(), icon));

    QLabel *popup = new QLabel(QStringLiteral("popup"));
    QAction *popupAction = bar.addWidgetAction(QStringLiteral("More"), icon, popup);
    QToolButton *popupButton = qobject_cast<QToolButton *>(popupAction->parent());
    QVERIFY(popupButton);
    QCOMPARE(popupButton->defaultAction(), popupAction);
    QCOMPARE(popupButton->popupMode(), QToolButton::MenuButtonPopup);
    QVERIFY(popupButton->menu());
    QWidgetAction *holder = qobject_cast<QWidgetAction *>(popupButton->menu()->actions().value(0));
    QVERIFY(holder);
    QCOMPARE(holder->defaultWidget(), popup);

    QSpinBox *spin = bar.addSpinBox(0, 99, 7, -3, false, QStringLiteral(" ms"));
    QCOMPARE(spin->value(), 7);
    QCOMPARE(spin->minimumWidth(), 0);
    QCOMPARE(spin->buttonSymbols(), QAbstractSpinBox::NoButtons);
    QCOMPARE(bar.addLineEdit(50, 80)->maximumWidth(), 80);
    QCOMPARE(bar.addToolButton(QStringLiteral("T"), icon, true, true)->isChecked(), true);
    QCOMPARE(bar.addSpacer(0)->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
}

void TestWdxContainers::infoAndStatusBarHelpers()
{
    WdxInfoBar info;
    QLabel *value = info.addPairLabel(QStringLiteral("Port:"), QStringLiteral("COM3"), 12);
    QCOMPARE(value->text(), QStringLiteral("COM3"));
    QCOMPARE(info.boxLayout()->count(), 3); // caption, value, spacer
    QCOMPARE(info.boxLayout()->itemAt(2)->spacerItem()->sizeHint().width(), 12);
    info.addLabel(QStringLiteral("plain"));
    QCOMPARE(info.boxLayout()->count(), 4);
    QFrame *line = info.addSeparator();
    QCOMPARE(line->frameShape(), QFrame::VLine);
    QCOMPARE(line->maximumWidth(), 2);
    QCOMPARE(info.addLink(QStringLiteral("l"), QStringLiteral("u"), QStringLiteral("InfoLink"))->objectName(),
             QStringLiteral("InfoLink"));
    info.clearSpace(true, false);
    QCOMPARE(info.boxLayout()->contentsMargins(), QMargins());
    info.clearSpace(false, true);
    QCOMPARE(info.boxLayout()->spacing(), 0);

    WdxStatusBar status;
    QLabel *icon = status.addIcon(QIcon(), QSize(16, 16), true, QStringLiteral("StateIcon"));
    QCOMPARE(icon->objectName(), QStringLiteral("StateIcon"));
    QCOMPARE(icon->parentWidget(), &status);
    QCOMPARE(status.addSpacer(30)->minimumWidth(), 30);
}

QTEST_MAIN(TestWdxContainers)
#include "tst_wdxcontainers.moc"

// Widgets and helpers that act over time: the delay button, the blinker and the wait cursor.
#include <dorvane/WdxWidgets.h>

#include <QApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {

void clickAt(QWidget *widget, const QPoint &releasePos)
{
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    QMouseEvent release(QEvent::MouseButtonRelease, releasePos, widget->mapToGlobal(releasePos),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

class RecordingPolicy : public WdxBlinkPolicy
{
public:
    void onBlinkStart(QWidget *widget, int count) override
    {
        record(widget, QStringLiteral("start"), count, 0);
    }
    void onBlink(QWidget *widget, int count, int phase) override
    {
        record(widget, QStringLiteral("blink"), count, phase);
    }
    void onBlinkFinish(QWidget *widget, int count) override
    {
        record(widget, QStringLiteral("finish"), count, 1);
    }

    QStringList calls;
    QWidget *lastWidget = nullptr;

private:
    void record(QWidget *widget, const QString &what, int count, int phase)
    {
        lastWidget = widget;
        calls << QStringLiteral("%1 %2/%3").arg(what).arg(count).arg(phase);
    }
};

Qt::CursorShape overrideShape()
{
    const QCursor *cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::BitmapCursor;
}

} // namespace

class TestWdxTimed : public QObject
{
    Q_OBJECT

private slots:
    void delayedClickCountsDownThenClicks();
    void immediateClickRestsForTheInterval();
    void releaseOutsideIsNoClick();
    void withoutIntervalItIsAPlainButton();
    void droppingTheCountdownRestoresTheText();
    void blinkerCallsStartBlinkFinishInOrder();
    void restartedBlinkerBlinksAgain();
    void blinkerWithoutPolicyOrWidget();
    void waitCursorRestoresExactlyOnce();
};

void TestWdxTimed::delayedClickCountsDownThenClicks()
{
    WdxDelayButton button;
    button.setText(QStringLiteral("Send"));
    button.setClickInterval(600);
    button.setCountdownInterval(200);
    button.setClickMode(WdxDelayButton::DelayedClick);
    button.resize(120, 30);
    QCOMPARE(button.baseText(), QStringLiteral("Send"));
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    clickAt(&button, QPoint(10, 10));
    QCOMPARE(button.text(), QStringLiteral("Send(600...)"));
    QVERIFY(!button.isEnabled());
    QVERIFY(button.isPending());
    QVERIFY(!button.isDown());
    QCOMPARE(clicked.count(), 0);

    // Each tick shows the remaining time rounded down to the countdown interval.
    const QRegularExpression countdown(QStringLiteral("^Send\\((\\d+)\\.\\.\\.\\)$"));
    QTRY_VERIFY_WITH_TIMEOUT(button.text() != QStringLiteral("Send(600...)"), 2000);
    const QRegularExpressionMatch match = countdown.match(button.text());
    QVERIFY2(match.hasMatch(), qPrintable(button.text()));
    const int shown = match.captured(1).toInt();
    QCOMPARE(shown % 200, 0);
    QVERIFY(shown < 600);

    QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, 3000);
    QCOMPARE(clicked.at(0).at(0).toBool(), false);
    QVERIFY(button.isEnabled());
    QVERIFY(!button.isPending());
    QTRY_COMPARE_WITH_TIMEOUT(button.text(), QStringLiteral("Send"), 2000);
    QTest::qWait(300);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(button.text(), QStringLiteral("Send"));
}

void TestWdxTimed::immediateClickRestsForTheInterval()
{
    WdxDelayButton button(150, 0, true);
    button.resize(80, 30);
    QCOMPARE(button.clickMode(), WdxDelayButton::ImmediateClick);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    clickAt(&button, QPoint(5, 5));
    QCOMPARE(clicked.count(), 1);
    QVERIFY(!button.isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(button.isEnabled(), 2000);
    QCOMPARE(clicked.count(), 1);

    button.setAutoDisable(false);
    clickAt(&button, QPoint(5, 5));
    QVERIFY(button.isEnabled());
    QCOMPARE(clicked.count(), 2);
}

void TestWdxTimed::releaseOutsideIsNoClick()
{
    WdxDelayButton button(100, 50, true);
    button.setClickMode(WdxDelayButton::DelayedClick);
    button.resize(80, 30);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    clickAt(&button, QPoint(200, 200));
    QVERIFY(button.isEnabled());
    QVERIFY(!button.isPending());
    QVERIFY(!button.isDelaying());
    QVERIFY(!button.isDown());
    QTest::qWait(200);
    QCOMPARE(clicked.count(), 0);
}

void TestWdxTimed::withoutIntervalItIsAPlainButton()
{
    WdxDelayButton button;
    button.resize(80, 30);
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(button.isEnabled());
    QVERIFY(!button.isDelaying());
}

void TestWdxTimed::droppingTheCountdownRestoresTheText()
{
    WdxDelayButton button;
    button.setText(QStringLiteral("Go"));
    button.setClickInterval(5000);
    button.setCountdownInterval(1000);
    button.resize(80, 30);
    clickAt(&button, QPoint(5, 5));
    QCOMPARE(button.text(), QStringLiteral("Go(5000...)"));
    button.setCountdownInterval(0);
    QCOMPARE(button.text(), QStringLiteral("Go"));
}

void TestWdxTimed::blinkerCallsStartBlinkFinishInOrder()
{
    QWidget target;
    RecordingPolicy policy;
    WdxBlinker blinker(&target, &policy);
    QCOMPARE(blinker.interval(), 250);
    blinker.setInterval(5);
    blinker.setBlinkTimes(3);
    QCOMPARE(blinker.state(), WdxBlinker::Idle);
    QVERIFY(blinker.start());
    QCOMPARE(blinker.state(), WdxBlinker::Running);
    QTRY_COMPARE_WITH_TIMEOUT(blinker.state(), WdxBlinker::Finished, 3000);
    QCOMPARE(policy.calls, (QStringList{QStringLiteral("start 1/0"), QStringLiteral("blink 2/0"),
                                        QStringLiteral("blink 2/1"), QStringLiteral("finish 3/1")}));
    QCOMPARE(policy.lastWidget, &target);
    QVERIFY(!blinker.isActive());
    QCOMPARE(blinker.blinkCount(), 3);
    QVERIFY(!blinker.start()); // finished for good without restart
}

void TestWdxTimed::restartedBlinkerBlinksAgain()
{
    RecordingPolicy policy;
    WdxBlinker blinker(nullptr, &policy);
    blinker.setInterval(5);
    blinker.setBlinkTimes(2);
    blinker.enableRestart(true);
    const QStringList once{QStringLiteral("start 1/0"), QStringLiteral("finish 2/1")};
    QVERIFY(blinker.start());
    QTRY_VERIFY_WITH_TIMEOUT(!blinker.isActive(), 3000);
    QCOMPARE(blinker.state(), WdxBlinker::Idle);
    QCOMPARE(policy.calls, once);
    QVERIFY(blinker.start());
    QTRY_VERIFY_WITH_TIMEOUT(!blinker.isActive(), 3000);
    QCOMPARE(policy.calls, once + once);
}

void TestWdxTimed::blinkerWithoutPolicyOrWidget()
{
    RecordingPolicy policy;
    WdxBlinker blinker;
    blinker.setBlinkPolicy(&policy);
    blinker.setBlinkPolicy(nullptr); // back to the built-in policy, which does nothing
    QVERIFY(blinker.blinkPolicy() != nullptr);
    QWidget *target = new QWidget;
    blinker.setWidget(target);
    delete target;
    QCOMPARE(blinker.widget(), nullptr);
    blinker.setInterval(5);
    blinker.setBlinkTimes(2);
    QVERIFY(blinker.start());
    QTRY_COMPARE_WITH_TIMEOUT(blinker.state(), WdxBlinker::Finished, 3000);
    QVERIFY(policy.calls.isEmpty());

    // Blinking without limit runs until stopped.
    WdxBlinker endless(nullptr, &policy);
    endless.setInterval(5);
    QVERIFY(endless.start());
    QTRY_VERIFY_WITH_TIMEOUT(policy.calls.size() >= 4, 3000);
    endless.stop();
    QCOMPARE(endless.state(), WdxBlinker::Finished);
    QVERIFY(policy.calls.filter(QStringLiteral("finish")).isEmpty());
}

void TestWdxTimed::waitCursorRestoresExactlyOnce()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
    {
        WdxWaitCursor wait(20);
        QCOMPARE(overrideShape(), Qt::WaitCursor);
        QTRY_VERIFY_WITH_TIMEOUT(wait.isEnded(), 2000);
        QCOMPARE(overrideShape(), Qt::CrossCursor);
    } // destruction after the timer must not restore again
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    {
        WdxWaitCursor wait(5000);
        QCOMPARE(overrideShape(), Qt::WaitCursor);
    } // destruction first; the timer dies with the object
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    QTest::qWait(50);
    {
        WdxWaitCursor wait;
        wait.end();
        wait.end();
    }
    QCOMPARE(overrideShape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestWdxTimed)
#include "tst_wdxtimed.moc"

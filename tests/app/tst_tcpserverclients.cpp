// The TCP server's clients as the user sees them, with four real clients on
// 127.0.0.1: the dialogue view names the client of each chunk and logs
// arrivals and departures, the fourth is shown waiting, and "Send To" sends
// to the one client chosen.
#include "apptestsupport.h"

#include "shell/mainwindow.h"
#include "windows/channel/channelwindow.h"
#include "windows/channel/netchannelwidget.h"
#include "windows/dialogue/dialoguewindow.h"
#include "windows/dialogue/echotextedit.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTcpSocket>

#include <memory>
#include <vector>

namespace {

ChannelProxy *proxy()
{
    return Application::instance()->channelProxy();
}

ChannelWindow *channelWindow()
{
    return Application::instance()->mainWindow()->channelWindow();
}

EchoTextEdit *echoView()
{
    return Application::instance()->mainWindow()->dialogueWindow()->echoEdit();
}

// Every line of the dialogue view, once what is queued has been drawn.
QStringList viewLines()
{
    echoView()->flushEcho();
    QStringList lines;
    for (int i = 0; i < echoView()->logLineCount(); ++i)
        lines << echoView()->logLineText(i);
    return lines;
}

bool viewHasLine(const QString &text)
{
    return viewLines().contains(text);
}

// The view's line that shows these bytes (hex) with its label.
QString lineWith(const QByteArray &bytes)
{
    const QString hex = QString::fromLatin1(bytes.toHex(' ').toUpper());
    for (const QString &line : viewLines()) {
        if (line.endsWith(hex))
            return line;
    }
    return QString();
}

QByteArray readFor(QTcpSocket &socket, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray bytes;
    while (clock.elapsed() < ms) {
        QTest::qWait(10);
        bytes += socket.readAll();
    }
    return bytes;
}

} // namespace

class TestTcpServerClients : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(QTest::qWaitForWindowExposed(Application::instance()->mainWindow())); }

    void cleanup()
    {
        proxy()->close();
        if (channelWindow()->netWidget()->hasOpenLook())
            channelWindow()->netWidget()->showClosed();
        channelWindow()->pages()->setCurrentIndex(0);
    }

    void fourClientsAreNamedWaitingAndSentToAlone()
    {
        NetChannelWidget *net = channelWindow()->netWidget();
        channelWindow()->pages()->setCurrentIndex(1);
        auto *type = child<QComboBox>(net, "cbxProtocolType");
        type->setCurrentIndex(type->findData(int(NetChannelWidget::TcpServerProtocol)));
        child<QComboBox>(net, "cbxLocalAddress")->setCurrentText(QStringLiteral("127.0.0.1"));
        child<QSpinBox>(net, "spinLocalPort")->setValue(0);
        QTest::mouseClick(child<QPushButton>(net, "btnNetChannelControl"), Qt::LeftButton);
        QVERIFY(proxy()->isOpen());
        const quint16 port = quint16(proxy()->channelProfile().section(QLatin1Char(':'), -1).toUInt());
        QVERIFY(port != 0);
        auto *list = child<QListWidget>(net, "listWidget");
        auto *target = child<QComboBox>(net, "cbxSendTarget");
        QCOMPARE(target->count(), 1);
        QCOMPARE(target->currentText(), QStringLiteral("All Clients"));

        std::vector<std::unique_ptr<QTcpSocket>> clients;
        QStringList peers;
        for (int i = 0; i < 4; ++i) {
            clients.push_back(std::make_unique<QTcpSocket>());
            clients.back()->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(clients.back()->waitForConnected(3000));
            peers << QStringLiteral("127.0.0.1:%1").arg(clients.back()->localPort());
            // One at a time, so that the fourth is the one left waiting.
            QTRY_COMPARE(list->count(), i + 1);
        }
        QCOMPARE(list->item(0)->text(), peers.at(0));
        QCOMPARE(list->item(3)->text(), peers.at(3) + QStringLiteral(" (waiting)"));
        QCOMPARE(target->count(), 4); // "All Clients" and the three served
        for (int i = 0; i < 3; ++i)
            QVERIFY(viewHasLine(QStringLiteral("Client %1 connected").arg(peers.at(i))));
        QVERIFY(
            viewHasLine(QStringLiteral("Client %1 waiting: three clients are connected").arg(peers.at(3))));

        // Each chunk's label names the client it came from.
        for (int i = 0; i < 3; ++i) {
            const QByteArray bytes = QByteArray("from-") + QByteArray::number(i);
            clients[size_t(i)]->write(bytes);
            QVERIFY(clients[size_t(i)]->waitForBytesWritten(1000));
            QTRY_VERIFY(!lineWith(bytes).isEmpty());
            const QString line = lineWith(bytes);
            QVERIFY2(line.startsWith(QLatin1Char('['))
                         && line.contains(QStringLiteral("] ") + peers.at(i) + QLatin1Char(' ')),
                     qPrintable(line));
        }

        // Sent to the second client alone, as every sender of the workbench writes.
        target->setCurrentIndex(target->findData(peers.at(1)));
        proxy()->write("only", 4);
        QCOMPARE(readFor(*clients[1], 300), QByteArray("only"));
        QVERIFY(clients[0]->readAll().isEmpty());
        QVERIFY(clients[2]->readAll().isEmpty());

        // The first leaves: its departure is logged and the waiting one is served.
        clients[0]->disconnectFromHost();
        QTRY_VERIFY(viewHasLine(QStringLiteral("Client %1 disconnected").arg(peers.at(0))));
        QTRY_VERIFY(!list->findItems(peers.at(3), Qt::MatchExactly).isEmpty());
        QVERIFY(list->findItems(peers.at(3) + QStringLiteral(" (waiting)"), Qt::MatchExactly).isEmpty());
        QCOMPARE(list->count(), 3);

        // The chosen client leaving never turns its sends to the others.
        clients[1]->disconnectFromHost();
        QTRY_COMPARE(list->count(), 2);
        proxy()->write("nobody", 6);
        QVERIFY(readFor(*clients[2], 300).isEmpty());
        QVERIFY(clients[3]->readAll().isEmpty());

        // "All Clients" again reaches everyone still there.
        target->setCurrentIndex(0);
        proxy()->write("all", 3);
        QCOMPARE(readFor(*clients[2], 300), QByteArray("all"));
        QCOMPARE(readFor(*clients[3], 100), QByteArray("all"));
        QCOMPARE(target->count(), 3); // the gone client's entry went
    }
};

DORVANE_APP_TEST_MAIN(TestTcpServerClients)
#include "tst_tcpserverclients.moc"

// The host's server against a real client on 127.0.0.1: messages of the protocol's
// size arrive, an endless one closes its connection.
#include "hostserver.h"

#include <QSignalSpy>
#include <QWebSocket>
#include <QtTest>

class tst_HostServer : public QObject
{
    Q_OBJECT
private slots:
    void incomingSizeLimit_data();
    void incomingSizeLimit();
};

void tst_HostServer::incomingSizeLimit_data()
{
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("frameBytes");
    const int limit = 1024 * 1024;
    QTest::newRow("just under") << limit << limit;
    QTest::newRow("one frame over") << limit + 1 << 2 * limit;
    QTest::newRow("small frames adding up") << 3 * limit << 4096;
}

void tst_HostServer::incomingSizeLimit()
{
    QFETCH(int, bytes);
    QFETCH(int, frameBytes);
    HostServer server;
    QVERIFY(server.listen());
    QSignalSpy frames(&server, &HostServer::frameReceived);
    QWebSocket client;
    QSignalSpy closed(&client, &QWebSocket::disconnected);
    client.setOutgoingFrameSize(quint64(frameBytes));
    client.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(server.port())));
    QTRY_COMPARE(client.state(), QAbstractSocket::ConnectedState);
    client.sendTextMessage(QString(bytes, QLatin1Char('x')));
    const bool delivered = bytes <= 1024 * 1024;
    QTRY_COMPARE(frames.count() + closed.count(), 1);
    QCOMPARE(frames.count(), int(delivered));
    if (delivered)
        QCOMPARE(frames.first().first().toString().size(), bytes);
}

QTEST_MAIN(tst_HostServer)
#include "tst_hostserver.moc"

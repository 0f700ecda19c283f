// The host link against a real WebSocket server on 127.0.0.1.
#include "package/kyvantaproxy.h"
#include "plugin/kymixerplugindelegate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtTest>
#include <functional>

using Command = std::function<void(KyMixerPluginDelegate&)>;
Q_DECLARE_METATYPE(Command)

// A local server that keeps every frame and every open connection.
class HostServer : public QObject
{
    Q_OBJECT
public:
    QList<QWebSocket*> clients;
    QStringList frames;
    int connections = 0;
    // Last, so it goes first: its sockets still report to the lists above.
    QWebSocketServer server{QStringLiteral("host"), QWebSocketServer::NonSecureMode};

    bool listen(quint16 port = 0)
    {
        if (!server.listen(QHostAddress::LocalHost, port))
            return false;
        connect(&server, &QWebSocketServer::newConnection, this, [this] {
            while (QWebSocket* socket = server.nextPendingConnection()) {
                ++connections;
                clients << socket;
                connect(socket, &QWebSocket::textMessageReceived, this, [this](const QString& f) { frames << f; });
                connect(socket, &QWebSocket::disconnected, this, [this, socket] {
                    clients.removeOne(socket);
                    socket->deleteLater();
                });
            }
        });
        KyVantaProxy::getInstance()->port = server.serverPort();
        return true;
    }
};

class tst_KyMixerPluginDelegate : public QObject
{
    Q_OBJECT
private slots:
    void frames_data();
    void frames();
    void brokenResponses_data();
    void brokenResponses();
    void noReconnection();
    void manyDelegates();
};

void tst_KyMixerPluginDelegate::frames_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QJsonObject>("expected");
    using D = KyMixerPluginDelegate;
    auto row = [](const char* name, Command c, QJsonObject e) { QTest::newRow(name) << c << e; };
    // One command of each shape of arguments.
    row("no arguments", [](D& d) { d.queryMixerMute(); }, {{"task", "remote.command.query.mixer.mute"}});
    row("list", [](D& d) { d.subscribeSubjects({"a", "b"}); },
        {{"task", "remote.command.subscribe.subjects"}, {"subjects", QJsonArray{"a", "b"}}});
    row("flag and array", [](D& d) { d.updateMixerMute(true, QJsonArray{1, "x"}); },
        {{"task", "remote.command.update.mixer.mute"}, {"muted", true}, {"mixers", QJsonArray{1, "x"}}});
    row("numbers", [](D& d) { d.updateMixerVolume(1, 2, 99); },
        {{"task", "remote.command.update.mixer.volume"}, {"deck", 1}, {"category", 2}, {"volume", 99}});
    row("key and texts", [](D& d) { d.updateFunctionKeyLedAppControl("k1", "app", "fn", true); },
        {{"task", "remote.command.update.function.key.led.App.Control"}, {"sender", "k1"}, {"appName", "app"},
         {"functionName", "fn"}, {"status", true}});
    row("page number", [](D& d) { d.queryPageNumber(); }, {{"task", "QueryPageIndicatorNumber"}});
}

void tst_KyMixerPluginDelegate::frames()
{
    QFETCH(Command, command);
    QFETCH(QJsonObject, expected);
    HostServer host;
    QVERIFY(host.listen());
    KyMixerPluginDelegate delegate;
    QSignalSpy responses(&delegate, &KyMixerPluginDelegate::response);
    delegate.connectToServer();
    QTRY_COMPARE(host.clients.size(), 1);
    // The server accepts before the client has read the handshake: a reply proves the
    // client side is open too, so nothing is dropped as "not connected yet".
    host.clients.first()->sendTextMessage("{}");
    QTRY_COMPARE(responses.count(), 1);
    command(delegate);
    QTRY_COMPARE(host.frames.size(), 1);
    const QString frame = host.frames.first();
    QCOMPARE(QJsonDocument::fromJson(frame.toUtf8()).object(), expected);
    QVERIFY2(!frame.contains(' ') || expected.contains("appName"), qPrintable(frame));  // compact
    QVERIFY(!frame.contains('\n'));
}

void tst_KyMixerPluginDelegate::brokenResponses_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("frameBytes");      // the host's largest frame; 0: its default
    QTest::addColumn<QJsonObject>("response"); // empty: none, the package closes the link
    const QJsonObject broken{{"error", "Content was broken"}};
    QTest::newRow("object") << R"({"a":1})" << 0 << QJsonObject{{"a", 1}};
    QTest::newRow("array") << "[1,2]" << 0 << broken;
    QTest::newRow("broken text") << "{not json" << 0 << broken;

    // An endless message must not grow without bound: 1 MiB at most.
    const int limit = 1024 * 1024;
    const auto sized = [](int bytes) { return QStringLiteral("{\"a\":\"%1\"}").arg(QString(bytes - 8, 'x')); };
    const QJsonObject justUnder{{"a", QString(limit - 24, 'x')}};
    QTest::newRow("just under the limit, one frame") << sized(limit - 16) << limit << justUnder;
    QTest::newRow("just under the limit, in pieces") << sized(limit - 16) << 4096 << justUnder;
    QTest::newRow("one frame over the limit") << sized(limit + 1) << 2 * limit << QJsonObject();
    QTest::newRow("small frames adding up") << sized(3 * limit) << 4096 << QJsonObject();
}

void tst_KyMixerPluginDelegate::brokenResponses()
{
    QFETCH(QString, message);
    QFETCH(int, frameBytes);
    QFETCH(QJsonObject, response);
    HostServer host;
    QVERIFY(host.listen());
    KyMixerPluginDelegate delegate;
    QSignalSpy responses(&delegate, &KyMixerPluginDelegate::response);
    delegate.connectToServer();
    QTRY_COMPARE(host.clients.size(), 1);
    if (frameBytes > 0)
        host.clients.first()->setOutgoingFrameSize(quint64(frameBytes));
    host.clients.first()->sendTextMessage(message);
    if (response.isEmpty()) {
        QTRY_VERIFY(host.clients.isEmpty());
        QCOMPARE(responses.count(), 0);
        return;
    }
    QTRY_COMPARE(responses.count(), 1);
    QCOMPARE(responses.first().first().toJsonObject(), response);
}

void tst_KyMixerPluginDelegate::noReconnection()
{
    quint16 port = 0;
    KyMixerPluginDelegate delegate;
    {
        HostServer host;
        QVERIFY(host.listen());
        port = host.server.serverPort();
        delegate.connectToServer();
        QTRY_COMPARE(host.connections, 1);
        host.server.close();
        for (QWebSocket* client : std::as_const(host.clients))
            client->close();
        QTRY_VERIFY(host.clients.isEmpty());
    }
    QSignalSpy responses(&delegate, &KyMixerPluginDelegate::response);
    delegate.updateFunctionKeyImageColor("nobody listens");
    HostServer again;
    QVERIFY(again.listen(port));
    delegate.updateFunctionKeyImageColor("late");
    QTest::qWait(300);
    QCOMPARE(again.connections, 0);
    QVERIFY(again.frames.isEmpty());
    QCOMPARE(responses.count(), 0);
}

void tst_KyMixerPluginDelegate::manyDelegates()
{
    HostServer host;
    QVERIFY(host.listen());
    std::vector<std::unique_ptr<KyMixerPluginDelegate>> delegates;
    for (int i = 0; i < 200; ++i) {
        delegates.push_back(std::make_unique<KyMixerPluginDelegate>());
        delegates.back()->connectToServer();
    }
    QTRY_COMPARE_WITH_TIMEOUT(host.connections, 200, 20000);
    QTRY_COMPARE(host.clients.size(), 200);
    delegates.clear();
    QTRY_COMPARE_WITH_TIMEOUT(host.clients.size(), 0, 20000);
}

QTEST_GUILESS_MAIN(tst_KyMixerPluginDelegate)
#include "tst_kymixerplugindelegate.moc"

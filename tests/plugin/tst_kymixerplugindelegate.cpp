// The host link against a real WebSocket server on 127.0.0.1.
#include "plugin/hostcontext/kyvantaproxy.h"
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
    // Last, so it goes first: its sockets still report to the lists above.
    QWebSocketServer server{QStringLiteral("host"), QWebSocketServer::NonSecureMode};

    bool listen(quint16 port = 0)
    {
        if (!server.listen(QHostAddress::LocalHost, port))
            return false;
        connect(&server, &QWebSocketServer::newConnection, this, [this] {
            while (QWebSocket* socket = server.nextPendingConnection()) {
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
    // Commands go to the host as one compact frame each; the host's answers come back as
    // objects, anything else as an error, and an endless one closes the link.
    void link_data()
    {
        QTest::addColumn<Command>("command");       // null: the host speaks instead
        QTest::addColumn<QJsonObject>("frame");      // what the host reads
        QTest::addColumn<QString>("message");        // what the host says
        QTest::addColumn<int>("frameBytes");         // the host's largest frame; 0: its default
        QTest::addColumn<QJsonObject>("response");   // empty: none, the package closes the link
        using D = KyMixerPluginDelegate;
        const auto sent = [](const char* name, Command c, QJsonObject f) { QTest::newRow(name) << c << f << QString() << 0 << QJsonObject(); };
        const auto heard = [](const char* name, QString m, int bytes, QJsonObject r) { QTest::newRow(name) << Command() << QJsonObject() << m << bytes << r; };
        sent("list", [](D& d) { d.subscribeSubjects({"a", "b"}); },
             {{"task", "remote.command.subscribe.subjects"}, {"subjects", QJsonArray{"a", "b"}}});
        sent("flag and array", [](D& d) { d.updateMixerMute(true, QJsonArray{1, "x"}); },
             {{"task", "remote.command.update.mixer.mute"}, {"muted", true}, {"mixers", QJsonArray{1, "x"}}});
        sent("key and texts", [](D& d) { d.updateFunctionKeyLedAppControl("k1", "app", "fn", true); },
             {{"task", "remote.command.update.function.key.led.App.Control"}, {"sender", "k1"}, {"appName", "app"},
              {"functionName", "fn"}, {"status", true}});

        const QJsonObject broken{{"error", "Content was broken"}};
        heard("object", R"({"a":1})", 0, {{"a", 1}});
        heard("broken text", "{not json", 0, broken);
        // An endless message must not grow without bound: 1 MiB at most.
        const int limit = 1024 * 1024;
        const auto sized = [](int bytes) { return QStringLiteral("{\"a\":\"%1\"}").arg(QString(bytes - 8, 'x')); };
        const QJsonObject justUnder{{"a", QString(limit - 24, 'x')}};
        heard("just under the limit, in pieces", sized(limit - 16), 4096, justUnder);
        heard("one frame over the limit", sized(limit + 1), 2 * limit, {});
        heard("small frames adding up", sized(3 * limit), 4096, {});
    }

    void link()
    {
        QFETCH(Command, command);
        QFETCH(QJsonObject, frame);
        QFETCH(QString, message);
        QFETCH(int, frameBytes);
        QFETCH(QJsonObject, response);
        HostServer host;
        QVERIFY(host.listen());
        KyMixerPluginDelegate delegate;
        QSignalSpy responses(&delegate, &KyMixerPluginDelegate::response);
        delegate.connectToServer();
        QTRY_COMPARE(host.clients.size(), 1);
        if (command) {
            // The server accepts before the client has read the handshake: a reply proves the
            // client side is open too, so nothing is dropped as "not connected yet".
            host.clients.first()->sendTextMessage("{}");
            QTRY_COMPARE(responses.count(), 1);
            command(delegate);
            QTRY_COMPARE(host.frames.size(), 1);
            QCOMPARE(QJsonDocument::fromJson(host.frames.first().toUtf8()).object(), frame);
            QVERIFY(!host.frames.first().contains('\n'));
            return;
        }
        if (frameBytes > 0)
            host.clients.first()->setOutgoingFrameSize(quint64(frameBytes));
        host.clients.first()->sendTextMessage(message);
        if (response.isEmpty()) {
            QTRY_VERIFY(host.clients.isEmpty());
            QCOMPARE(responses.count(), 0);
        } else {
            QTRY_COMPARE(responses.count(), 1);
            QCOMPARE(responses.first().first().toJsonObject(), response);
        }
    }
};

QTEST_GUILESS_MAIN(tst_KyMixerPluginDelegate)
#include "tst_kymixerplugindelegate.moc"

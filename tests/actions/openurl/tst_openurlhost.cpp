// Open URL driven through the built library, exactly as a host drives it.
#include "actioninterface.h"
#include "packageinterface.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QSignalSpy>
#include <QWebSocket>
#include <QWebSocketServer>
#include <QtTest>

namespace {
const QString kCategory = QStringLiteral("com.corvane.system.openurl");
const QJsonObject kView{{"family", "DejaVu Sans"}, {"size", 20}, {"color", "#00ff00"}, {"horAlignment", 1},
                        {"bold", true}, {"italic", true}, {"underLine", false}};

QJsonObject payloadOf(const QVariantList& signal)
{
    return signal.first().toJsonObject()["event"].toObject()["payload"].toObject();
}
}

class tst_OpenUrlHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void defaultsReportedOnce();
    void inputsRoundTrip_data();
    void inputsRoundTrip();
    void updateSettingsAnswersInResult();
    void iconChangeAsksForRecolour();
    void unknownCategories_data();
    void unknownCategories();
    void cleanupTestCase();

private:
    host::ActionInterface* make();
    QJsonObject reportedAfterInit(const QJsonObject& params);

    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::PackageInterface* m_package = nullptr;
    QWebSocketServer m_server{"host", QWebSocketServer::NonSecureMode};
    QStringList m_frames;
    QElapsedTimer m_sinceIconChange;
    qint64 m_frameDelay = -1;
    int m_connections = 0;
};

void tst_OpenUrlHost::initTestCase()
{
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    QVERIFY(instance);
    QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
    connect(&m_server, &QWebSocketServer::newConnection, this, [this] {
        while (QWebSocket* socket = m_server.nextPendingConnection()) {
            socket->setParent(&m_server);
            ++m_connections;
            connect(socket, &QWebSocket::textMessageReceived, this, [this](const QString& frame) {
                if (m_frameDelay < 0)
                    m_frameDelay = m_sinceIconChange.elapsed();
                m_frames << frame;
            });
        }
    });
    m_package = instance();
    QVERIFY(m_package->init({{"port", int(m_server.serverPort())}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
    QVERIFY(m_package->loadConfig());
}

host::ActionInterface* tst_OpenUrlHost::make()
{
    host::ActionInterface* action = m_package->makeWidget(kCategory, 0);
    if (action)
        action->setParent(this);
    return action;
}

// What the host would store after init, asked for the way a host asks; empty when init
// refused the input, which must then report nothing.
QJsonObject tst_OpenUrlHost::reportedAfterInit(const QJsonObject& params)
{
    std::unique_ptr<host::ActionInterface> action(make());
    QSignalSpy sent(action.get(), host::kEventSentSignal);
    if (!action->init("key", params))
        return sent.isEmpty() ? QJsonObject() : QJsonObject{{"reported", "when refused"}};
    QJsonObject result;
    action->eventReceived({{"target", "key"}, {"event", QJsonObject{{"type", "tov.ky.plugin.event.update.settings"}}}},
                          result);
    return result["settings"].toObject();
}

void tst_OpenUrlHost::defaultsReportedOnce()
{
    host::ActionInterface* action = make();
    QVERIFY(action);
    QCOMPARE(action->category, kCategory);
    QSignalSpy sent(action, host::kEventSentSignal);
    QVERIFY(action->init("key-1", {}));
    QCOMPARE(sent.count(), 1);
    const QJsonObject envelope = sent.first().first().toJsonObject();
    QCOMPARE(envelope["target"].toString(), QStringLiteral("key-1"));
    QCOMPARE(envelope["event"].toObject()["type"].toString(), QStringLiteral("tov.ky.plugin.event.set.settings"));
    const QJsonObject payload = payloadOf(sent.first());
    QCOMPARE(payload.keys(), QStringList({"Url", "actionTitle", "displayView", "iconlist", "titlelist", "version"}));
    QCOMPARE(payload["version"].toInt(), 1);
    QCOMPARE(payload["titlelist"].toArray(), QJsonArray{"URL"});
    QCOMPARE(payload["iconlist"].toArray(), QJsonArray{":/SystemDll/images/mainpage_btn_url.png"});
    QCOMPARE(payload["actionTitle"].toString(), QStringLiteral("URL"));
    QVERIFY(payload["Url"].toString().startsWith("https://"));
    QCOMPARE(payload["displayView"].toObject()["size"].toInt(), 13);
    QCOMPARE(action->actionTitle(), QStringLiteral("URL"));
    QCOMPARE(action->actionIconFilePath(), QStringLiteral("URL"));
    QCOMPARE(action->pluginWidget()->size(), QSize(150, 108));
    QCOMPARE(action->propertyWidget()->size(), QSize(824, 234));
    delete action;
}

void tst_OpenUrlHost::inputsRoundTrip_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QJsonObject>("expected");  // members of the restored payload; empty: refused

    QTest::newRow("legacy") << QJsonObject{{"payload", QJsonObject{{"Url", "u"}, {"Title", "t"}, {"ImagePath", "/p.png"}}}}
                            << QJsonObject{{"Url", "u"}, {"titlelist", QJsonArray{"t"}}, {"iconlist", QJsonArray{"/p.png"}},
                                           {"actionTitle", "t"}};
    QTest::newRow("versioned") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"Url", "https://x.example"},
                                                                      {"titlelist", QJsonArray{"a"}}, {"iconlist", QJsonArray{"/i.gif"}},
                                                                      {"displayView", kView}}}}
                               << QJsonObject{{"Url", "https://x.example"}, {"actionTitle", "a"}, {"iconlist", QJsonArray{"/i.gif"}}};
    QTest::newRow("preset") << QJsonObject{{"preset", QJsonObject{{"title", "P"}, {"url", "https://p.example"}, {"icon", "/x.png"},
                                                                  {"actionTitle", "Act"}}}}
                            << QJsonObject{{"Url", "https://p.example"}, {"titlelist", QJsonArray{"P"}}, {"actionTitle", "Act"}};
    QTest::newRow("preset without title") << QJsonObject{{"preset", QJsonObject{{"url", "https://a.example"}}}} << QJsonObject();
    QTest::newRow("preset without url") << QJsonObject{{"preset", QJsonObject{{"title", "T"}}}} << QJsonObject();
    QTest::newRow("empty preset") << QJsonObject{{"preset", QJsonObject()}} << QJsonObject();
    QTest::newRow("wrong types") << QJsonObject{{"payload", QJsonObject{{"version", "1"}, {"Url", 42}, {"titlelist", "x"},
                                                                        {"iconlist", QJsonObject{}}, {"actionTitle", QJsonArray{}},
                                                                        {"displayView", QJsonObject{{"size", "big"}, {"color", 7}}}}}}
                                 << QJsonObject{{"Url", ""}, {"titlelist", QJsonArray{}}, {"iconlist", QJsonArray{}}, {"actionTitle", ""}};
    QTest::newRow("absurdly long url") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"Url", QString(200000, 'u')}}}}
                                       << QJsonObject{{"Url", QString(200000, 'u')}};
}

void tst_OpenUrlHost::inputsRoundTrip()
{
    QFETCH(QJsonObject, params);
    QFETCH(QJsonObject, expected);
    if (expected.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("\\[PluginOpenUrl\\]\\[Preset\\] refused"));
    const QJsonObject stored = reportedAfterInit(params);
    QCOMPARE(stored.isEmpty(), expected.isEmpty());
    if (expected.isEmpty())
        return;
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(stored.value(it.key()), it.value());
    QCOMPARE(stored["version"].toInt(), 1);
    // The stored payload restores the same key.
    QCOMPARE(reportedAfterInit({{"payload", stored}}), stored);
}

void tst_OpenUrlHost::updateSettingsAnswersInResult()
{
    host::ActionInterface* action = make();
    QVERIFY(action->init("k", {{"payload", QJsonObject{{"version", 1}, {"Url", "https://r.example"}}}}));
    QSignalSpy sent(action, host::kEventSentSignal);
    QJsonObject result{{"host", "kept"}};
    action->eventReceived({{"event", QJsonObject{{"type", "tov.ky.plugin.event.update.settings"}}}}, result, 3);
    QCOMPARE(sent.count(), 1);
    QCOMPARE(result["host"].toString(), QStringLiteral("kept"));
    QCOMPARE(result["success"], QJsonValue(true));
    QCOMPARE(result["settings"].toObject(), payloadOf(sent.first()));
    delete action;
}

void tst_OpenUrlHost::iconChangeAsksForRecolour()
{
    const int before = m_connections;
    host::ActionInterface* action = make();
    QVERIFY(action->init("key-42", {}));
    QTRY_COMPARE(m_connections, before + 1);
    QTest::qWait(200);  // the client side has read the handshake
    m_frames.clear();
    m_frameDelay = -1;
    QSignalSpy sent(action, host::kEventSentSignal);
    QObject* base = action->propertyWidget()->findChild<QObject*>("base");
    QVERIFY(base);
    m_sinceIconChange.start();
    QVERIFY(QMetaObject::invokeMethod(base, "onIconPathChanged", Q_ARG(int, 0), Q_ARG(QString, "/tmp/new.png")));
    QCOMPARE(sent.count(), 1);  // reported at once
    QCOMPARE(payloadOf(sent.first())["iconlist"].toArray(), QJsonArray{"/tmp/new.png"});
    QTRY_COMPARE(m_frames.size(), 1);
    QVERIFY2(m_frameDelay >= 100, qPrintable(QString::number(m_frameDelay)));
    QCOMPARE(QJsonDocument::fromJson(m_frames.first().toUtf8()).object(),
             QJsonObject({{"task", "remote.command.update.function.key.Image.Color"}, {"sender", "key-42"}}));
    QTest::qWait(200);
    QCOMPARE(m_frames.size(), 1);
    delete action;
}

void tst_OpenUrlHost::unknownCategories_data()
{
    QTest::addColumn<QString>("category");
    QTest::newRow("capitals") << "COM.CORVANE.SYSTEM.OPENURL";
    QTest::newRow("empty") << "";
    QTest::newRow("another package's") << "com.corvane.system.multiaction";
}

void tst_OpenUrlHost::unknownCategories()
{
    QFETCH(QString, category);
    QCOMPARE(m_package->makeWidget(category, 0), nullptr);
}

void tst_OpenUrlHost::cleanupTestCase()
{
    delete m_package;
}

QTEST_MAIN(tst_OpenUrlHost)
#include "tst_openurlhost.moc"

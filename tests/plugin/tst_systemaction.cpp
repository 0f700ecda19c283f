#include "plugin/tovkyplugineventtype.h"
#include "testaction.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

namespace {
QJsonObject envelope(const QJsonValue& event)
{
    return {{"target", "k1"}, {"event", event}};
}
QJsonObject typed(const QString& type)
{
    return envelope(QJsonObject{{"type", type}, {"SDKVersion", "1.0.0"}, {"payload", QJsonObject{{"x", 1}}}});
}
const QJsonObject kDisplay{{"family", "DejaVu Sans"}, {"size", 16}, {"color", "#ff9900"},
                           {"horAlignment", 1}, {"bold", true}, {"italic", false}, {"underLine", true}};
}

class tst_SystemAction : public QObject
{
    Q_OBJECT
private slots:
    void initBranches_data();
    void initBranches();
    void inspectorConnectedOnce();
    void dispatch_data();
    void dispatch();
    void reportEnvelope();
    void roundTrip_data();
    void roundTrip();
    void actionModeBeforeInit();
};

void tst_SystemAction::initBranches_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("actionTitle");
    QTest::addColumn<QString>("value");

    const QStringList defaults{"default"};
    QTest::newRow("neither") << QJsonObject{} << defaults << true << QStringList{"Test"} << "Test" << "default";
    QTest::newRow("empty payload") << QJsonObject{{"payload", QJsonObject{}}} << defaults << true
                                   << QStringList{"Test"} << "Test" << "default";
    QTest::newRow("payload not an object") << QJsonObject{{"payload", "text"}} << defaults << true
                                           << QStringList{"Test"} << "Test" << "default";
    QTest::newRow("versioned") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"a", "b"}},
                                                                     {"actionTitle", "act"}, {"Value", "v"}}}}
                               << QStringList{"payload"} << true << QStringList{"a", "b"} << "act" << "v";
    QTest::newRow("versioned, no action title")
        << QJsonObject{{"payload", QJsonObject{{"version", "whatever"}, {"titlelist", QJsonArray{"first", "x"}}}}}
        << QStringList{"payload"} << true << QStringList{"first", "x"} << "first" << "";
    QTest::newRow("versioned, empty titles")
        << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{}}}}}
        << QStringList{"payload"} << true << QStringList{} << "" << "";
    QTest::newRow("legacy") << QJsonObject{{"payload", QJsonObject{{"Title", "old"}, {"ImagePath", "/i.png"}, {"Value", "lv"}}}}
                            << QStringList{"payload"} << true << QStringList{"old"} << "old" << "lv";
    QTest::newRow("wrong types") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", "notalist"},
                                                                       {"actionTitle", 5}, {"Value", QJsonArray{1}},
                                                                       {"displayView", "x"}}}}
                                 << QStringList{"payload"} << true << QStringList{} << "" << "";
    QTest::newRow("preset") << QJsonObject{{"preset", QJsonObject{{"title", "P"}, {"icon", "/p.png"}, {"value", "pv"}}},
                                           {"payload", QJsonObject{{"Value", "ignored"}}}}
                            << QStringList{"preset"} << true << QStringList{"P"} << "P" << "pv";
    QTest::newRow("preset refused") << QJsonObject{{"preset", QJsonObject{{"title", "P"}}}}
                                    << QStringList{"preset"} << false << QStringList{"Test"} << "Test" << "default";
}

void tst_SystemAction::initBranches()
{
    QFETCH(QJsonObject, params);
    QFETCH(QStringList, calls);
    QFETCH(bool, accepted);
    QFETCH(QStringList, titles);
    QFETCH(QString, actionTitle);
    QFETCH(QString, value);

    TestAction action;
    action.record.reset();  // what a refused preset must leave untouched
    action.propertyWidget();  // an inspector to sync: built, and filled once
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    if (!accepted)
        QTest::ignoreMessage(QtWarningMsg, "[TestAction][Preset] refused: no value");
    QCOMPARE(action.init("key-7", params), accepted);
    QCOMPARE(action.target, QStringLiteral("key-7"));
    QCOMPARE(action.calls, calls);
    QCOMPARE(action.record.titles, titles);
    QCOMPARE(action.actionTitle(), actionTitle);
    QCOMPARE(action.record.value, value);
    QCOMPARE(action.syncs, accepted ? 2 : 1);
    QCOMPARE(sent.count(), 0);  // only edits report
}

void tst_SystemAction::inspectorConnectedOnce()
{
    // Built on the host's first request, after any number of inits, then kept in step.
    TestAction action;
    QVERIFY(action.init("k", {}));
    QVERIFY(action.init("k", {{"payload", QJsonObject{{"Title", "t"}}}}));
    QCOMPARE(action.syncs + action.connects, 0);
    action.propertyWidget();
    action.propertyWidget();
    QCOMPARE(action.syncs, 1);
    QVERIFY(action.init("k", {{"payload", QJsonObject{{"Title", "u"}}}}));
    QCOMPARE(action.syncs, 2);
    QCOMPARE(action.connects, 1);
}

void tst_SystemAction::dispatch_data()
{
    QTest::addColumn<QJsonObject>("event");
    QTest::addColumn<QStringList>("calls");

    namespace Ev = TovKyPluginEventType;
    QTest::newRow("key up") << typed(Ev::kKeyUpEvent) << QStringList{"up"};
    QTest::newRow("key down") << typed(Ev::kKeyDownEvent) << QStringList{"down"};
    QTest::newRow("app triggered") << typed(Ev::kAppTriggeredEvent) << QStringList{"triggered"};
    QTest::newRow("capitals") << typed(Ev::kKeyDownEvent.toUpper()) << QStringList{};
    QTest::newRow("trailing space") << typed(Ev::kKeyUpEvent + " ") << QStringList{};
    QTest::newRow("set settings is outgoing only") << typed(Ev::kSetSettingsEvent) << QStringList{};
    QTest::newRow("no event") << QJsonObject{{"target", "k1"}, {"type", Ev::kKeyUpEvent}} << QStringList{};
    QTest::newRow("event not an object") << envelope(QJsonValue(Ev::kKeyUpEvent)) << QStringList{};
    QTest::newRow("event is an array") << envelope(QJsonArray{Ev::kKeyUpEvent}) << QStringList{};
    QTest::newRow("type not a string") << envelope(QJsonObject{{"type", 3}}) << QStringList{};
    QTest::newRow("empty") << QJsonObject{} << QStringList{};
}

void tst_SystemAction::dispatch()
{
    QFETCH(QJsonObject, event);
    QFETCH(QStringList, calls);
    for (int form = 0; form < 2; ++form) {
        TestAction action;
        QJsonObject result{{"untouched", true}};
        if (form == 0)
            action.eventReceived(event, result);
        else
            action.eventReceived(event, result, 42);
        QCOMPARE(action.calls, calls);
        QCOMPARE(result, QJsonObject({{"untouched", true}}));
        if (!calls.isEmpty())
            QCOMPARE(action.lastArgument, QJsonObject());  // handlers never see the event
    }
}

void tst_SystemAction::reportEnvelope()
{
    TestAction action;
    QVERIFY(action.init("key-9", {{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}},
                                                          {"iconlist", QJsonArray{"/x.png"}}, {"Value", "v"},
                                                          {"displayView", kDisplay}}}}));
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    QCOMPARE(action.onSetSettingsEvent({{"ignored", 1}}), 0);
    QCOMPARE(sent.count(), 1);
    const QJsonObject envelope = sent.first().first().toJsonObject();
    QCOMPARE(envelope.keys(), QStringList({"event", "target"}));
    QCOMPARE(envelope["target"].toString(), QStringLiteral("key-9"));
    const QJsonObject event = envelope["event"].toObject();
    QCOMPARE(event.keys(), QStringList({"AppVersion", "SDKVersion", "payload", "type"}));
    QCOMPARE(event["type"].toString(), QStringLiteral("tov.ky.plugin.event.set.settings"));
    QCOMPARE(event["SDKVersion"].toString(), QStringLiteral("1.0.0"));
    QCOMPARE(event["AppVersion"].toString(), QStringLiteral("1.0.0"));
    const QJsonObject payload = event["payload"].toObject();
    QCOMPARE(payload, QJsonObject({{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"iconlist", QJsonArray{"/x.png"}},
                                   {"actionTitle", "T"}, {"Value", "v"}, {"displayView", payload["displayView"]}}));
    QCOMPARE(payload["displayView"].toObject()["bold"], QJsonValue(true));
}

void tst_SystemAction::roundTrip_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::newRow("defaults") << QJsonObject{};
    QTest::newRow("legacy") << QJsonObject{{"payload", QJsonObject{{"Title", "t"}, {"ImagePath", "p"}, {"Value", "v"}}}};
    QTest::newRow("preset") << QJsonObject{{"preset", QJsonObject{{"title", "t"}, {"value", "v"}, {"displayView", kDisplay}}}};
    QTest::newRow("many states") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"a", "", "c"}},
                                                                        {"iconlist", QJsonArray{"1", "2"}}, {"actionTitle", ""},
                                                                        {"displayView", kDisplay}}}};
    QTest::newRow("unicode and long") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"標題 ✓"}},
                                                                             {"Value", QString(100000, QChar('x'))}}}};
}

// The reported payload restores the same record.
void tst_SystemAction::roundTrip()
{
    QFETCH(QJsonObject, params);
    TestAction first;
    QVERIFY(first.init("a", params));
    TestAction second;
    QVERIFY(second.init("b", {{"payload", first.settingsJson()}}));
    QVERIFY(first.record == second.record);
    QCOMPARE(second.settingsJson(), first.settingsJson());
}

void tst_SystemAction::actionModeBeforeInit()
{
    TestAction action;
    action.actionMode = true;
    QVERIFY(action.init("k", {}));
    action.propertyWidget();
    QVERIFY(action.readOnlyTitle);
}

QTEST_MAIN(tst_SystemAction)
#include "tst_systemaction.moc"

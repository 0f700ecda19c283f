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
    void initBranches_data()
    {
        QTest::addColumn<QJsonObject>("params");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("actionTitle");
        QTest::addColumn<QString>("value");

        QTest::newRow("neither") << QJsonObject{} << true << QStringList{"Test"} << "Test" << "default";
        QTest::newRow("payload not an object") << QJsonObject{{"payload", "text"}} << true << QStringList{"Test"} << "Test" << "default";
        QTest::newRow("versioned") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"a", "b"}},
                                                                         {"actionTitle", "act"}, {"Value", "v"}}}}
                                   << true << QStringList{"a", "b"} << "act" << "v";
        QTest::newRow("legacy") << QJsonObject{{"payload", QJsonObject{{"Title", "old"}, {"ImagePath", "/i.png"}, {"Value", "lv"}}}}
                                << true << QStringList{"old"} << "old" << "lv";
        QTest::newRow("wrong types") << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", "notalist"},
                                                                           {"actionTitle", 5}, {"Value", QJsonArray{1}},
                                                                           {"displayView", "x"}}}}
                                     << true << QStringList{} << "" << "";
        QTest::newRow("preset") << QJsonObject{{"preset", QJsonObject{{"title", "P"}, {"icon", "/p.png"}, {"value", "pv"}}},
                                               {"payload", QJsonObject{{"Value", "ignored"}}}}
                                << true << QStringList{"P"} << "P" << "pv";
        QTest::newRow("many states, unicode, long")
            << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"標題 ✓", "", "c"}},
                                                   {"iconlist", QJsonArray{"1", "2"}}, {"actionTitle", ""},
                                                   {"Value", QString(100000, QChar('x'))}, {"displayView", kDisplay}}}}
            << true << QStringList{"標題 ✓", "", "c"} << "" << QString(100000, QChar('x'));
        QTest::newRow("preset refused") << QJsonObject{{"preset", QJsonObject{{"title", "P"}}}} << false << QStringList{"Test"} << "Test"
                                        << "default";
    }

    // Preset, stored payload (versioned or legacy) or defaults, and back through storage.
    void initBranches()
    {
        QFETCH(QJsonObject, params);
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
        QCOMPARE(action.record.titles, titles);
        QCOMPARE(action.actionTitle(), actionTitle);
        QCOMPARE(action.record.value, value);
        QCOMPARE(action.syncs, accepted ? 2 : 1);
        QCOMPARE(sent.count(), 0);  // only edits report
        // What the host stores restores the same record.
        TestAction restored;
        QVERIFY(restored.init("b", {{"payload", action.settingsJson()}}));
        QVERIFY(restored.record == action.record);
        QCOMPARE(restored.settingsJson(), action.settingsJson());
    }

    void dispatch_data()
    {
        QTest::addColumn<QJsonObject>("event");
        QTest::addColumn<QStringList>("calls");

        namespace Ev = TovKyPluginEventType;
        QTest::newRow("key up") << typed(Ev::kKeyUpEvent) << QStringList{"up"};
        QTest::newRow("key down") << typed(Ev::kKeyDownEvent) << QStringList{"down"};
        QTest::newRow("app triggered") << typed(Ev::kAppTriggeredEvent) << QStringList{"triggered"};
        QTest::newRow("no event") << QJsonObject{{"target", "k1"}, {"type", Ev::kKeyUpEvent}} << QStringList{};
        QTest::newRow("event not an object") << envelope(QJsonValue(Ev::kKeyUpEvent)) << QStringList{};
        QTest::newRow("type not a string") << envelope(QJsonObject{{"type", 3}}) << QStringList{};
    }

    void dispatch()
    {
        QFETCH(QJsonObject, event);
        QFETCH(QStringList, calls);
        TestAction action;
        QJsonObject result{{"untouched", true}};
        action.eventReceived(event, result);
        QCOMPARE(action.calls, calls);
        QCOMPARE(result, QJsonObject({{"untouched", true}}));
        if (!calls.isEmpty())
            QCOMPARE(action.lastArgument, QJsonObject());  // handlers never see the event
    }
};

QTEST_MAIN(tst_SystemAction)
#include "tst_systemaction.moc"

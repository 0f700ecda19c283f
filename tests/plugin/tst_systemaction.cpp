#include "plugin/tovkyplugineventtype.h"
#include "testaction.h"

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
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
    void sharedEdits_data();
    void sharedEdits();
    void dispatch_data();
    void dispatch();
};

void tst_SystemAction::initBranches_data()
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
void tst_SystemAction::initBranches()
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
    QCOMPARE(action.target, QStringLiteral("key-7"));
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

// The inspector's title and text-attribute edits: the record, the key face, the
// inspector's preview and one report each, however often the action was set up.
void tst_SystemAction::sharedEdits_data()
{
    QTest::addColumn<bool>("title");  // else the text attributes
    QTest::newRow("title typed") << true;
    QTest::newRow("text attributes") << false;
}

void tst_SystemAction::sharedEdits()
{
    QFETCH(bool, title);
    TestAction action(true);
    action.propertyWidget();  // as a host does when the key is selected; set up twice after that
    QVERIFY(action.init("k", {}));
    QVERIFY(action.init("k", {{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}}}}}));
    auto* base = action.propertyWidget()->findChild<BasePropertyWidget*>();
    auto* faceTitle = action.pluginWidget()->findChild<QLabel*>("lblTitle");
    auto* preview = action.propertyWidget()->findChild<QLabel*>("lblImageText");
    QVERIFY(base && faceTitle && preview);
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    KyDisplayViewAttribute bold;
    bold.bold = true;
    bold.size = 24;
    if (title)
        QTest::keyClicks(base->titleEdit(), "N");
    else
        emit base->viewAttributeChanged(bold);

    QCOMPARE(sent.count(), 1);
    const QJsonObject event{{"type", "tov.ky.plugin.event.set.settings"}, {"SDKVersion", "1.0.0"},
                            {"AppVersion", "1.0.0"}, {"payload", action.settingsJson()}};
    QCOMPARE(sent.first().first().toJsonObject(), QJsonObject({{"target", "k"}, {"event", event}}));
    QCOMPARE(action.actionTitle(), QLatin1String(title ? "TN" : "T"));
    QCOMPARE(faceTitle->text(), action.actionTitle());
    faceTitle->ensurePolished();  // a style sheet's font wins once polished
    preview->ensurePolished();
    QCOMPARE(faceTitle->font().bold(), !title);
    QCOMPARE(preview->font().bold(), !title);
}

void tst_SystemAction::dispatch_data()
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

void tst_SystemAction::dispatch()
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

QTEST_MAIN(tst_SystemAction)
#include "tst_systemaction.moc"

// The Windows Control record in-process: the three input forms and what is stored.
// No window system here (the "none" backend).
#include "actions/windowscontrol/pluginwindowscontrol.h"
#include "plugin/tovkyplugineventtype.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QtTest>

namespace {
const QJsonObject kView{{"family", "DejaVu Sans"}, {"size", 20}, {"color", "#00ff00"}, {"horAlignment", 1},
                        {"bold", true}, {"italic", false}, {"underLine", true}};
const QJsonObject kWindow{{"windowTitleName", "Mail"}, {"processNameOfWindow", "mailer"}, {"windowAction", "0"},
                          {"leftTopPositionX", 10}, {"leftTopPositionY", 20}, {"windowSizeW", 640},
                          {"windowSizeH", 480}};

QJsonObject with(QJsonObject base, const QJsonObject& more)
{
    for (auto it = more.begin(); it != more.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

QJsonObject lastPayload(const QSignalSpy& spy)
{
    return spy.last().first().toJsonObject()["event"].toObject()["payload"].toObject();
}
} // namespace

class tst_PluginWindowsControl : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void inputs_data();
    void inputs();
    void firstEditOfFreshAction();
};

void tst_PluginWindowsControl::initTestCase()
{
    qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
}

void tst_PluginWindowsControl::inputs_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QJsonObject>("expected");  // members of the stored record

    const QJsonValue defaultView = PluginWindowsControl().settingsJson()["displayView"];
    const QJsonObject defaults{{"titlelist", QJsonArray{"W. Control"}}, {"actionTitle", "W. Control"},
                               {"iconlist", QJsonArray{":/SystemDll/images/mainpage_btn_window_control.svg"}},
                               {"windowTitleName", ""}, {"windowAction", ""}, {"leftTopPositionX", 0},
                               {"windowSizeW", -1}, {"windowSizeH", -1}};
    QTest::newRow("defaults") << QJsonObject{} << defaults;
    QTest::newRow("versioned, first entries only")
        << QJsonObject{{"payload", with(kWindow, {{"version", 1}, {"titlelist", QJsonArray{"a", "b"}},
                                                  {"iconlist", QJsonArray{"/1.png", "/2.png"}}, {"actionTitle", "x"},
                                                  {"displayView", kView}})}}
        << with(kWindow, {{"titlelist", QJsonArray{"a"}}, {"iconlist", QJsonArray{"/1.png"}}, {"actionTitle", "a"},
                          {"displayView", kView}});
    QTest::newRow("versioned without lists")
        << QJsonObject{{"payload", QJsonObject{{"version", 1}}}}
        << QJsonObject{{"titlelist", QJsonArray{""}}, {"iconlist", QJsonArray{""}}, {"windowSizeW", -1}};
    QTest::newRow("x without y, w without h")
        << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"leftTopPositionX", 5}, {"windowSizeW", 300}}}}
        << QJsonObject{{"leftTopPositionX", 0}, {"leftTopPositionY", 0}, {"windowSizeW", -1}, {"windowSizeH", -1}};
    QTest::newRow("wrong types")
        << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"windowTitleName", 7}, {"leftTopPositionX", "5"},
                                               {"leftTopPositionY", 3}, {"titlelist", "t"}}}}
        << QJsonObject{{"windowTitleName", ""}, {"leftTopPositionX", 0}, {"leftTopPositionY", 3},
                       {"titlelist", QJsonArray{""}}};
    QTest::newRow("preset starts from the defaults")
        << QJsonObject{{"preset", with(kWindow, {{"titlelist", QJsonArray{}}, {"windowAction", "2"}})}}
        << with(kWindow, {{"titlelist", QJsonArray{""}}, {"actionTitle", ""}, {"windowAction", "2"},
                          {"iconlist", defaults["iconlist"]}});
    QTest::newRow("legacy: own title keys, no window fields, no display view")
        << QJsonObject{{"payload", with(kWindow, {{"onTitle", "Old"}, {"onImagePath", "/old.png"}, {"Title", "x"},
                                                  {"displayView", kView}})}}
        << QJsonObject{{"titlelist", QJsonArray{"Old"}}, {"iconlist", QJsonArray{"/old.png"}}, {"actionTitle", "Old"},
                       {"windowTitleName", ""}, {"windowSizeW", -1}, {"displayView", defaultView}};
}

// What the action stores, and that the stored form restores the same record.
void tst_PluginWindowsControl::inputs()
{
    QFETCH(QJsonObject, params);
    QFETCH(QJsonObject, expected);
    PluginWindowsControl action;
    QVERIFY(action.init("k", params));
    const QJsonObject stored = action.settingsJson();
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(stored.value(it.key()), it.value());
    QCOMPARE(stored["version"].toInt(), 1);
    QCOMPARE(action.actionIconFilePath(), QString());
    PluginWindowsControl restored;
    QVERIFY(restored.init("k", {{"payload", stored}}));
    QCOMPARE(restored.settingsJson(), stored);
}

// No report at init; the first edit stores the unset size as -1 x -1.
void tst_PluginWindowsControl::firstEditOfFreshAction()
{
    PluginWindowsControl action;
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    QVERIFY(action.init("k", {}));
    QCOMPARE(sent.count(), 0);
    QVERIFY(QMetaObject::invokeMethod(action.propertyWidget()->findChild<QObject*>("base"), "onIconPathChanged",
                                      Q_ARG(int, 0), Q_ARG(QString, "/new.png")));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(lastPayload(sent)["windowSizeW"].toInt(), -1);
    QCOMPARE(lastPayload(sent)["windowAction"].toString(), QString());
}

QTEST_MAIN(tst_PluginWindowsControl)
#include "tst_pluginwindowscontrol.moc"

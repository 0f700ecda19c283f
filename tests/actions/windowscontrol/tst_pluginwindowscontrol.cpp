// The Windows Control record in-process: the three input forms, what is stored, and
// the inspector's field rules. No window system here (the "none" backend).
#include "actions/windowscontrol/pluginwindowscontrol.h"
#include "plugin/tovkyplugineventtype.h"

#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
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
    void legacyKeepsWindowFields();
    void firstEditOfFreshAction();
    void fieldRules_data();
    void fieldRules();
};

void tst_PluginWindowsControl::initTestCase()
{
    qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
}

void tst_PluginWindowsControl::inputs_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QJsonObject>("expected");  // members of the stored record

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

void tst_PluginWindowsControl::legacyKeepsWindowFields()
{
    PluginWindowsControl action;
    QVERIFY(action.init("k", {{"payload", with(kWindow, {{"version", 1}, {"displayView", kView}})}}));
    QVERIFY(action.initWithPayload(with(kWindow, {{"onTitle", "Old"}, {"onImagePath", "/old.png"},
                                                  {"windowTitleName", "Other"}, {"displayView", QJsonObject{}}})));
    const QJsonObject stored = action.settingsJson();
    QCOMPARE(stored["titlelist"].toArray(), QJsonArray{"Old"});
    QCOMPARE(stored["iconlist"].toArray(), QJsonArray{"/old.png"});
    QCOMPARE(stored["windowTitleName"].toString(), QStringLiteral("Mail"));
    QCOMPARE(stored["displayView"].toObject(), kView);
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

void tst_PluginWindowsControl::fieldRules_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("reports");  // one save reports four times
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("stored");

    QTest::newRow("x: minus alone") << "lineEditX" << "-" << "-" << 0 << "leftTopPositionX" << 10;
    QTest::newRow("x: negative") << "lineEditX" << "-5" << "-5" << 4 << "leftTopPositionX" << -5;
    QTest::newRow("w: no minus") << "lineEditW" << "-5" << "5" << 4 << "windowSizeW" << 5;
    QTest::newRow("w: six digits") << "lineEditW" << "123456" << "12345" << 20 << "windowSizeW" << 12345;
    QTest::newRow("y: letters") << "lineEditY" << "ab" << "" << 0 << "leftTopPositionY" << 20;
}

// Typing into a cleared field of a stored resize, as the user does.
void tst_PluginWindowsControl::fieldRules()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, reports);
    QFETCH(QString, key);
    QFETCH(int, stored);
    PluginWindowsControl action;
    QVERIFY(action.init("k", {{"payload", with(kWindow, {{"version", 1}})}}));
    auto* edit = action.propertyWidget()->findChild<QLineEdit*>(field);
    QVERIFY(edit && edit->isEnabled());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);  // empty: not a number, nothing saved
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(sent.count(), reports);
    const QJsonObject record = action.settingsJson();
    QCOMPARE(record[key].toInt(), stored);
    QCOMPARE(record["windowTitleName"].toString(), QStringLiteral("Mail"));  // kept while no window is open
}

QTEST_MAIN(tst_PluginWindowsControl)
#include "tst_pluginwindowscontrol.moc"

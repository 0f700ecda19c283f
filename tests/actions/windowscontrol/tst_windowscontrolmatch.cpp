// "Any window of this program": how the record stores it (only when chosen, so older
// hosts and records see what they always saw; another host's form kept as it came),
// the task a trigger then carries out, and the inspector's check box reporting it.
#include "actions/actiontest.h"
#include "actions/windowscontrol/pluginwindowscontrol.h"
#include "actions/windowscontrol/pluginwindowscontrolpayload.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

class tst_WindowsControlMatch : public QObject
{
    Q_OBJECT
private slots:
    void record_data()
    {
        QTest::addColumn<QByteArray>("match");   // the stored "windowMatch", JSON; empty: none
        QTest::addColumn<bool>("byProgram");
        QTest::addColumn<QString>("appId");

        QTest::newRow("none: the exact title") << QByteArray() << false << QString();
        QTest::newRow("program with its app id") << QByteArray(R"({"by":"program","appId":"firefox"})") << true
                                                 << "firefox";
        QTest::newRow("program without app id: by process name") << QByteArray(R"({"by":"program","appId":""})")
                                                                 << true << QString();
        QTest::newRow("another host's form: title, kept") << QByteArray(R"({"by":"regex","pattern":"^Mail"})")
                                                          << false << QString();
        QTest::newRow("no object: title, kept") << QByteArray(R"([7])") << false << QString();
    }

    void record()
    {
        QFETCH(QByteArray, match);
        QFETCH(bool, byProgram);
        QFETCH(QString, appId);

        QJsonObject payload{{"version", 1}, {"windowTitleName", "Inbox - Mail"}, {"processNameOfWindow", "mail"},
                            {"windowAction", "1"}};
        const QJsonValue stored = match.isEmpty() ? QJsonValue() : QJsonDocument::fromJson("[" + match + "]").array().at(0);
        if (!match.isEmpty())
            payload.insert("windowMatch", stored);
        PluginWindowsControl::PayloadImpl record;
        record.setPayload(payload);
        const WindowTask task = record.task();
        QCOMPARE(task.match == WindowTask::Match::Program, byProgram);
        QCOMPARE(task.appId, appId);
        QCOMPARE(task.process, QString("mail"));
        QCOMPARE(task.operation, WindowTask::Minimise);
        const QJsonObject written = record.toJson();
        QCOMPARE(written.contains("windowMatch"), !match.isEmpty());
        if (!match.isEmpty())
            QCOMPARE(written.value("windowMatch"), stored);
    }

    // Ticking the box reports the choice at once; unticking drops the key again.
    void inspector()
    {
        PluginWindowsControl action;
        QVERIFY(action.init("k", v1({{"windowTitleName", "Inbox - Mail"}, {"processNameOfWindow", "mail"}})));
        QWidget* inspector = action.propertyWidget();
        QVERIFY(inspector);
        auto* box = inspector->findChild<QCheckBox*>("checkBoxAnyWindow");
        QVERIFY(box);
        QVERIFY(!box->isChecked());
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        box->click();
        QVERIFY(!sent.isEmpty());
        QCOMPARE(lastPayload(sent).value("windowMatch").toObject().value("by").toString(), QString("program"));
        QCOMPARE(lastPayload(sent).value("processNameOfWindow").toString(), QString("mail"));
        box->click();
        QVERIFY(!lastPayload(sent).contains("windowMatch"));

        PluginWindowsControl reopened;
        QVERIFY(reopened.init("k", v1({{"windowTitleName", "Inbox - Mail"},
                                       {"windowMatch", QJsonObject{{"by", "program"}, {"appId", "mail"}}}})));
        QVERIFY(reopened.propertyWidget()->findChild<QCheckBox*>("checkBoxAnyWindow")->isChecked());
    }

    // On GNOME without our Shell extension the inspector says how to enable it, and the
    // key lists nothing.
    void gnomeExtensionMissing()
    {
        qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "gnome");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no window control on GNOME"));
        PluginWindowsControl action;
        QVERIFY(action.init("k", v1({{"windowTitleName", "Inbox - Mail"}})));
        QWidget* inspector = action.propertyWidget();
        qputenv("SYSTEMDLL_WINDOWCONTROL_BACKEND", "none");
        auto* hint = inspector->findChild<QLabel*>("labelSetupHint");
        QVERIFY(hint && !hint->isHidden());
        QVERIFY(hint->text().contains("LAB_WINDOWCONTROL_GNOME_EXTENSION"));  // no translator installed here

        PluginWindowsControl elsewhere;
        QVERIFY(elsewhere.init("k", v1({})));
        QVERIFY(elsewhere.propertyWidget()->findChild<QLabel*>("labelSetupHint")->isHidden());
    }
};

QTEST_MAIN(tst_WindowsControlMatch)
#include "tst_windowscontrolmatch.moc"

// Input Hotkey in-process: recording in the inspector, the record's input forms,
// what a trigger posts.
#include "actions/hotkey/plugininputhotkey.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"
#include "plugin/tovkyplugineventtype.h"

#include <QJsonArray>
#include <QKeySequenceEdit>
#include <QSignalSpy>
#include <QtTest>

namespace {
using Keys = QList<QPair<int, int>>;  // key, modifiers

QJsonObject eventOf(const QString& type)
{
    return {{"target", "k"}, {"event", QJsonObject{{"type", type}}}};
}
QString reportedHotkey(const QSignalSpy& spy)
{
    return spy.last().first().toJsonObject()["event"].toObject()["payload"].toObject()["SendHotkey"].toString();
}
}

class tst_PluginInputHotkey : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void recording_data();
    void recording();
    void storedHotkeyShown();
    void inputForms_data();
    void inputForms();
    void trigger();

private:
    RecordingKeyboardService* m_keys = nullptr;
};

void tst_PluginInputHotkey::initTestCase()
{
    auto recorder = std::make_unique<RecordingKeyboardService>();
    m_keys = recorder.get();
    KeyboardEventService::setInstance(std::move(recorder));
}

void tst_PluginInputHotkey::recording_data()
{
    QTest::addColumn<Keys>("keys");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("atOnce");  // without waiting for the key edit to finish

    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
    QTest::newRow("Ctrl+Shift+A") << Keys{{Qt::Key_A, ctrl | shift}} << "Ctrl+Shift+A" << "Ctrl+Shift+A" << false;
    QTest::newRow("only the first combination") << Keys{{Qt::Key_A, ctrl}, {Qt::Key_B, 0}} << "Ctrl+A" << "Ctrl+A" << false;
    QTest::newRow("shifted 1") << Keys{{Qt::Key_Exclam, shift}} << "Shift+1" << "Shift+1" << true;
    QTest::newRow("shifted bar") << Keys{{Qt::Key_Bar, shift}} << "Shift+\\" << "Shift+\\" << true;
    QTest::newRow("shifted tilde") << Keys{{Qt::Key_AsciiTilde, shift}} << "Shift+`" << "Shift+`" << true;
    QTest::newRow("shifted letter is recorded as is") << Keys{{Qt::Key_A, shift}} << "Shift+A" << "Shift+A" << false;
    QTest::newRow("Ctrl key-pad 5") << Keys{{Qt::Key_5, ctrl | pad}} << "Ctrl+5NUMPAD" << "Ctrl+5" << true;
    QTest::newRow("Ctrl wins over Shift on the key-pad") << Keys{{Qt::Key_4, ctrl | shift | pad}} << "Ctrl+4NUMPAD" << "Ctrl+4" << true;
    QTest::newRow("Alt key-pad 7") << Keys{{Qt::Key_7, Qt::AltModifier | pad}} << "Alt+7NUMPAD" << "Alt+7" << true;
    QTest::newRow("plain key-pad digit") << Keys{{Qt::Key_7, pad}} << "7" << "7" << false;
}

// Every recording reaches the host once, as the action's new settings.
void tst_PluginInputHotkey::recording()
{
    QFETCH(Keys, keys);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(bool, atOnce);
    PluginInputHotkey action;
    QVERIFY(action.init("k1", {}));
    auto* edit = action.propertyWidget()->findChild<QKeySequenceEdit*>("txtEditPluginInputHotkey");
    QVERIFY(edit);
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    for (const auto& [key, modifiers] : keys)
        QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(sent.count(), atOnce ? 1 : 0);
    QTRY_COMPARE(sent.count(), 1);
    QCOMPARE(reportedHotkey(sent), stored);
    QCOMPARE(action.hotkey(), stored);
    QCOMPARE(edit->keySequence().toString(QKeySequence::PortableText), shown);
    QTest::qWait(1200);  // the key edit's own end of recording adds nothing
    QCOMPARE(sent.count(), 1);
}

// A stored key-pad form shows as it was recorded, and loading it is no edit.
void tst_PluginInputHotkey::storedHotkeyShown()
{
    PluginInputHotkey action;
    QSignalSpy sent(&action, &KYPlugin::eventSent);
    QVERIFY(action.init("k1", {{"payload", QJsonObject{{"version", 1}, {"SendHotkey", "Ctrl+5NUMPAD"}}}}));
    auto* edit = action.propertyWidget()->findChild<QKeySequenceEdit*>("txtEditPluginInputHotkey");
    QCOMPARE(edit->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_5));
    QCOMPARE(sent.count(), 0);
}

void tst_PluginInputHotkey::inputForms_data()
{
    QTest::addColumn<QJsonObject>("params");
    QTest::addColumn<QJsonObject>("expected");  // the members that matter of the stored record

    const QString icon = QStringLiteral(":/SystemDll/images/mainpage_btn_hotkey.png");
    QTest::newRow("legacy") << QJsonObject{{"payload", QJsonObject{{"Title", "T"}, {"ImagePath", "p"}, {"SendHotkey", "Alt+Tab"}}}}
                            << QJsonObject{{"version", 1}, {"titlelist", QJsonArray{"T"}}, {"iconlist", QJsonArray{"p"}},
                                           {"actionTitle", "T"}, {"SendHotkey", "Alt+Tab"}};
    QTest::newRow("preset keeps first entries")
        << QJsonObject{{"preset", QJsonObject{{"titlelist", QJsonArray{"a", "b", "c"}}, {"iconlist", QJsonArray{"i", "j"}},
                                              {"SendHotkey", "F5"}}}}
        << QJsonObject{{"titlelist", QJsonArray{"a"}}, {"iconlist", QJsonArray{"i"}}, {"actionTitle", "a"}, {"SendHotkey", "F5"}};
    QTest::newRow("preset without lists keeps defaults")
        << QJsonObject{{"preset", QJsonObject{{"titlelist", QJsonArray{}}, {"actionTitle", "Undo"}}}}
        << QJsonObject{{"titlelist", QJsonArray{"Hotkey"}}, {"iconlist", QJsonArray{icon}}, {"actionTitle", "Undo"}, {"SendHotkey", ""}};
    QTest::newRow("empty lists read as empty")
        << QJsonObject{{"payload", QJsonObject{{"version", 1}, {"titlelist", QJsonArray{}}, {"SendHotkey", 5}}}}
        << QJsonObject{{"titlelist", QJsonArray{}}, {"actionTitle", ""}, {"SendHotkey", ""}};
}

void tst_PluginInputHotkey::inputForms()
{
    QFETCH(QJsonObject, params);
    QFETCH(QJsonObject, expected);
    PluginInputHotkey action;
    QVERIFY(action.init("k1", params));
    const QJsonObject stored = action.settingsJson();
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QVERIFY2(stored[it.key()] == it.value(), qPrintable(it.key()));
    QCOMPARE(action.actionIconFilePath(), stored["actionTitle"].toString());
}

// Key down and up change only the face; the trigger posts the hotkey's one key-down.
void tst_PluginInputHotkey::trigger()
{
    m_keys->clear();
    PluginInputHotkey action;
    QVERIFY(action.init("k7", {{"payload", QJsonObject{{"version", 1}, {"SendHotkey", "Ctrl+Shift+A"}}}}));
    for (const QString& type : {TovKyPluginEventType::kKeyDownEvent, TovKyPluginEventType::kKeyUpEvent,
                                TovKyPluginEventType::kAppTriggeredEvent}) {
        QJsonObject result;
        action.eventReceived(eventOf(type), result);
        QCOMPARE(result, QJsonObject({{"id", "k7"}, {"success", true}}));
    }
    QCOMPARE(m_keys->events(), KeyEventSequence{KeyEvent::press(0x00, KeyEvent::HidSystemState).withFlags(0x120000)});
}

QTEST_MAIN(tst_PluginInputHotkey)
#include "tst_plugininputhotkey.moc"

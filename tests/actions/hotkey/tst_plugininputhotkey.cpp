// Input Hotkey in-process: recording in the inspector, and what a trigger posts for
// the stored string.
#include "../actiontest.h"
#include "actions/hotkey/plugininputhotkey.h"
#include "platform/keyboard/record/recordingkeyboardservice.h"

#include <QKeySequenceEdit>
#include <QtTest>

namespace {
using Keys = QList<QPair<int, int>>;  // key, modifiers
KeyEventSequence hid(quint16 code) { return {KeyEvent::press(code, KeyEvent::HidSystemState)}; }
KeyEventSequence chord(quint16 code, quint64 flags) { return {KeyEvent::press(code, KeyEvent::HidSystemState).withFlags(flags)}; }
}

class tst_PluginInputHotkey : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        auto recorder = std::make_unique<RecordingKeyboardService>();
        m_keys = recorder.get();
        KeyboardEventService::setInstance(std::move(recorder));
    }

    void recording_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("atOnce");  // without waiting for the key edit to finish

        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, pad = Qt::KeypadModifier;
        QTest::newRow("Ctrl+Shift+A") << Keys{{Qt::Key_A, ctrl | shift}} << "Ctrl+Shift+A" << "Ctrl+Shift+A" << false;
        QTest::newRow("only the first combination") << Keys{{Qt::Key_A, ctrl}, {Qt::Key_B, 0}} << "Ctrl+A" << "Ctrl+A" << false;
        QTest::newRow("shifted 1") << Keys{{Qt::Key_Exclam, shift}} << "Shift+1" << "Shift+1" << true;
        QTest::newRow("shifted letter is recorded as is") << Keys{{Qt::Key_A, shift}} << "Shift+A" << "Shift+A" << false;
        QTest::newRow("Ctrl key-pad 5") << Keys{{Qt::Key_5, ctrl | pad}} << "Ctrl+5NUMPAD" << "Ctrl+5" << true;
        QTest::newRow("Ctrl wins over Shift on the key-pad") << Keys{{Qt::Key_4, ctrl | shift | pad}} << "Ctrl+4NUMPAD" << "Ctrl+4" << true;
        QTest::newRow("Alt key-pad 7") << Keys{{Qt::Key_7, Qt::AltModifier | pad}} << "Alt+7NUMPAD" << "Alt+7" << true;
        QTest::newRow("plain key-pad digit") << Keys{{Qt::Key_7, pad}} << "7" << "7" << false;
        QTest::newRow("Ctrl key-pad plus") << Keys{{Qt::Key_Plus, ctrl | pad}} << "Ctrl++NUMPAD" << "Ctrl++" << true;
    }

    // Every recording reaches the host once, as the action's new settings.
    void recording()
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
        QCOMPARE(lastPayload(sent)["SendHotkey"].toString(), stored);
        QCOMPARE(edit->keySequence().toString(QKeySequence::PortableText), shown);
        if (atOnce)
            QTest::qWait(1100);  // the key edit's own end of recording would have come
        QCOMPARE(sent.count(), 1);
        PluginInputHotkey restored;  // shows the stored hotkey as it was recorded
        QVERIFY(restored.init("k2", v1({{"SendHotkey", stored}})));
        edit = restored.propertyWidget()->findChild<QKeySequenceEdit*>("txtEditPluginInputHotkey");
        QCOMPARE(edit->keySequence().toString(QKeySequence::PortableText), shown);
    }

    // The string to the one key-down a trigger posts: the rules, not the key table.
    void trigger_data()
    {
        QTest::addColumn<QString>("hotkey");
        QTest::addColumn<KeyEventSequence>("expected");
        QTest::newRow("Ctrl+Shift+A") << "Ctrl+Shift+A" << chord(0x00, 0x120000);
        QTest::newRow("shifted digit is the main 1") << "Shift+1" << chord(0x12, 0x20000);
        QTest::newRow("lone digit is the key-pad 1") << "1" << hid(0x53);
        QTest::newRow("five tokens are all four whatever they say") << "a+b+c+d+X" << chord(0x07, 0x1E0000);
        QTest::newRow("unknown first of two is Control") << "Hyper+A" << chord(0x00, 0x40000);
        QTest::newRow("lone plus is key-pad plus") << "+" << hid(0x45);
        QTest::newRow("lone equals goes private to the session tap")
            << "=" << KeyEventSequence{KeyEvent::press(0x51, KeyEvent::PrivateState, KeyEvent::SessionEventTap)};
        QTest::newRow("key-pad form is the key-pad digit") << "Ctrl+5NUMPAD" << chord(0x57, 0x100000);
        QTest::newRow("key-pad plus form") << "Ctrl++NUMPAD" << chord(0x45, 0x100000);
        QTest::newRow("plus with a modifier, as stored before, is the key-pad plus") << "Ctrl++" << chord(0x45, 0x100000);
        QTest::newRow("Backtab alone is Shift+Tab") << "Backtab" << chord(0x30, 0x20000);
        QTest::newRow("six tokens") << "Ctrl+Alt+Shift+Meta+Ctrl+A" << KeyEventSequence();
        QTest::newRow("a special key outside the table") << QKeySequence(Qt::CTRL | Qt::Key_Sleep).toString() << KeyEventSequence();
        QTest::newRow("a special key Qt cannot name") << QKeySequence(Qt::CTRL | Qt::Key_Launch0).toString() << KeyEventSequence();
    }

    // Key down and up change only the face; each event is answered as handled.
    void trigger()
    {
        QFETCH(QString, hotkey);
        QFETCH(KeyEventSequence, expected);
        m_keys->clear();
        PluginInputHotkey action;
        QVERIFY(action.init("k7", v1({{"SendHotkey", hotkey}})));
        if (expected.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no key to send for"));
        for (const QString& type : {TovKyPluginEventType::kKeyDownEvent, TovKyPluginEventType::kKeyUpEvent,
                                    TovKyPluginEventType::kAppTriggeredEvent})
            QCOMPARE(answer(action, type), QJsonObject({{"id", "k7"}, {"success", true}}));
        QCOMPARE(m_keys->events(), expected);
    }

    // The key edit ends a "recording" at every focus-out: a stored hotkey stays as it is
    // and is not reported again; a new recording is reported once.
    void focusOut_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QString>("after");
        QTest::newRow("key-pad form kept") << "Ctrl+5NUMPAD" << Keys{} << "Ctrl+5NUMPAD";
        QTest::newRow("key-pad plus kept") << "Ctrl++NUMPAD" << Keys{} << "Ctrl++NUMPAD";
        QTest::newRow("plain chord not reported again") << "Ctrl+Shift+A" << Keys{} << "Ctrl+Shift+A";
        QTest::newRow("new recording reported once") << "Ctrl+5NUMPAD" << Keys{{Qt::Key_B, int(Qt::ControlModifier)}} << "Ctrl+B";
        QTest::newRow("the same chord again is no change") << "Ctrl+B" << Keys{{Qt::Key_B, int(Qt::ControlModifier)}} << "Ctrl+B";
    }

    void focusOut()
    {
        QFETCH(QString, stored);
        QFETCH(Keys, keys);
        QFETCH(QString, after);
        PluginInputHotkey action;
        QVERIFY(action.init("k", v1({{"SendHotkey", stored}})));
        auto* edit = action.propertyWidget()->findChild<QKeySequenceEdit*>("txtEditPluginInputHotkey");
        QSignalSpy sent(&action, &KYPlugin::eventSent);
        for (const auto& [key, modifiers] : keys)
            QTest::keyClick(edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        for (int i = 0; i < 2; ++i) {
            QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
            QCoreApplication::sendEvent(edit, &out);
        }
        QCOMPARE(sent.count(), after == stored ? 0 : 1);
        if (sent.count())
            QCOMPARE(lastPayload(sent)["SendHotkey"].toString(), after);
        QCOMPARE(static_cast<PluginInputHotkey&>(action).hotkey(), after);
    }

private:
    RecordingKeyboardService* m_keys = nullptr;
};

QTEST_MAIN(tst_PluginInputHotkey)
#include "tst_plugininputhotkey.moc"

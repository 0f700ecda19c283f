// A triggered hotkey reaching a focused window of this test through the X server,
// while the keyboard layout changes under one living keyboard service.
#include "../actiontest.h"
#include "actions/hotkey/plugininputhotkey.h"
#include "platform/keyboard/x11/x11keyboardservice.h"
#include "platform/x11/xtestinjector.h"

#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

class KeyTarget : public QWidget
{
public:
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool released = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!key && !QList<int>{Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Meta, Qt::Key_Super_L}.contains(event->key())) {
            key = event->key();
            modifiers = event->modifiers() & ~Qt::KeypadModifier;
            text = event->text();
        }
    }

    void keyReleaseEvent(QKeyEvent* event) override { released = released || event->key() == key; }
};
}

class tst_HotkeyLayouts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        QVERIFY2(!QStandardPaths::findExecutable("setxkbmap").isEmpty(), "setxkbmap is missing (scripts/setup)");
        auto service = X11KeyboardService::open();
        m_probe = XTestInjector::open();
        QVERIFY(service && m_probe);
        KeyboardEventService::setInstance(std::move(service));
        m_target.setWindowTitle("hotkey target");
        m_target.resize(300, 60);
        m_target.show();
        m_target.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_target));
    }

    // In this order, so that one service meets each switch; text is checked where typed.
    void chords_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("hotkey");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");

        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        QTest::newRow("us Ctrl+Z") << "us" << "Ctrl+Z" << int(Qt::Key_Z) << ctrl << "";
        QTest::newRow("us Shift+1") << "us" << "Shift+1" << int(Qt::Key_Exclam) << shift << "!";
        QTest::newRow("de Ctrl+Z") << "de" << "Ctrl+Z" << int(Qt::Key_Z) << ctrl << "";
        QTest::newRow("de Z") << "de" << "Z" << int(Qt::Key_Z) << 0 << "z";
        QTest::newRow("de key-pad 1") << "de" << "1" << int(Qt::Key_1) << 0 << "1";
        QTest::newRow("de Ctrl key-pad 5") << "de" << "Ctrl+5NUMPAD" << int(Qt::Key_5) << ctrl << "";
        QTest::newRow("fr Ctrl+Z") << "fr" << "Ctrl+Z" << int(Qt::Key_Z) << ctrl << "";
        QTest::newRow("fr Ctrl+Shift+A") << "fr" << "Ctrl+Shift+A" << int(Qt::Key_A) << ctrl + shift << "";
        QTest::newRow("us again Ctrl+Z") << "us" << "Ctrl+Z" << int(Qt::Key_Z) << ctrl << "";

        // The keys beyond the key table, stored as the key edit records them (Print is
        // the window manager's here: openbox takes it for screenshots).
        const auto recorded = [](QKeyCombination combination) { return QKeySequence(combination).toString(); };
        const int alt = Qt::AltModifier;
        QTest::newRow("Shift+Tab") << "us" << recorded(Qt::SHIFT | Qt::Key_Backtab) << int(Qt::Key_Backtab) << shift << "";
        QTest::newRow("Ctrl+Ins") << "us" << recorded(Qt::CTRL | Qt::Key_Insert) << int(Qt::Key_Insert) << ctrl << "";
        QTest::newRow("Shift+Ins") << "us" << recorded(Qt::SHIFT | Qt::Key_Insert) << int(Qt::Key_Insert) << shift << "";
        QTest::newRow("Pause") << "us" << recorded(Qt::Key_Pause) << int(Qt::Key_Pause) << 0 << "";
        QTest::newRow("ScrollLock") << "us" << recorded(Qt::Key_ScrollLock) << int(Qt::Key_ScrollLock) << 0 << "";
        QTest::newRow("NumLock on") << "us" << recorded(Qt::Key_NumLock) << int(Qt::Key_NumLock) << 0 << "";
        QTest::newRow("NumLock off") << "us" << recorded(Qt::Key_NumLock) << int(Qt::Key_NumLock) << 0 << "";
        QTest::newRow("Menu") << "us" << recorded(Qt::Key_Menu) << int(Qt::Key_Menu) << 0 << "";
        QTest::newRow("Volume Up") << "us" << recorded(Qt::Key_VolumeUp) << int(Qt::Key_VolumeUp) << 0 << "";
        QTest::newRow("Ctrl+Volume Mute") << "us" << recorded(Qt::CTRL | Qt::Key_VolumeMute) << int(Qt::Key_VolumeMute) << ctrl << "";
        QTest::newRow("Media Play") << "us" << recorded(Qt::Key_MediaPlay) << int(Qt::Key_MediaPlay) << 0 << "";
        QTest::newRow("Media Next") << "us" << recorded(Qt::Key_MediaNext) << int(Qt::Key_MediaNext) << 0 << "";
        QTest::newRow("Back") << "us" << recorded(Qt::Key_Back) << int(Qt::Key_Back) << 0 << "";
        QTest::newRow("Alt+Forward") << "us" << recorded(Qt::ALT | Qt::Key_Forward) << int(Qt::Key_Forward) << alt << "";
        QTest::newRow("Refresh") << "us" << recorded(Qt::Key_Refresh) << int(Qt::Key_Refresh) << 0 << "";
        QTest::newRow("Home Page") << "us" << recorded(Qt::Key_HomePage) << int(Qt::Key_HomePage) << 0 << "";
        QTest::newRow("Search") << "us" << recorded(Qt::Key_Search) << int(Qt::Key_Search) << 0 << "";
        QTest::newRow("Launch Mail") << "us" << recorded(Qt::Key_LaunchMail) << int(Qt::Key_LaunchMail) << 0 << "";
        // Ctrl with the key-pad plus: zoom-in.
        QTest::newRow("Ctrl key-pad plus") << "us" << "Ctrl++NUMPAD" << int(Qt::Key_Plus) << ctrl << "";
        QTest::newRow("Ctrl++ as stored before") << "us" << "Ctrl++" << int(Qt::Key_Plus) << ctrl << "";
    }

    void chords()
    {
        QFETCH(QString, layout);
        QFETCH(QString, hotkey);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QCOMPARE(QProcess::execute("setxkbmap", {layout}), 0);
        m_target.key = 0;
        m_target.released = false;

        PluginInputHotkey action;
        QVERIFY(action.init("k", v1({{"SendHotkey", hotkey}})));
        answer(action);

        QTRY_VERIFY(m_target.released);
        QCOMPARE(QKeySequence(m_target.key).toString(), QKeySequence(key).toString());
        QCOMPARE(int(m_target.modifiers), modifiers);
        if (!text.isEmpty())
            QCOMPARE(m_target.text, text);
        const auto down = m_probe->keyMap();
        QVERIFY2(std::all_of(down.begin(), down.end(), [](char byte) { return byte == 0; }), "a key stayed down");
    }

    void cleanupTestCase()
    {
        QProcess::execute("setxkbmap", {"us"});
        KeyboardEventService::setInstance(nullptr);
    }

private:
    std::unique_ptr<XTestInjector> m_probe;
    KeyTarget m_target;
};

QTEST_MAIN(tst_HotkeyLayouts)
#include "tst_hotkeylayouts.moc"

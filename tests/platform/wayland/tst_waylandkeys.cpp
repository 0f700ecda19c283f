// Keys on a wlroots compositor (headless sway): the virtual keyboard with our own keymap
// reaches a native Wayland client with the chord's modifiers, whatever the session's
// layout, leaves nothing down, and carries the media keys of the fallback.
#include "keyprobe.h"
#include "platform/keyboard/wayland/keysymkeyboardservice.h"
#include "platform/media/mediaconstants.h"
#include "platform/media/wayland/keysymmediakeyservice.h"
#include "platform/wayland/virtualkeyboard.h"

#include <QtTest>

namespace {
KeyEventSequence chord(quint16 code, quint64 flags)
{
    return {KeyEvent::press(code).withFlags(flags), KeyEvent::release(code)};
}

bool swaymsg(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("swaymsg"),
                  QStringList{QStringLiteral("-s"), qEnvironmentVariable("SYSTEMDLL_TEST_SWAYSOCK")} + arguments);
    return process.waitForFinished(5000) && process.exitCode() == 0;
}
} // namespace

class tst_WaylandKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString display = qEnvironmentVariable("SYSTEMDLL_TEST_SWAY_DISPLAY");
        if (display.isEmpty())
            QSKIP("no headless sway (SYSTEMDLL_TEST_SWAY_DISPLAY unset; scripts/test starts one)");
        qputenv("WAYLAND_DISPLAY", display.toUtf8());
        auto keyboard = VirtualKeyboard::open();
        QVERIFY2(keyboard, "sway offers no virtual keyboard");
        KeysymSender::setInstance(std::move(keyboard));
        m_probe = std::make_unique<KeyProbe>(display);
        QVERIFY(m_probe->waitActive());
    }

    void cleanupTestCase()
    {
        if (!qEnvironmentVariableIsEmpty("SYSTEMDLL_TEST_SWAYSOCK"))
            swaymsg({QStringLiteral("input"), QStringLiteral("type:keyboard"), QStringLiteral("xkb_layout"),
                     QStringLiteral("us")});
        m_probe.reset();
        KeysymSender::setInstance(nullptr);
    }

    void hotkey_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<KeyEventSequence>("events");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");

        const quint64 cmdShift = KeyEvent::CommandFlag | KeyEvent::ShiftFlag;
        const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
        QTest::newRow("ctrl_shift_a_us") << "us" << chord(0x00, cmdShift) << int(Qt::Key_A) << ctrlShift;
        // On a German keyboard Z and Y trade places: our keymap keeps Z where it is asked for.
        QTest::newRow("ctrl_z_de") << "de" << chord(0x06, KeyEvent::CommandFlag) << int(Qt::Key_Z)
                                   << int(Qt::ControlModifier);
        QTest::newRow("alt_f4_de") << "de" << chord(0x76, KeyEvent::OptionFlag) << int(Qt::Key_F4)
                                   << int(Qt::AltModifier);
        QTest::newRow("lone_key_down_completed")
            << "us" << KeyEventSequence{KeyEvent::press(0x0E).withFlags(KeyEvent::ShiftFlag)} << int(Qt::Key_E)
            << int(Qt::ShiftModifier);
    }

    // The chord arrives whole; a plain key after it carries no modifier: nothing stayed down.
    void hotkey()
    {
        QFETCH(QString, layout);
        QFETCH(KeyEventSequence, events);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QVERIFY(swaymsg({QStringLiteral("input"), QStringLiteral("type:keyboard"), QStringLiteral("xkb_layout"), layout}));
        m_probe->forget();
        m_service.post(events);
        QCOMPARE(m_probe->modifiersOfPress(key), modifiers);
        QVERIFY(m_probe->sawRelease(key));
        m_probe->forget();
        m_service.post(chord(0x04, 0));
        QCOMPARE(m_probe->modifiersOfPress(Qt::Key_H), int(Qt::NoModifier));
    }

    void mediaKeys_data()
    {
        QTest::addColumn<int>("keyType");
        QTest::addColumn<int>("key");
        QTest::newRow("play") << int(MediaKeyType::kPlay) << int(Qt::Key_MediaPlay);
        QTest::newRow("volume_up") << int(MediaKeyType::kSoundUp) << int(Qt::Key_VolumeUp);
    }

    // The fallback for keys no player takes: the XF86 key reaches the focused client.
    void mediaKeys()
    {
        QFETCH(int, keyType);
        QFETCH(int, key);
        m_probe->forget();
        KeysymMediaKeyService().post(auxKeyPress(quint8(keyType)));
        QCOMPARE(m_probe->modifiersOfPress(key), int(Qt::NoModifier));
        QVERIFY(m_probe->sawRelease(key));
    }

private:
    std::unique_ptr<KeyProbe> m_probe;
    KeysymKeyboardService m_service;
};

QTEST_MAIN(tst_WaylandKeys)
#include "tst_waylandkeys.moc"

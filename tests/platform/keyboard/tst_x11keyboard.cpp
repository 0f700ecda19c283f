// The X11 backend against a real window of this test on the running X server.
#include "platform/keyboard/x11/x11keyboardservice.h"
#include "platform/x11/xtestinjector.h"

#include <QLineEdit>
#include <QtTest>

#include <X11/keysym.h>

namespace {
KeyEventSequence tap(quint16 code, quint64 flags = 0)
{
    KeyEvent down = KeyEvent::press(code);
    if (flags)
        down = down.withFlags(flags);
    return {down, KeyEvent::release(code)};
}
}

class tst_X11Keyboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        m_service = X11KeyboardService::open();
        m_probe = XTestInjector::open();
        QVERIFY(m_service && m_probe);
        m_edit = std::make_unique<QLineEdit>();
        m_edit->setWindowTitle("keyboard target");
        m_edit->resize(400, 40);
        m_edit->show();
        m_edit->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_edit.get()));
        m_edit->setFocus();
        m_edit->installEventFilter(this);
    }

    void init()
    {
        m_edit->clear();
    }

    void typing_data()
    {
        QTest::addColumn<KeyEventSequence>("events");
        QTest::addColumn<QString>("text");

        QTest::newRow("letters") << (tap(0x04) + tap(0x22) + tap(0x31) + tap(0x11)) << "hi t";
        QTest::newRow("digits and punctuation") << (tap(0x12) + tap(0x16) + tap(0x17) + tap(0x2F) + tap(0x1B)) << "165.-";
        QTest::newRow("lone key-down is completed") << KeyEventSequence{KeyEvent::press(0x0E)} << "e";
        QTest::newRow("unknown codes skipped") << (tap(0x0A) + tap(0x7F) + tap(0x80) + tap(0x05)) << "g";
        QTest::newRow("chord failing half way")
            << KeyEventSequence{KeyEvent::press(0x00).withFlags(KeyEvent::ShiftFlag),
                                KeyEvent::press(0x0A).withFlags(KeyEvent::CommandFlag), KeyEvent::release(0x00)}
            << "A";
        QTest::newRow("lone key-down with all modifiers")
            << KeyEventSequence{KeyEvent::press(0x0E).withFlags(KeyEvent::AllModifierFlags)} << "";
    }

    void typing()
    {
        QFETCH(KeyEventSequence, events);
        QFETCH(QString, text);
        for (const KeyEvent& e : events) {
            if (e.code == 0x0A || e.code >= 0x7F)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X key for virtual key code"));
        }
        m_service->post(events);
        QTRY_COMPARE(m_edit->text(), text);
        QVERIFY(!anyKeyDown());
    }

    // Each flag reaches the window as its modifier: Command as Control, Control as Meta.
    void modifiers_data()
    {
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("option") << quint64(KeyEvent::OptionFlag) << int(Qt::AltModifier);
        QTest::newRow("control") << quint64(KeyEvent::ControlFlag) << int(Qt::MetaModifier);
        QTest::newRow("all four, other bits ignored")
            << quint64(KeyEvent::AllModifierFlags | 0x800100)
            << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    }

    void modifiers()
    {
        QFETCH(quint64, flags);
        QFETCH(int, modifiers);
        m_pressModifiers.clear();
        m_service->post(tap(0x00, flags) + tap(0x00));
        QTRY_COMPARE(m_pressModifiers, QList<int>({modifiers, 0}));
        QVERIFY(!anyKeyDown());
    }

    // A modifier the user holds stays held: the sequence neither presses nor releases it.
    void userModifierIsKept()
    {
        const quint8 shift = m_probe->keycodeFor(XK_Shift_L);
        m_probe->press(shift);
        m_probe->sync();
        m_service->post(tap(0x03, KeyEvent::ShiftFlag | KeyEvent::CommandFlag) + tap(0x03));
        QVERIFY(XTestInjector::isDown(m_probe->keyMap(), shift));
        m_probe->release(shift);
        m_probe->sync();
        QVERIFY(!anyKeyDown());
        m_service->post(tap(0x02));
        QTRY_COMPARE(m_edit->text().right(1), QStringLiteral("d"));
    }

private:
    bool anyKeyDown() const
    {
        const auto map = m_probe->keyMap();
        return std::any_of(map.begin(), map.end(), [](char byte) { return byte != 0; });
    }

    bool eventFilter(QObject*, QEvent* event)
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_A)
            m_pressModifiers << int(static_cast<QKeyEvent*>(event)->modifiers());
        return false;
    }

    QList<int> m_pressModifiers;  // of each key press on the edit

    std::unique_ptr<X11KeyboardService> m_service;
    std::unique_ptr<XTestInjector> m_probe;
    std::unique_ptr<QLineEdit> m_edit;
};

QTEST_MAIN(tst_X11Keyboard)
#include "tst_x11keyboard.moc"

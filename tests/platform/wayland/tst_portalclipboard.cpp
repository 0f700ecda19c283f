// Input Text on GNOME (headless mutter, through the test's fakeportal on mutter's private
// bus): the text goes to the clipboard of the portal's RemoteDesktop session, a native
// Wayland client pastes it, and the user's clipboard comes back, unless someone copied in
// between. Where the portal has no clipboard, the text is typed through its keyboard.
#include "actions/inputtext/textpaster.h"
#include "fakeportalprocess.h"
#include "keyprobe.h"
#include "platform/keyboard/wayland/keysymkeyboardservice.h"
#include "platform/wayland/portalkeysymsender.h"
#include "platform/wayland/portalsession.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class tst_PortalClipboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_address = qEnvironmentVariable("SYSTEMDLL_TEST_MUTTER_BUS");
        m_display = qEnvironmentVariable("SYSTEMDLL_TEST_MUTTER_DISPLAY");
        if (m_address.isEmpty() || m_display.isEmpty())
            QSKIP("no headless mutter (SYSTEMDLL_TEST_MUTTER_BUS unset; scripts/test starts one)");
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8());
        qputenv("WAYLAND_DISPLAY", m_display.toUtf8());  // a Wayland session without data control
        qputenv("SYSTEMDLL_KEYBOARD_BACKEND", "portal");
        KeyboardEventService::setInstance(std::make_unique<KeysymKeyboardService>());
        m_probe = std::make_unique<KeyProbe>(m_display);
        QVERIFY(m_probe->waitActive());
    }

    void cleanup()
    {
        KeysymSender::setInstance(nullptr);
        QDBusConnection::disconnectFromBus(m_busName);
        m_portal.reset();
    }

    void cleanupTestCase()
    {
        m_probe.reset();
        KeyboardEventService::setInstance(nullptr);
    }

    // The first paste starts the session (and waits for it), the clipboard with it.
    void pasteAndGiveBack()
    {
        const QString text = QStringLiteral("Grüße ✓\n東京");  // more than Latin-1, over lines
        const QString users = QStringLiteral("Straße");
        startPortal();
        TextPaster paster;
        m_probe->send("clear");
        copyInProbe(users.toUtf8());
        QVERIFY(m_probe->clipboardIs(users));
        QSignalSpy returned(&paster.loan(), &ClipboardLoan::returned);
        m_probe->forget();
        paster.paste(text, false);
        QVERIFY(m_session->hasClipboard());
        QVERIFY2(m_probe->waitFor([&](const QJsonObject& o) { return o["text"].toString() == text; }),
                 m_probe->transcript());
        QTRY_COMPARE(returned.count(), 1);
        QCOMPARE(returned.at(0).at(0).value<ClipboardLoan::Outcome>(), ClipboardLoan::Outcome::Fetched);
        QVERIFY(m_probe->clipboardIs(users));
    }

    // Someone copies while the text is lent: their content stays.
    void newerOwnerKept()
    {
        startPortal();
        copyInProbe("before");
        QVERIFY(m_probe->clipboardIs("before"));
        ClipboardLoan loan;
        QVERIFY(loan.prepare());
        QSignalSpy returned(&loan, &ClipboardLoan::returned);
        QVERIFY(loan.lend(QStringLiteral("lent")));  // nobody reads it
        copyInProbe("newer");  // its key goes after our selection, on the same connection
        QTRY_COMPARE_WITH_TIMEOUT(returned.count(), 1, 2 * ClipboardLoan::kTimeLimitMs);
        QCOMPARE(returned.at(0).at(0).value<ClipboardLoan::Outcome>(), ClipboardLoan::Outcome::TakenOver);
        QVERIFY(m_probe->clipboardIs("newer"));
    }

    // A portal without the clipboard: the keys type the text, what the layout has of it.
    void typedWithoutClipboard()
    {
        startPortal({QStringLiteral("noclipboard")});
        TextPaster paster;
        m_probe->send("clear");
        m_probe->forget();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no way to set the clipboard.*texts are typed"));
        paster.paste(QStringLiteral("Hi, (ü) \"you\" & ~me_2?"), false);
        QVERIFY(!m_session->hasClipboard());
        QVERIFY2(m_probe->waitFor([&](const QJsonObject& o) {
                     return o["text"].toString() == QLatin1String("Hi, () \"you\" & ~me_2?");
                 }),
                 m_probe->transcript());
    }

private:
    // A portal, and a sender on a connection of its own (a session lives as long as its
    // connection); the session starts at the first keys.
    void startPortal(const QStringList& arguments = {})
    {
        m_portal = std::make_unique<FakePortalProcess>(m_address, arguments);
        QVERIFY(m_portal->waitFor("ready"));
        QDBusConnection::disconnectFromBus(m_busName);
        m_busName = QStringLiteral("portal-clipboard-%1").arg(++m_connections);
        auto session = std::make_unique<PortalSession>(QDBusConnection::connectToBus(m_address, m_busName));
        m_session = session.get();
        KeysymSender::setInstance(std::make_unique<PortalKeysymSender>(std::move(session)));
    }

    // The client copies as a user would: the compositor takes a selection only from a
    // client that just had an input event, so a key goes to it first.
    void copyInProbe(const QByteArray& text)
    {
        m_probe->forget();
        KeyboardEventService::instance()->post({KeyEvent::press(0x35), KeyEvent::release(0x35)});  // Escape
        QVERIFY(m_probe->sawRelease(Qt::Key_Escape));
        m_probe->send("copy " + text);
    }


    QString m_address;
    QString m_display;
    QString m_busName;
    int m_connections = 0;
    QTemporaryDir m_config;
    std::unique_ptr<KeyProbe> m_probe;
    std::unique_ptr<FakePortalProcess> m_portal;
    PortalSession* m_session = nullptr;
};

QTEST_MAIN(tst_PortalClipboard)
#include "tst_portalclipboard.moc"

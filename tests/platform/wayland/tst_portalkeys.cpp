// Keys through the RemoteDesktop portal on GNOME (headless mutter, through the test's
// fakeportal on mutter's private bus): keys reach a native Wayland client, the restore
// token spares the question next time, and a refusal or a portal that leaves the bus
// gives one warning and skipped keys, never a hang.
#include "fakeportalprocess.h"
#include "keyprobe.h"
#include "platform/keyboard/wayland/keysymkeyboardservice.h"
#include "platform/wayland/packagesettings.h"
#include "platform/wayland/portalkeysymsender.h"
#include "platform/wayland/portalsession.h"

#include <QDBusConnection>
#include <QTemporaryDir>
#include <QtTest>

namespace {
KeyEventSequence chord(quint16 code, quint64 flags)
{
    return {KeyEvent::press(code).withFlags(flags), KeyEvent::release(code)};
}
}

class tst_PortalKeys : public QObject
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
        m_probe = std::make_unique<KeyProbe>(m_display);
        QVERIFY(m_probe->waitActive());
    }

    void cleanup()
    {
        KeysymSender::setInstance(nullptr);
        QDBusConnection::disconnectFromBus(m_busName);
    }

    void cleanupTestCase() { m_probe.reset(); }

    // The first session asks and keeps the token; the next one asks nothing.
    void keysReachClient()
    {
        FakePortalProcess portal(m_address);
        QVERIFY(portal.waitFor("ready"));
        for (int run = 0; run < 2; ++run) {
            PortalSession* session = useNewSession();
            m_probe->forget();
            m_service.post(chord(0x00, KeyEvent::CommandFlag | KeyEvent::ShiftFlag));
            QTRY_COMPARE(session->state(), PortalSession::State::Started);
            QCOMPARE(m_probe->modifiersOfPress(Qt::Key_A), int(Qt::ControlModifier | Qt::ShiftModifier));
            QVERIFY(m_probe->sawRelease(Qt::Key_A));
            m_probe->forget();
            m_service.post(chord(0x04, 0));
            QCOMPARE(m_probe->modifiersOfPress(Qt::Key_H), int(Qt::NoModifier));
            QCOMPARE(PackageSettings::value(QLatin1String(PortalSession::kRestoreTokenKey)),
                     QStringLiteral("fake-restore-token"));
            KeysymSender::setInstance(nullptr);
        }
        QCOMPARE(portal.values("asked"), (QVariantList{true, false}));
    }

    void refused()
    {
        PackageSettings::setValue(QLatin1String(PortalSession::kRestoreTokenKey), QString());
        FakePortalProcess portal(m_address, {QStringLiteral("refuse")});
        QVERIFY(portal.waitFor("ready"));
        PortalSession* session = useNewSession();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused in the portal's dialog"));
        m_probe->forget();
        m_service.post(chord(0x04, 0));
        QTRY_COMPARE(session->state(), PortalSession::State::Refused);
        m_service.post(chord(0x04, 0));  // no second question, no second warning
        QCOMPARE(portal.values("asked").size(), 1);
        QCOMPARE(m_probe->modifiersOfPress(Qt::Key_H, 300), -1);
    }

    void portalLeavesTheBus()
    {
        auto portal = std::make_unique<FakePortalProcess>(m_address);
        QVERIFY(portal->waitFor("ready"));
        PortalSession* session = useNewSession();
        m_service.post(chord(0x04, 0));
        QTRY_COMPARE(session->state(), PortalSession::State::Started);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the portal left the session bus"));
        portal.reset();
        QTRY_COMPARE(session->state(), PortalSession::State::Failed);
        m_service.post(chord(0x04, 0));  // dropped at once: no portal to ask
        QCOMPARE(session->state(), PortalSession::State::Failed);
    }

    void noPortal()
    {
        PortalSession* session = useNewSession();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("CreateSession failed"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("did not create a remote desktop session"));
        m_service.post(chord(0x04, 0));
        QTRY_COMPARE(session->state(), PortalSession::State::Failed);
    }

private:
    // A sender on a connection of its own: a session lives as long as its connection.
    PortalSession* useNewSession()
    {
        QDBusConnection::disconnectFromBus(m_busName);
        m_busName = QStringLiteral("portal-test-%1").arg(++m_connections);
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, m_busName);
        auto session = std::make_unique<PortalSession>(bus);
        PortalSession* raw = session.get();
        KeysymSender::setInstance(std::make_unique<PortalKeysymSender>(std::move(session)));
        return raw;
    }

    QString m_address;
    QString m_display;
    QString m_busName;
    int m_connections = 0;
    QTemporaryDir m_config;
    std::unique_ptr<KeyProbe> m_probe;
    KeysymKeyboardService m_service;
};

QTEST_MAIN(tst_PortalKeys)
#include "tst_portalkeys.moc"

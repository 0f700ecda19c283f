// The media-key service on the suite's X display and session bus, watched by a second X
// client that grabs the media keys as a desktop does and by players of the test's own.
#include "mediakeygrabber.h"
#include "mpristestplayer.h"
#include "platform/media/mediakeys.h"
#include "platform/media/mpris/mprismediakeyservice.h"
#include "platform/media/record/recordingmediakeyservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QtTest>

#include <csignal>

using MediaFunction = void (*)();
Q_DECLARE_METATYPE(MediaFunction)

namespace {

// A record as hex: subtype 8 at offset 2, then data1 = keyType << 16 | state << 8 in
// little-endian order at offset 4, zero elsewhere (48 bytes).
QString record(int keyType, int state)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "records are in the host's byte order");
    const auto hex = [](int byte) { return QString::number(byte, 16).rightJustified(2, '0'); };
    return "00 00 08 00 00 " + hex(state) + ' ' + hex(keyType) + QString(" 00").repeated(41);
}

QStringList tap(const QString& keysym)
{
    return keysym.isEmpty() ? QStringList() : QStringList{'+' + keysym, '-' + keysym};
}

// Once this returns true, every call sent on `bus` to the player before it has arrived.
bool roundTrip(const QDBusConnection& bus, const MprisTestPlayer& player)
{
    QDBusMessage get = QDBusMessage::createMethodCall(player.busName(), "/org/mpris/MediaPlayer2",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("PlaybackStatus");
    return bus.call(get).type() == QDBusMessage::ReplyMessage;
}

// Media-category messages as they come; the test's own handler still gets them.
QStringList g_mediaLog;
QtMessageHandler g_testHandler = nullptr;
void keepMediaLog(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (qstrcmp(context.category, "systemdll.platform.media") == 0)
        g_mediaLog << text;
    g_testHandler(type, context, text);
}

} // namespace

class tst_MediaKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(MediaKeyService::instance()->name(), QStringLiteral("record"));  // SYSTEMDLL_MEDIA_BACKEND
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
        QString error;
        m_grabber = MediaKeyGrabber::open(&error);
        QVERIFY2(m_grabber, qPrintable(error));
        g_testHandler = qInstallMessageHandler(keepMediaLog);
    }

    void init() { g_mediaLog.clear(); }
    void cleanupTestCase() { qInstallMessageHandler(g_testHandler); }

    void routing_data()
    {
        QTest::addColumn<MediaFunction>("post");
        QTest::addColumn<int>("keyType");
        QTest::addColumn<QString>("keysym");
        QTest::addColumn<QString>("method");  // of the player, for the player keys

        QTest::newRow("playMedia") << MediaFunction(playMedia) << 16 << "XF86AudioPlay" << "PlayPause";
        QTest::newRow("stopMedia: the player's Stop, else play/pause") << MediaFunction(stopMedia) << 16 << "XF86AudioPlay" << "Stop";
        QTest::newRow("nextMedia") << MediaFunction(nextMedia) << 17 << "XF86AudioNext" << "Next";
        QTest::newRow("previousMedia") << MediaFunction(previousMedia) << 18 << "XF86AudioPrev" << "Previous";
        QTest::newRow("volumeMute") << MediaFunction(volumeMute) << 7 << "XF86AudioMute" << "";
        QTest::newRow("volumeUp") << MediaFunction(volumeUp) << 0 << "XF86AudioRaiseVolume" << "";
        QTest::newRow("volumeDown") << MediaFunction(volumeDown) << 1 << "XF86AudioLowerVolume" << "";
        QTest::newRow("HIDPostAuxKey 255") << MediaFunction(+[] { HIDPostAuxKey(255); }) << 255 << "" << "";
    }

    // Each function: the recorder keeps each post as the key-down record then the key-up
    // record. Then through the default service. With no player on the bus every key goes
    // to X11, which is said once; so does a sequence with a lone key-up (nothing sent) and a
    // repeated key-down without its key-up (one press and release). Beside a playing player
    // and a newer paused one, the player keys become the playing one's method calls, the
    // others still go to X11. No key stays down.
    void routing()
    {
        QFETCH(MediaFunction, post);
        QFETCH(int, keyType);
        QFETCH(QString, keysym);
        QFETCH(QString, method);

        auto* recorder = new RecordingMediaKeyService;
        MediaKeyService::setInstance(std::unique_ptr<MediaKeyService>(recorder));
        post();
        post();
        QStringList posted;
        for (const AuxKeyRecord& r : recorder->records())
            posted << QString::fromLatin1(r.toByteArray().toHex(' '));
        const QString recordDown = record(keyType, 0x0A), recordUp = record(keyType, 0x0B);
        QCOMPARE(posted, QStringList({recordDown, recordUp, recordDown, recordUp}));

        MediaKeyService::setInstance(MediaKeyService::create(QString()));
        auto* service = dynamic_cast<MprisMediaKeyService*>(MediaKeyService::instance());
        QVERIFY(service);
        QCOMPARE(service->name(), QStringLiteral("mpris+x11"));
        for (int i = 0; keysym.isEmpty() && i < 4; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no X key for media key type 255"));
        post();
        const auto down = AuxKeyRecord::keyDown(quint8(keyType));
        service->post({AuxKeyRecord::keyUp(quint8(keyType)), down, down});
        QCOMPARE(m_grabber->takeAll(2 * tap(keysym).size()), tap(keysym) + tap(keysym));
        QCOMPARE(m_grabber->keysDown(), QStringList());
        const QString noPlayer = "no media player on the session bus: player keys go to x11";
        QCOMPARE(g_mediaLog.filter("player keys go to"), method.isEmpty() ? QStringList() : QStringList(noPlayer));

        MprisTestPlayer player(freshName("keys"), QStringLiteral("Playing"));
        MprisTestPlayer later(freshName("paused"), QStringLiteral("Paused"));  // newer, but the playing one wins
        QVERIFY(player.isRegistered() && later.isRegistered());
        QTRY_COMPARE(service->players().size(), qsizetype(2));
        QTRY_COMPARE(service->activePlayer(), player.busName());
        post();
        QVERIFY(roundTrip(QDBusConnection::sessionBus(), player));
        QCOMPARE(player.calls(), method.isEmpty() ? QStringList() : QStringList(method));
        const QStringList xEvents = method.isEmpty() ? tap(keysym) : QStringList();
        QCOMPARE(m_grabber->takeAll(xEvents.size()), xEvents);
        QCOMPARE(m_grabber->keysDown(), QStringList());
    }

    // A player that takes the call and never answers: the call is given up after the
    // timeout with one warning.
    void unansweredCallIsAbandoned()
    {
        MprisTestPlayer player(freshName("silent"), QStringLiteral("Playing"), false);
        QVERIFY(player.isRegistered());
        MprisMediaKeyService service(QDBusConnection::sessionBus(), std::make_unique<RecordingMediaKeyService>());
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(player.busName() + " PlayPause did not answer within \\d+ ms: abandoned"));
        service.post(auxKeyPress(MediaKeyType::kPlay));
        QTRY_COMPARE(player.calls(), QStringList{"PlayPause"});
        QTRY_COMPARE(g_mediaLog.filter(QStringLiteral("abandoned")).size(), 1);
    }

    // A bus that takes connections and never answers (its daemon stopped) costs a fresh
    // process one bounded wait, then the keys go to X11; it does not hang.
    void silentBus()
    {
        QProcess daemon;
        daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        QVERIFY(daemon.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
        QVERIFY(!address.isEmpty());
        QCOMPARE(::kill(pid_t(daemon.processId()), SIGSTOP), 0);

        QProcess press;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        env.remove("SYSTEMDLL_MEDIA_BACKEND");
        press.setProcessEnvironment(env);
        press.start(MEDIA_PRESS, QStringList{});
        const bool finished = press.waitForFinished(20000);  // a hang, not a speed limit
        ::kill(pid_t(daemon.processId()), SIGCONT);
        daemon.kill();
        daemon.waitForFinished();
        if (!finished)
            press.kill();
        QVERIFY2(finished, "the press hung on the silent bus");
        QCOMPARE(QString::fromUtf8(press.readAllStandardOutput()).trimmed(), QStringLiteral("x11"));
        QVERIFY(QString::fromUtf8(press.readAllStandardError()).contains("the session bus does not answer"));
        QCOMPARE(m_grabber->takeAll(4), tap("XF86AudioPlay") + tap("XF86AudioPlay"));
    }

private:
    // Players get names of their own: the bus may still tell of earlier ones.
    QString freshName(const QString& base) { return base + QString::number(++m_round); }

    std::unique_ptr<MediaKeyGrabber> m_grabber;
    int m_round = 0;
};

QTEST_MAIN(tst_MediaKeys)
#include "tst_mediakeys.moc"

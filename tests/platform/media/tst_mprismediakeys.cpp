// The MPRIS backend on the suite's session bus with players of the test's own, falling
// through to the X11 backend, which a second X client watches by grabbing the keys.
#include "mediakeygrabber.h"
#include "mpristestplayer.h"
#include "platform/media/mediakeys.h"
#include "platform/media/mediakeyservice.h"
#include "platform/media/mpris/mprismediakeyservice.h"
#include "platform/media/record/recordingmediakeyservice.h"
#include "platform/media/x11/x11mediakeyservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QtTest>

using MediaFunction = void (*)();
Q_DECLARE_METATYPE(MediaFunction)

namespace {

QStringList tap(const QString& keysym)
{
    return {QLatin1Char('+') + keysym, QLatin1Char('-') + keysym};
}

// A connection to nowhere: the service must treat it as "no session bus".
QDBusConnection noBus()
{
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("no bus"));
}

// A round trip to the player on the service's connection: a call the service sent
// before it has arrived once this returns true.
bool roundTrip(const QDBusConnection& bus, const MprisTestPlayer& player)
{
    QDBusMessage get = QDBusMessage::createMethodCall(player.busName(), "/org/mpris/MediaPlayer2",
                                                      "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("org.mpris.MediaPlayer2.Player") << QStringLiteral("PlaybackStatus");
    const QDBusPendingCall call = bus.asyncCall(get);
    return QTest::qWaitFor([&] { return call.isFinished(); }) && !call.isError();
}

// Media-category messages, seen as they come; the test's own handler still gets them.
QStringList g_mediaLog;
QtMessageHandler g_testHandler = nullptr;
void keepMediaLog(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (qstrcmp(context.category, "systemdll.platform.media") == 0)
        g_mediaLog << text;
    g_testHandler(type, context, text);
}

} // namespace

class tst_MprisMediaKeys : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void selection_data();
    void selection();
    void routing_data();
    void routing();
    void choosesPlayer_data();
    void choosesPlayer();
    void unansweredCallIsAbandoned();
    void cleanupTestCase();

private:
    // Players of each row get names of their own: the bus still tells of earlier ones.
    QString freshName(const QString& base) { return base + QString::number(++m_round); }

    std::unique_ptr<MediaKeyGrabber> m_grabber;
    int m_round = 0;
};

void tst_MprisMediaKeys::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !QDBusConnection::sessionBus().isConnected())
        QSKIP("needs an X server and a session bus");
    QString error;
    m_grabber = MediaKeyGrabber::open(&error);
    QVERIFY2(m_grabber, qPrintable(error));
    g_testHandler = qInstallMessageHandler(keepMediaLog);
}

void tst_MprisMediaKeys::init()
{
    g_mediaLog.clear();
}

void tst_MprisMediaKeys::cleanupTestCase()
{
    MediaKeyService::setInstance(nullptr);
    if (g_testHandler)
        qInstallMessageHandler(g_testHandler);
}

void tst_MprisMediaKeys::selection_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("name");

    QTest::newRow("record") << "record" << "record";
    QTest::newRow("x11") << "x11" << "x11";
    QTest::newRow("mpris") << "mpris" << "mpris+x11";
    QTest::newRow("default with bus and display") << "" << "mpris+x11";
    QTest::newRow("unknown name: default") << "winamp" << "mpris+x11";
}

void tst_MprisMediaKeys::selection()
{
    QFETCH(QString, backend);
    QFETCH(QString, name);
    if (backend == QLatin1String("winamp"))
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unknown media backend \"winamp\""));
    QCOMPARE(MediaKeyService::create(backend)->name(), name);
}

void tst_MprisMediaKeys::routing_data()
{
    QTest::addColumn<QString>("bus");  // "player", "empty" or "none"
    QTest::addColumn<MediaFunction>("post");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("xEvents");
    QTest::addColumn<QString>("logLine");

    const QStringList none;
    QTest::newRow("play/pause to the player") << "player" << MediaFunction(playMedia) << "PlayPause" << none << "";
    QTest::newRow("stop to the player") << "player" << MediaFunction(stopMedia) << "PlayPause" << none << "";
    QTest::newRow("next to the player") << "player" << MediaFunction(nextMedia) << "Next" << none << "";
    QTest::newRow("previous to the player") << "player" << MediaFunction(previousMedia) << "Previous" << none << "";
    QTest::newRow("mute to X11 beside a player")
        << "player" << MediaFunction(volumeMute) << "" << tap("XF86AudioMute") << "";
    QTest::newRow("volume up to X11 beside a player")
        << "player" << MediaFunction(volumeUp) << "" << tap("XF86AudioRaiseVolume") << "";
    QTest::newRow("volume down to X11 beside a player")
        << "player" << MediaFunction(volumeDown) << "" << tap("XF86AudioLowerVolume") << "";
    QTest::newRow("play/pause to X11 without a player")
        << "empty" << MediaFunction(playMedia) << "" << tap("XF86AudioPlay") << "no media player on the session bus";
    QTest::newRow("previous to X11 without a player")
        << "empty" << MediaFunction(previousMedia) << "" << tap("XF86AudioPrev") << "no media player on the session bus";
    QTest::newRow("play/pause to X11 without a bus")
        << "none" << MediaFunction(playMedia) << "" << tap("XF86AudioPlay") << "no session bus";
    QTest::newRow("volume up to X11 without a bus")
        << "none" << MediaFunction(volumeUp) << "" << tap("XF86AudioRaiseVolume") << "";
}

void tst_MprisMediaKeys::routing()
{
    QFETCH(QString, bus);
    QFETCH(MediaFunction, post);
    QFETCH(QString, method);
    QFETCH(QStringList, xEvents);
    QFETCH(QString, logLine);

    std::unique_ptr<MprisTestPlayer> player;
    if (bus == QLatin1String("player")) {
        player = std::make_unique<MprisTestPlayer>(freshName("routing"), QStringLiteral("Playing"));
        QVERIFY(player->isRegistered());
    }
    const QDBusConnection connection = bus == QLatin1String("none") ? noBus() : QDBusConnection::sessionBus();
    auto service = std::make_unique<MprisMediaKeyService>(connection, X11MediaKeyService::open());
    QCOMPARE(service->activePlayer(), player ? player->busName() : QString());
    MediaKeyService::setInstance(std::move(service));

    post();
    if (player) {
        QTRY_COMPARE(player->calls(), method.isEmpty() ? QStringList() : QStringList(method));
        QVERIFY(roundTrip(connection, *player));
        QCOMPARE(player->calls(), method.isEmpty() ? QStringList() : QStringList(method));
    }
    QCOMPARE(m_grabber->take(xEvents.size()), xEvents);
    QCOMPARE(m_grabber->takeDelivered(), QStringList());
    QCOMPARE(m_grabber->keysDown(), QStringList());
    QCOMPARE(g_mediaLog.filter(QStringLiteral("player keys go to x11")).size(), logLine.isEmpty() ? 0 : 1);
    if (!logLine.isEmpty())
        QVERIFY2(g_mediaLog.filter(logLine).size() == 1, qPrintable(g_mediaLog.join('\n')));

    // A second press takes the same way without saying so again.
    post();
    QCOMPARE(m_grabber->take(xEvents.size()), xEvents);
    QCOMPARE(g_mediaLog.filter(QStringLiteral("player keys go to x11")).size(), logLine.isEmpty() ? 0 : 1);
    MediaKeyService::setInstance(nullptr);
}

void tst_MprisMediaKeys::choosesPlayer_data()
{
    QTest::addColumn<QStringList>("players");  // "name:status", in the order they come
    QTest::addColumn<bool>("serviceFirst");    // the service follows their arrival
    QTest::addColumn<QString>("change");       // "name:status" or "name:quit", after all came
    QTest::addColumn<QString>("expected");

    QTest::newRow("found at start: the playing one")
        << QStringList{"a:Stopped", "b:Playing", "c:Paused"} << false << "" << "b";
    QTest::newRow("found at start: the latest when none plays")
        << QStringList{"a:Paused", "b:Stopped"} << false << "" << "b";
    QTest::newRow("appearing: the playing one") << QStringList{"a:Playing", "b:Paused"} << true << "" << "a";
    QTest::newRow("appearing: the latest when none plays")
        << QStringList{"a:Stopped", "b:Paused"} << true << "" << "b";
    QTest::newRow("one starts playing") << QStringList{"a:Paused", "b:Paused"} << true << "a:Playing" << "a";
    QTest::newRow("found one starts playing")
        << QStringList{"a:Paused", "b:Paused"} << false << "a:Playing" << "a";
    QTest::newRow("the playing one quits") << QStringList{"a:Playing", "b:Paused"} << true << "a:quit" << "b";
}

void tst_MprisMediaKeys::choosesPlayer()
{
    QFETCH(QStringList, players);
    QFETCH(bool, serviceFirst);
    QFETCH(QString, change);
    QFETCH(QString, expected);

    std::unique_ptr<MprisMediaKeyService> service;
    auto startService = [&] {
        service = std::make_unique<MprisMediaKeyService>(QDBusConnection::sessionBus(),
                                                         std::make_unique<RecordingMediaKeyService>());
    };
    if (serviceFirst)
        startService();
    std::map<QString, std::unique_ptr<MprisTestPlayer>> running;
    const QString round = freshName("choice");
    for (const QString& entry : players) {
        const QString name = entry.section(':', 0, 0);
        running[name] = std::make_unique<MprisTestPlayer>(round + '_' + name, entry.section(':', 1));
        QVERIFY(running[name]->isRegistered());
    }
    if (!serviceFirst)
        startService();
    QTRY_COMPARE(service->players().size(), players.size());

    const QString changed = change.section(':', 0, 0);
    if (change.endsWith(QLatin1String(":quit"))) {
        running.erase(changed);
        QTRY_COMPARE(service->players().size(), players.size() - 1);
    } else if (!change.isEmpty()) {
        running[changed]->setPlaybackStatus(change.section(':', 1));
        QTRY_COMPARE(service->activePlayer(), running[changed]->busName());
    }
    QCOMPARE(service->activePlayer(), running[expected]->busName());

    service->post(auxKeyPress(MediaKeyType::kNext));
    QTRY_COMPARE(running[expected]->calls(), QStringList{"Next"});
    for (const auto& [name, player] : running) {
        QVERIFY(roundTrip(QDBusConnection::sessionBus(), *player));
        QCOMPARE(player->calls().size(), name == expected ? 1 : 0);
    }
}

// A player that takes the call and never answers: the post returns at once, and the
// call is given up after the timeout with one warning.
void tst_MprisMediaKeys::unansweredCallIsAbandoned()
{
    MprisTestPlayer player(QStringLiteral("silent"), QStringLiteral("Playing"));
    QVERIFY(player.isRegistered());
    player.setAnswering(false);
    MprisMediaKeyService service(QDBusConnection::sessionBus(), std::make_unique<RecordingMediaKeyService>());

    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression("org.mpris.MediaPlayer2.silent PlayPause did not answer within \\d+ ms: abandoned"));
    service.post(auxKeyPress(MediaKeyType::kPlay));
    QTRY_COMPARE(player.calls(), QStringList{"PlayPause"});
    QTRY_COMPARE(g_mediaLog.filter(QStringLiteral("abandoned")).size(), 1);
}

QTEST_MAIN(tst_MprisMediaKeys)
#include "tst_mprismediakeys.moc"

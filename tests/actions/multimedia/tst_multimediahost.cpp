// System Multimedia through the built library, as a host loads it: each media action
// reaches a grabbing X client and a media player on the suite's session bus, and the
// reference host prints what a press sends.
#include "actioninterface.h"
#include "mediakeygrabber.h"
#include "mpristestplayer.h"
#include "packageinterface.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kCategory = QStringLiteral("com.corvane.system.multimedia");
}

class tst_MultimediaHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_package; }
    void entries_data();
    void entries();
    void hostPrintsMediaKeys();

private:
    void trigger(int index);

    QLibrary m_library{QStringLiteral(SYSTEMDLL_LIBRARY)};
    host::PackageInterface* m_package = nullptr;
    std::unique_ptr<MediaKeyGrabber> m_grabber;
    std::unique_ptr<MprisTestPlayer> m_player;
};

void tst_MultimediaHost::initTestCase()
{
    QVERIFY2(qEnvironmentVariableIsEmpty("SYSTEMDLL_MEDIA_BACKEND"), "the platform's own media backend is tested");
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "needs a session bus");
    QString error;
    m_grabber = MediaKeyGrabber::open(&error);
    QVERIFY2(m_grabber, qPrintable(error));
    QVERIFY2(m_library.load(), qPrintable(m_library.errorString()));
    auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    QVERIFY(instance);
    m_package = instance();
    QVERIFY(m_package->init({{"port", 1}, {"configDir", QDir::tempPath()}, {"cloudType", 0}}));
}


// A key set to entry `index`, triggered the way the host does it.
void tst_MultimediaHost::trigger(int index)
{
    std::unique_ptr<host::ActionInterface> action(m_package->makeWidget(kCategory, 0));
    QVERIFY(action);
    QVERIFY(action->init("key", {{"payload", QJsonObject{{"version", 1}, {"MultimediaIndex", index}}}}));
    QJsonObject result;
    for (const char* type : {"tov.ky.plugin.event.key.down", "tov.ky.plugin.event.app.triggered",
                             "tov.ky.plugin.event.key.up"})
        action->eventReceived({{"target", "key"}, {"event", QJsonObject{{"type", type}}}}, result);
}

void tst_MultimediaHost::entries_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("keysym");  // what a desktop's key grab sees
    QTest::addColumn<QString>("method");  // what a playing player gets instead, if anything
    // One player key and one other: every entry's key is checked in-process, every
    // function's routing by the media-key tests.
    QTest::newRow("stop") << 1 << "XF86AudioPlay" << "PlayPause";
    QTest::newRow("volume up") << 5 << "XF86AudioRaiseVolume" << "";
}

// Without a player every key is an X key; beside a playing player the player keys are
// its method calls and the others stay X keys.
void tst_MultimediaHost::entries()
{
    QFETCH(int, index);
    QFETCH(QString, keysym);
    QFETCH(QString, method);
    const QStringList tap{'+' + keysym, '-' + keysym};

    m_player.reset();
    QTest::qWait(300);  // the library's player tracker sees names come and go
    trigger(index);
    QCOMPARE(m_grabber->takeAll(2), tap);

    m_player = std::make_unique<MprisTestPlayer>(QStringLiteral("entry%1").arg(index), QStringLiteral("Playing"));
    QVERIFY(m_player->isRegistered());
    QTest::qWait(300);
    trigger(index);
    if (!method.isEmpty()) {
        QVERIFY(m_player->waitForCall(5000) >= 0);
        QCOMPARE(m_player->calls(), QStringList{method});
    }
    QCOMPARE(m_grabber->takeAll(method.isEmpty() ? 2 : 0), method.isEmpty() ? tap : QStringList());
    QCOMPARE(m_grabber->keysDown(), QStringList());
}

// The reference host prints each media key a press sends, down and up.
void tst_MultimediaHost::hostPrintsMediaKeys()
{
    QTemporaryDir dir;
    QFile script(dir.filePath("steps.json"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QJsonDocument(QJsonArray{QJsonObject{{"do", "assign"}, {"slot", 2}, {"category", kCategory},
                                                      {"payload", QJsonObject{{"version", 1}, {"MultimediaIndex", 5}}}},
                                          QJsonObject{{"do", "press"}, {"slot", 2}}}).toJson());
    script.close();

    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SYSTEMDLL_MEDIA_BACKEND", "record");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(VANTA_HOST), {"--headless", "--no-launch", "--keys", "record", "--config-dir", dir.path(),
                                            "--library", QStringLiteral(SYSTEMDLL_LIBRARY), "--script", script.fileName()});
    QVERIFY(host.waitForFinished(120000));
    QCOMPARE(host.exitCode(), 0);
    QJsonArray media;
    for (const QByteArray& line : host.readAllStandardOutput().split('\n'))
        if (QJsonDocument::fromJson(line)["kind"] == QLatin1String("media"))
            media << QJsonDocument::fromJson(line).object();
    QJsonObject volumeUp{{"kind", "media"}, {"key", "volumeUp"}, {"keyType", 0}, {"down", true}};
    QJsonArray expected{volumeUp};
    volumeUp["down"] = false;
    QCOMPARE(media, expected << volumeUp);
}

QTEST_MAIN(tst_MultimediaHost)
#include "tst_multimediahost.moc"
